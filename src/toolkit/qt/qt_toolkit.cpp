#include "toolkit/qt/qt_toolkit.h"

#include "toolkit/qt/scene_canvas.h"
#include "window/description.h"

#include <QApplication>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPushButton>

#include <cmath>

namespace tervalin {

Q_LOGGING_CATEGORY(lcFrames, "tervalin.frames", QtWarningMsg)

QtToolkit::QtToolkit() : form_(*this) {
    clock_.start();
    timer1_.setTimerType(Qt::PreciseTimer);
    timer1_.setInterval(mainWindow().timer1.intervalMs);
    QObject::connect(&timer1_, &QTimer::timeout, &form_, [this] { deliverTicks(); });
    timer1_.start();
    wake_.setTimerType(Qt::PreciseTimer);
    wake_.setSingleShot(true);

    QObject::connect(&form_, &MainForm::closeRequested, &form_, [this] { End(); });
    // The click reaches the handler from the event loop once the button has
    // finished its own click handling, so a handler that runs for long
    // leaves no button half-pressed.
    for (const Control button : {Control::Command1, Control::Command2})
        QObject::connect(
            form_.button(button), &QPushButton::clicked, &form_, [this, button] { click(button); },
            Qt::QueuedConnection);
}

void QtToolkit::deliverTicks() {
    const long long due = clock_.elapsed() / timer1_.interval();
    while (ticksDelivered_ < due && !Ended()) {
        ++ticksDelivered_;
        tick();
    }
}

bool QtToolkit::takesClicks(Control button) const {
    const QWidget* w = form_.button(button);
    return w->isVisible() && w->isEnabled() && !QApplication::activeModalWidget();
}

void QtToolkit::raiseWindow() {
    form_.show();
    form_.raise();
    form_.activateWindow();
}

void QtToolkit::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, toQString(mainWindow().applicationTitle), text,
                    QMessageBox::Ok, &form_);
    box.exec();
}

void QtToolkit::DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtToolkit::WaitEvents(double deadline) {
    if (Ended())
        return;
    if (deadline != loggedDeadline_) { // a wait is called again after every event
        loggedDeadline_ = deadline;
        qCDebug(lcFrames, "%.6f %.6f", Timer(), deadline);
    }
    const double remaining = deadline - Timer();
    if (remaining <= 0) {
        DoEvents();
        return;
    }
    // Whole milliseconds, rounded up: the wait never ends before its deadline.
    wake_.start(int(std::ceil(remaining * 1000)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtToolkit::endProgram() {
    timer1_.stop();
    wake_.stop();
    form_.hide();
    QCoreApplication::exit(0);
}

void QtToolkit::sceneChanged(const QRectF& dirty) {
    form_.canvas()->repaintTwips(dirty);
}

} // namespace tervalin
