#include "toolkit/drawing_surface.h"

namespace tervalin {

void DrawingSurface::line(QPointF from, QPointF to) {
    items_.push_back({Item::Kind::Line, from, to, {}});
    position_ = to;
}

// The text stands with its top-left corner at the drawing position, which
// stays where it was: nothing the window draws depends on it afterwards,
// since every line has an explicit start point.
void DrawingSurface::print(const QString& text) {
    items_.push_back({Item::Kind::Text, position_, position_, text});
}

void DrawingSurface::clear() {
    items_.clear();
    position_ = {};
}

} // namespace tervalin
