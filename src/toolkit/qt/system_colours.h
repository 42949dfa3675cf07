#pragma once

#include "window/description.h"

#include <QColor>
#include <QPalette>

namespace tervalin {

// A colour of the window description as Qt paints it: 0x00BBGGRR values as
// they are, system colours from the palette.
// The scene's ground is always light grey, whatever the desktop's scheme,
// so the dark system colours (6 window frame, 7 menu text, 8 window text)
// must come out dark and 9 (active title-bar text) light, or road edges,
// rails and the centre line would vanish under a dark or pale scheme. The
// palette's colour is taken where it is dark (or light) enough; otherwise
// the palette's window text (or its base), and black (or white) as the last
// resort.
QColor resolveColour(Colour colour, const QPalette& palette);

// The palette's colour for `role` where it is dark, else the first dark one
// of window text and black: for text on the task text's light ground.
QColor darkRole(const QPalette& palette, QPalette::ColorRole role);

bool isDark(const QColor& colour);
bool isLight(const QColor& colour);

} // namespace tervalin
