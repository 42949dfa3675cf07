#include "toolkit/scene_toolkit.h"

#include "toolkit/conversions.h"
#include "window/description.h"

namespace tervalin {

SceneToolkit::SceneToolkit() {
    for (const ShapeDesc& s : mainWindow().shapes)
        shapes_[static_cast<int>(s.id)] = {float(s.left), float(s.top), float(s.width),
                                           float(s.height)};
}

void SceneToolkit::set(Shape shape, float Geometry::* field, float value) {
    Geometry& g = shapes_[static_cast<int>(shape)];
    if (g.*field == value)
        return;
    const QRectF before(g.left, g.top, g.width, g.height);
    g.*field = value;
    sceneChanged(before.united(QRectF(g.left, g.top, g.width, g.height)));
}

void SceneToolkit::setLeft(Shape shape, float value) { set(shape, &Geometry::left, value); }
void SceneToolkit::setTop(Shape shape, float value) { set(shape, &Geometry::top, value); }
void SceneToolkit::setWidth(Shape shape, float value) { set(shape, &Geometry::width, value); }
void SceneToolkit::setHeight(Shape shape, float value) { set(shape, &Geometry::height, value); }

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
