#pragma once

#include "toolkit/drawing_surface.h"
#include "toolkit/toolkit.h"

#include <QRectF>

#include <array>

namespace tervalin {

// The part of the toolkit that both implementations share: the vehicles'
// geometry in twips and the window's drawing surface. A subclass learns of
// every change through sceneChanged() and repaints what it must.
class SceneToolkit : public Toolkit {
public:
    struct Geometry {
        float left, top, width, height;
        bool operator==(const Geometry&) const = default;
    };

    SceneToolkit();

    float Left(Shape shape) const override { return at(shape).left; }
    float Top(Shape shape) const override { return at(shape).top; }
    float Width(Shape shape) const override { return at(shape).width; }
    float Height(Shape shape) const override { return at(shape).height; }
    void setLeft(Shape shape, float value) override;
    void setTop(Shape shape, float value) override;
    void setWidth(Shape shape, float value) override;
    void setHeight(Shape shape, float value) override;

    void Line(QPointF from, QPointF to) override;
    void Print(int number) override;
    void Cls() override;

    const Geometry& geometry(Shape shape) const { return at(shape); }
    const DrawingSurface& surface() const { return surface_; }

protected:
    // Called after a shape has moved or the drawing surface has changed, with
    // the area in twips that needs repainting (a null rectangle: all of it).
    // The area covers the geometry only; strokes reach a little further.
    virtual void sceneChanged(const QRectF& dirty) { (void)dirty; }

private:
    const Geometry& at(Shape shape) const { return shapes_[static_cast<int>(shape)]; }
    void set(Shape shape, float Geometry::* field, float value);

    std::array<Geometry, kShapeCount> shapes_;
    DrawingSurface surface_;
};

} // namespace tervalin
