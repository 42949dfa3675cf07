#pragma once

#include "window/description.h"

#include <QFont>

namespace tervalin {

// Maps the window's font faces to metric-compatible ones where the desktop
// lacks them: "Times New Roman" to Liberation Serif, "MS Sans Serif" to
// Liberation Sans or DejaVu Sans, never to a monospace face; adds the fonts
// a build carries. Call once, after the application object exists.
void installFontSubstitutes();

QFont toQFont(const FontDesc& font);

} // namespace tervalin
