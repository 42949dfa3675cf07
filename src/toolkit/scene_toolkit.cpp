#include "toolkit/scene_toolkit.h"

#include "toolkit/conversions.h"
#include "window/description.h"

namespace tervalin {

SceneToolkit::SceneToolkit() {
    for (const ShapeDesc& s : mainWindow().shapes)
        shapes_[static_cast<int>(s.id)] = {float(s.left), float(s.top), float(s.width),
                                           float(s.height)};
}

void SceneToolkit::set(Shape shape, float Geometry::*field, float value) {
    Geometry& g = shapes_[static_cast<int>(shape)];
    if (g.*field == value)
        return;
    const QRectF before(g.left, g.top, g.width, g.height);
    g.*field = value;
    sceneChanged(before.united(QRectF(g.left, g.top, g.width, g.height)));
}

void SceneToolkit::setLeft(Shape shape, float value) {
    set(shape, &Geometry::left, value);
}
void SceneToolkit::setTop(Shape shape, float value) {
    set(shape, &Geometry::top, value);
}
void SceneToolkit::setWidth(Shape shape, float value) {
    set(shape, &Geometry::width, value);
}
void SceneToolkit::setHeight(Shape shape, float value) {
    set(shape, &Geometry::height, value);
}

void SceneToolkit::onClick(Control button, Handler handler) {
    clicks_[button] = std::move(handler);
}

void SceneToolkit::click(Control button) {
    const auto handler = clicks_.find(button);
    if (ended_ || handler == clicks_.end() || running_.contains(button) || !takesClicks(button))
        return;
    running_.insert(button);
    handler->second();
    running_.erase(button);
}

void SceneToolkit::tick() {
    if (!ended_ && tick_)
        tick_();
}

void SceneToolkit::MsgBox(const QString& text) {
    if (!ended_)
        showMessage(text);
}

void SceneToolkit::Show() {
    if (!ended_)
        raiseWindow();
}

void SceneToolkit::End() {
    if (ended_)
        return;
    ended_ = true;
    endProgram();
}

void SceneToolkit::Line(QPointF from, QPointF to) {
    surface_.line(from, to);
    sceneChanged(QRectF(from, to).normalized());
}

void SceneToolkit::Print(int number) {
    surface_.print(printedNumber(number));
    sceneChanged({});
}

void SceneToolkit::Cls() {
    surface_.clear();
    sceneChanged({});
}

} // namespace tervalin
