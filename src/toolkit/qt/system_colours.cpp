#include "toolkit/qt/system_colours.h"

namespace tervalin {

// Dark and light as seen against the light-grey ground (lightness 0.75).
bool isDark(const QColor& colour) {
    return colour.lightnessF() <= 0.35;
}
bool isLight(const QColor& colour) {
    return colour.lightnessF() >= 0.85;
}

QColor darkRole(const QPalette& palette, QPalette::ColorRole role) {
    for (const QPalette::ColorRole r : {role, QPalette::WindowText, QPalette::Text}) {
        const QColor c = palette.color(QPalette::Active, r);
        if (isDark(c))
            return c;
    }
    return Qt::black;
}

namespace {

QColor lightRole(const QPalette& palette, QPalette::ColorRole role) {
    for (const QPalette::ColorRole r : {role, QPalette::Base, QPalette::Light}) {
        const QColor c = palette.color(QPalette::Active, r);
        if (isLight(c))
            return c;
    }
    return Qt::white;
}

} // namespace

QColor resolveColour(Colour colour, const QPalette& palette) {
    if (!isSystemColour(colour))
        return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
    switch (colour & 0xFF) {
    case 6: // window frame
        return darkRole(palette, QPalette::Shadow);
    case 7: // menu text
        return darkRole(palette, QPalette::ButtonText);
    case 9: // active title-bar text
        return lightRole(palette, QPalette::HighlightedText);
    case 8: // window text
    default:
        return darkRole(palette, QPalette::WindowText);
    }
}

} // namespace tervalin
