#pragma once

#include "window/description.h"

#include <QColor>
#include <QPalette>

namespace tervalin {

// A colour of the window description as Qt paints it: 0x00BBGGRR values as
// they are, system colours from the palette. The scheme's dark colours (6
// window frame, 7 menu text, 8 window text) come from the palette's text
// colours; 9 (active title-bar text) from its highlighted-text colour, which
// is light under every usual scheme.
QColor resolveColour(Colour colour, const QPalette& palette);

} // namespace tervalin
