#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

namespace tervalin {

// The number at the start of a text, as a double.
// Blanks, tabs and line feeds (U+0020, U+0009, U+000A) are skipped wherever
// they stand, so "1 2" reads 12 and "- 3" reads -3; any other character,
// carriage returns and non-breaking spaces included, is read as it is.
// A decimal number is an optional sign, digits with "." as the only decimal
// point, and an optional exponent: E or D in either case, an optional sign
// and digits. An exponent letter that no digit follows is not read ("2e"
// reads 2). "&H" and "&O" (either case) at the start read the hexadecimal or
// octal digits after them as the non-negative number they write: "&HFFFF"
// reads 65535, never a negative 16-bit pattern.
// Reading stops at the first character that cannot continue the number;
// only the ASCII digits are digits. A text with no number reads 0.
// The reading takes time and memory linear in the text's length, for texts
// of any size. Numbers are correctly rounded; one too large for a double
// reads as an infinity of its sign, one too small as a zero of its sign.
// Never NaN.
double Val(QStringView text);

// Conversion to a 16-bit integer: to the nearest whole number, a value
// exactly halfway going to the even neighbour. A value outside
// -32768..32767 (infinities included) is clamped to the nearer end of the
// range; NaN gives 0.
std::int16_t CInt(double value);

// A number as text by the pattern "0#": at least two digits, so 4 gives
// "04" and 0 gives "00".
QString Format(int number, QStringView pattern);

} // namespace tervalin
