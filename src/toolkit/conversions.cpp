#include "toolkit/conversions.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace tervalin {

std::int16_t CInt(double value) {
    if (std::isnan(value))
        return 0;
    // nearbyint rounds halves to even in the default rounding mode.
    return static_cast<std::int16_t>(std::clamp(std::nearbyint(value), -32768.0, 32767.0));
}

QString Format(int number, QStringView pattern) {
    if (pattern != u"0#")
        throw std::invalid_argument("Format knows only the pattern 0#");
    const QString digits = QString::number(std::abs(number)).rightJustified(2, u'0');
    return number < 0 ? u'-' + digits : digits;
}

} // namespace tervalin
