#pragma once

#include "window/controls.h"

#include <QPointF>
#include <QString>

#include <functional>

namespace tervalin {

// The window toolkit as the handlers see it: control properties, the window's
// drawing surface, the message box, event dispatch, the clock and the end of
// the program. Coordinates are twips in single precision, from the top-left
// corner of the window's client area.
//
// Two implementations exist: QtToolkit drives real widgets, SimToolkit runs
// on a virtual clock with scripted user input for tests.
class Toolkit {
public:
    using Handler = std::function<void()>;

    virtual ~Toolkit() = default;

    // Event wiring: the handler runs once per click of the button, and on
    // every tick of Timer1.
    virtual void onClick(Control button, Handler handler) = 0;
    virtual void onTick(Handler handler) = 0;

    // Geometry of a shape; a write moves or resizes it.
    virtual float Left(Shape shape) const = 0;
    virtual float Top(Shape shape) const = 0;
    virtual float Width(Shape shape) const = 0;
    virtual float Height(Shape shape) const = 0;
    virtual void setLeft(Shape shape, float value) = 0;
    virtual void setTop(Shape shape, float value) = 0;
    virtual void setWidth(Shape shape, float value) = 0;
    virtual void setHeight(Shape shape, float value) = 0;

    // Buttons, labels and text boxes.
    virtual void setVisible(Control control, bool visible) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;
    virtual QString Text(Control textBox) const = 0;
    virtual void setText(Control textBox, const QString& text) = 0;
    // Gives the box the keyboard focus; on a hidden or disabled box it does nothing.
    virtual void SetFocus(Control textBox) = 0;

    // The window's own drawing surface. Line draws from `from` to `to` in the
    // window's drawing width and foreground colour and leaves the drawing
    // position at `to`; Print writes a number there (a positive one after a
    // blank for its sign); Cls erases both and resets the drawing position.
    virtual void Line(QPointF from, QPointF to) = 0;
    virtual void Print(int number) = 0;
    virtual void Cls() = 0;
    // Brings the window to the front.
    virtual void Show() = 0;

    // A message box titled with the application title, OK button only, no
    // icon; returns when the user has closed it.
    virtual void MsgBox(const QString& text) = 0;

    // Runs the events that are pending now, then returns.
    virtual void DoEvents() = 0;
    // Runs pending events; when there are none, sleeps until the next event
    // arrives or `deadline` (on the Timer clock) has come, whichever is first.
    virtual void WaitEvents(double deadline) = 0;
    // Seconds on a monotonic clock.
    virtual double Timer() const = 0;

    // Ends the program: no handler runs after it. Handlers that loop check
    // Ended() after every wait and unwind at once.
    virtual void End() = 0;
    virtual bool Ended() const = 0;
};

} // namespace tervalin
