#pragma once

#include "toolkit/qt/deadline_wake.h"
#include "toolkit/qt/main_form.h"
#include "toolkit/qt/window_frame.h"
#include "toolkit/toolkit.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>

#include <memory>
#include <vector>

namespace tervalin {

// The toolkit on real Qt widgets. It builds the main window from the window
// description; Timer1 runs from construction on, its ticks counted from
// the moment the window first shows its scene.
// Waits block in Qt's event loop until the deadline or the next event; they
// never spin. Timer1's ticks are counted against the monotonic clock, so
// ticks that the event loop could not deliver on time (a busy machine, a
// message box being dragged) are delivered late rather than lost.
// Closing the window ends the program, whatever runs at that moment.
// Every wait is noted as it begins in the logging category tervalin.frames,
// off unless QT_LOGGING_RULES="tervalin.frames.debug=true" turns it on.
class QtToolkit : public Toolkit {
public:
    QtToolkit();

    MainForm& form() { return form_; }
    // Shows the window, in a frame of the program's own where the platform needs one.
    void showWindow() { frame_ = WindowFrame::showWindow(form_); }

    void setVisible(Control c, bool visible) override { form_.control(c)->setVisible(visible); }
    void setEnabled(Control c, bool enabled) override { form_.control(c)->setEnabled(enabled); }
    QString Text(Control textBox) const override { return form_.textBox(textBox)->text(); }
    void setText(Control box, const QString& text) override { form_.textBox(box)->setText(text); }
    // Qt itself refuses the focus to a hidden or disabled widget.
    void SetFocus(Control box) override { form_.textBox(box)->setFocus(Qt::OtherFocusReason); }
    void WaitEvents(double deadline) override;
    double Timer() const override { return double(clock_.nsecsElapsed()) / 1e9; }

    bool isVisible(Control c) const override { return !form_.control(c)->isHidden(); }
    bool isEnabled(Control c) const override { return form_.control(c)->isEnabled(); }
    bool messageBoxOpen() const override;

protected:
    void showMessage(const QString& text) override;
    void raiseWindow() override;
    void endProgram() override;
    void sceneChanged(const QRectF& dirty) override;

private:
    void deliverTicks();
    void runClicks(); // the clicks that came in, in turn

    QElapsedTimer clock_;
    MainForm form_;
    std::unique_ptr<WindowFrame> frame_; // holds the form while it lives: declared after it
    QTimer timer1_;
    DeadlineWake wake_;
    std::vector<Control> clicked_; // clicks whose handler has yet to run
    int waiting_ = 0;              // waits of the run loop under way
    long long ticksDelivered_ = 0;
    long long shownAtMs_ = 0; // when the window first showed its scene, by clock_
    double loggedDeadline_ = -1;
};

} // namespace tervalin
