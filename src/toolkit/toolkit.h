#pragma once

#include "window/controls.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <array>
#include <functional>
#include <map>
#include <set>
#include <vector>

namespace tervalin {

// What Line and Print have drawn on the window's own surface, kept as a
// display list so that the drawing survives being covered and uncovered.
// Points are in twips.
struct DrawingSurface {
    struct Item {
        enum class Kind { Line, Text };
        Kind kind;
        QPointF from; // a line's start, or the top-left corner of a text
        QPointF to;   // a line's end; unused for text
        QString text; // a text's characters; empty for a line

        bool operator==(const Item&) const = default;
    };

    std::vector<Item> items;
    QPointF position; // the drawing position
};

// What the answer box takes of a text typed or pasted into it: everything
// but control characters (C0, DEL and C1). Such characters show as blanks
// or not at all, so a box that kept them could hold a text that reads
// differently from what it shows. Both toolkits keep to this rule.
bool isControlCharacter(QChar c);
QString withoutControlCharacters(QString text);

// The window toolkit as the handlers see it: control properties, the window's
// drawing surface, the message box, event dispatch, the clock and the end of
// the program. Coordinates are twips in single precision, from the top-left
// corner of the window's client area.
// The vehicles' geometry, the drawing surface and the rules by which clicks,
// ticks and the end reach the handlers are kept here, the same for both
// implementations: QtToolkit drives real widgets, SimToolkit runs on a
// virtual clock with scripted user input for tests.
// Names: what the exercise names keeps its own name and casing (Left, Text,
// SetFocus, Line, Print, Cls, MsgBox, WaitEvents, Timer, End, Ended; Val,
// CInt, Format); everything else follows Qt's style (onClick, setLeft, setVisible).
class Toolkit {
public:
    using Handler = std::function<void()>;
    struct Geometry {
        float left, top, width, height;
        bool operator==(const Geometry&) const = default;
    };

    Toolkit();
    virtual ~Toolkit() = default;

    // Event wiring: the handler runs once per click of the button, and on
    // every tick of Timer1.
    void onClick(Control button, Handler handler) { clicks_[button] = std::move(handler); }
    void onTick(Handler handler) { tick_ = std::move(handler); }

    // Geometry of a shape; a write moves or resizes it.
    float Left(Shape shape) const { return geometry(shape).left; }
    float Top(Shape shape) const { return geometry(shape).top; }
    float Width(Shape shape) const { return geometry(shape).width; }
    float Height(Shape shape) const { return geometry(shape).height; }
    virtual void setLeft(Shape shape, float value) { set(shape, &Geometry::left, value); }
    virtual void setTop(Shape shape, float value) { set(shape, &Geometry::top, value); }
    virtual void setWidth(Shape shape, float value) { set(shape, &Geometry::width, value); }
    virtual void setHeight(Shape shape, float value) { set(shape, &Geometry::height, value); }
    const Geometry& geometry(Shape shape) const { return shapes_[static_cast<int>(shape)]; }

    // Buttons, labels and text boxes.
    virtual void setVisible(Control control, bool visible) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;
    virtual QString Text(Control textBox) const = 0;
    virtual void setText(Control textBox, const QString& text) = 0;
    // Gives the box the keyboard focus; on a hidden or disabled box it does nothing.
    virtual void SetFocus(Control textBox) = 0;
    // A control's Visible and Enabled, as last set; and whether a message box
    // is open over the window.
    virtual bool isVisible(Control control) const = 0;
    virtual bool isEnabled(Control control) const = 0;
    virtual bool messageBoxOpen() const = 0;

    // The window's own drawing surface. Line draws from `from` to `to` in the
    // window's drawing width and foreground colour and leaves the drawing
    // position at `to`; Print writes a number there (a positive one after a
    // blank for its sign); Cls erases both and resets the drawing position.
    void Line(QPointF from, QPointF to);
    void Print(int number);
    void Cls();
    const DrawingSurface& surface() const { return surface_; }

    // Brings the window to the front.
    void Show();
    // A message box titled with the application title, OK button only, no
    // icon; returns when the user has closed it. Once the program has
    // ended, neither shows anything: the window is gone for good.
    void MsgBox(const QString& text);

    // Runs pending events; when there are none, sleeps until the next event
    // arrives or `deadline` (on the Timer clock) has come, whichever is first.
    virtual void WaitEvents(double deadline) = 0;
    // Seconds on a monotonic clock.
    virtual double Timer() const = 0;

    // Ends the program: no handler runs after it. Handlers that loop check
    // Ended() after every wait and unwind at once.
    void End();
    bool Ended() const { return ended_; }

protected:
    // A click of the button. Its handler runs unless the program has ended,
    // the button cannot take the click (hidden, disabled, or a message box
    // in the way), or its handler is still running: a click queued behind
    // another one never starts a handler inside its own earlier run.
    void click(Control button);
    bool takesClicks(Control button) const {
        return isVisible(button) && isEnabled(button) && !messageBoxOpen();
    }
    // A tick of Timer1: its handler runs unless the program has ended.
    void tick();
    bool hasTickHandler() const { return bool(tick_); }

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
    void set(Shape shape, float Geometry::*field, float value);

    std::array<Geometry, kShapeCount> shapes_;
    DrawingSurface surface_;
    std::map<Control, Handler> clicks_;
    std::set<Control> running_; // buttons whose click handler is running
    Handler tick_;
    bool ended_ = false;
};

} // namespace tervalin
