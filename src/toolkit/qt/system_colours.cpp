#include "toolkit/qt/system_colours.h"

namespace tervalin {

// Dark and light as seen against the light-grey ground (lightness 0.75).
bool isDark(const QColor& colour) {
    return colour.lightnessF() <= 0.35;
}
bool isLight(const QColor& colour) {
    return colour.lightnessF() >= 0.85;
}

namespace {

// The first of the roles whose colour passes the test, else the last resort.
QColor firstOf(const QPalette& palette, std::initializer_list<QPalette::ColorRole> roles,
               bool (*passes)(const QColor&), QColor lastResort) {
    for (const QPalette::ColorRole r : roles)
        if (passes(palette.color(QPalette::Active, r)))
            return palette.color(QPalette::Active, r);
    return lastResort;
}

QColor lightRole(const QPalette& palette, QPalette::ColorRole role) {
    return firstOf(palette, {role, QPalette::Base, QPalette::Light}, isLight, Qt::white);
}

} // namespace

QColor darkRole(const QPalette& palette, QPalette::ColorRole role) {
    return firstOf(palette, {role, QPalette::WindowText, QPalette::Text}, isDark, Qt::black);
}

QColor resolveColour(Colour colour, const QPalette& palette) {
    if ((colour & 0x80000000u) == 0) // a plain colour, not a system one
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
