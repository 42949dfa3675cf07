#pragma once

#include <QString>

#include <cstdint>

namespace tervalin {

// Conversion to a 16-bit integer: to the nearest whole number, a value
// exactly halfway going to the even neighbour. A value outside
// -32768..32767 (infinities included) is clamped to the nearer end of the
// range; NaN gives 0.
std::int16_t CInt(double value);

// A number as text by the pattern "0#": at least two digits, so 4 gives
// "04" and 0 gives "00".
QString Format(int number, QStringView pattern);

} // namespace tervalin
