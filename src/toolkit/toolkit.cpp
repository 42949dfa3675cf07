#include "toolkit/toolkit.h"

#include "toolkit/conversions.h"
#include "window/description.h"

namespace tervalin {

Toolkit::Toolkit() {
    for (const ShapeDesc& s : mainWindow().shapes)
        shapes_[static_cast<int>(s.id)] = {float(s.left), float(s.top), float(s.width),
                                           float(s.height)};
}

void Toolkit::set(Shape shape, float Geometry::*field, float value) {
    Geometry& g = shapes_[static_cast<int>(shape)];
    if (g.*field == value)
        return;
    const QRectF before(g.left, g.top, g.width, g.height);
    g.*field = value;
    sceneChanged(before.united(QRectF(g.left, g.top, g.width, g.height)));
}

void Toolkit::click(Control button) {
    const auto handler = clicks_.find(button);
    if (ended_ || handler == clicks_.end() || running_.contains(button) || !takesClicks(button))
        return;
    running_.insert(button);
    handler->second();
    running_.erase(button);
}

void Toolkit::tick() {
    if (!ended_ && tick_)
        tick_();
}

void Toolkit::MsgBox(const QString& text) {
    if (!ended_)
        showMessage(text);
}

void Toolkit::Show() {
    if (!ended_)
        raiseWindow();
}

void Toolkit::End() {
    if (ended_)
        return;
    ended_ = true;
    endProgram();
}

void Toolkit::Line(QPointF from, QPointF to) {
    surface_.line(from, to);
    sceneChanged(QRectF(from, to).normalized());
}

void Toolkit::Print(int number) {
    surface_.print(printedNumber(number));
    sceneChanged({});
}

void Toolkit::Cls() {
    surface_.clear();
    sceneChanged({});
}

} // namespace tervalin
