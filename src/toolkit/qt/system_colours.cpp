#include "toolkit/qt/system_colours.h"

namespace tervalin {

QColor resolveColour(Colour colour, const QPalette& palette) {
    if (!isSystemColour(colour))
        return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
    switch (colour & 0xFF) {
    case 6: // window frame
        return palette.color(QPalette::Active, QPalette::Shadow);
    case 7: // menu text
        return palette.color(QPalette::Active, QPalette::ButtonText);
    case 9: // active title-bar text
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    case 8: // window text
    default:
        return palette.color(QPalette::Active, QPalette::WindowText);
    }
}

} // namespace tervalin
