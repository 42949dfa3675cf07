#include "toolkit/qt/qt_toolkit.h"

#include "toolkit/qt/scene_canvas.h"
#include "window/description.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPushButton>

namespace tervalin {

Q_LOGGING_CATEGORY(lcFrames, "tervalin.frames", QtWarningMsg)

QtToolkit::QtToolkit() : form_(*this) {
    clock_.start();
    timer1_.setTimerType(Qt::PreciseTimer);
    timer1_.setInterval(windowDescription().timer1.intervalMs);
    QObject::connect(&timer1_, &QTimer::timeout, &form_, [this] { deliverTicks(); });
    timer1_.start();
    // Ticks count from the window's first paint (in a browser half a second
    // after it was made); those delivered before then are not repeated.
    QObject::connect(form_.canvas(), &SceneCanvas::firstPainted, &form_,
                     [this] { shownAtMs_ = clock_.elapsed(); });

    QObject::connect(&form_, &MainForm::closeRequested, &form_, [this] { End(); });
    // The click reaches the handler from the event loop once the button has
    // finished its own click handling, so a handler that runs for long
    // leaves no button half-pressed: from the run loop's wait, else from a
    // call queued for the loop. (In a browser a message box may wait only
    // inside the run loop's own dispatch.)
    for (const Control button : {Control::Command1, Control::Command2})
        QObject::connect(form_.button(button), &QPushButton::clicked, &form_, [this, button] {
            clicked_.push_back(button);
            if (waiting_ > 0)
                QAbstractEventDispatcher::instance()->wakeUp();
            else
                QMetaObject::invokeMethod(
                    &form_, [this] { runClicks(); }, Qt::QueuedConnection);
        });
}

void QtToolkit::runClicks() {
    while (!clicked_.empty()) {
        const Control button = clicked_.front();
        clicked_.erase(clicked_.begin());
        click(button);
    }
}

void QtToolkit::deliverTicks() {
    const long long due = (clock_.elapsed() - shownAtMs_) / timer1_.interval();
    while (ticksDelivered_ < due && !Ended()) {
        ++ticksDelivered_;
        tick();
    }
}

bool QtToolkit::messageBoxOpen() const {
    return QApplication::activeModalWidget() != nullptr;
}

void QtToolkit::raiseWindow() {
    form_.show();
    form_.raise();
    form_.activateWindow();
}

void QtToolkit::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, toQString(windowDescription().applicationTitle), text,
                    QMessageBox::Ok, &form_);
    box.exec();
}

void QtToolkit::WaitEvents(double deadline) {
    if (Ended())
        return;
    if (deadline != loggedDeadline_) { // a wait is called again after every event
        loggedDeadline_ = deadline;
        qCDebug(lcFrames, "%.6f %.6f", Timer(), deadline);
    }
    const double remaining = deadline - Timer();
    if (remaining > 0)
        wake_.wakeAfter(remaining);
    ++waiting_;
    QCoreApplication::processEvents(remaining > 0 ? QEventLoop::WaitForMoreEvents
                                                  : QEventLoop::AllEvents);
    --waiting_;
    runClicks();
}

void QtToolkit::endProgram() {
    timer1_.stop();
    wake_.stop();
    form_.window()->hide(); // the form, or the frame that holds it
    QCoreApplication::exit(0);
}

void QtToolkit::sceneChanged(const QRectF& dirty) {
    form_.canvas()->repaintTwips(dirty);
}

} // namespace tervalin
