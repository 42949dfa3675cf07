#include "toolkit/conversions.h"

#include <cfenv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace tervalin {

std::int16_t CInt(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double lo = std::numeric_limits<std::int16_t>::min();
    constexpr double hi = std::numeric_limits<std::int16_t>::max();
    // nearbyint rounds halves to even in the default rounding mode.
    const double rounded = std::nearbyint(value);
    if (rounded < lo)
        return std::numeric_limits<std::int16_t>::min();
    if (rounded > hi)
        return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(rounded);
}

QString Format(int number, QStringView pattern) {
    if (pattern != u"0#")
        throw std::invalid_argument("Format knows only the pattern 0#");
    const QString digits = QString::number(std::abs(number)).rightJustified(2, u'0');
    return number < 0 ? u'-' + digits : digits;
}

} // namespace tervalin
