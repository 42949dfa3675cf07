#pragma once

#include "toolkit/drawing_surface.h"
#include "toolkit/toolkit.h"

#include <QRectF>

#include <array>
#include <map>
#include <set>

namespace tervalin {

// The part of the toolkit that both implementations share: the vehicles'
// geometry in twips, the window's drawing surface, and the rules by which
// clicks, ticks and the end of the program reach the handlers. A subclass
// learns of every scene change through sceneChanged() and repaints what it
// must; it reports user clicks and timer ticks through click() and tick().
class SceneToolkit : public Toolkit {
public:
    struct Geometry {
        float left, top, width, height;
        bool operator==(const Geometry&) const = default;
    };

    SceneToolkit();

    void onClick(Control button, Handler handler) final;
    void onTick(Handler handler) final { tick_ = std::move(handler); }
    // A message box and a request to show the window do nothing once the
    // program has ended: the window is gone for good.
    void MsgBox(const QString& text) final;
    void Show() final;
    void End() final;
    bool Ended() const final { return ended_; }

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
    // A click of the button. Its handler runs unless the program has ended,
    // the button cannot take the click (hidden, disabled, or a message box
    // in the way), or its handler is still running: a click queued behind
    // another one never starts a handler inside its own earlier run.
    void click(Control button);
    // A tick of Timer1: its handler runs unless the program has ended.
    void tick();
    bool hasTickHandler() const { return bool(tick_); }

    // Whether the button is there to be clicked: shown, enabled, and no
    // message box open over the window.
    virtual bool takesClicks(Control button) const = 0;
    virtual void showMessage(const QString& text) = 0;
    virtual void raiseWindow() = 0;
    // Called once, when the program ends: stop the timer, put the window
    // away, leave the event loop.
    virtual void endProgram() = 0;

    // Called after a shape has moved or the drawing surface has changed, with
    // the area in twips that needs repainting (a null rectangle: all of it).
    // The area covers the geometry only; strokes reach a little further.
    virtual void sceneChanged(const QRectF& dirty) { (void)dirty; }

private:
    const Geometry& at(Shape shape) const { return shapes_[static_cast<int>(shape)]; }
    void set(Shape shape, float Geometry::*field, float value);

    std::array<Geometry, kShapeCount> shapes_;
    DrawingSurface surface_;
    std::map<Control, Handler> clicks_;
    std::set<Control> running_; // buttons whose click handler is running
    Handler tick_;
    bool ended_ = false;
};

} // namespace tervalin
