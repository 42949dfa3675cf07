#include "toolkit/qt/qt_toolkit.h"

#include "toolkit/qt/scene_canvas.h"
#include "window/description.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/timerfd.h>
#include <unistd.h>
#endif

namespace tervalin {

Q_LOGGING_CATEGORY(lcFrames, "tervalin.frames", QtWarningMsg)

QtToolkit::QtToolkit() : form_(*this) {
    clock_.start();
    timer1_.setTimerType(Qt::PreciseTimer);
    timer1_.setInterval(windowDescription().timer1.intervalMs);
    QObject::connect(&timer1_, &QTimer::timeout, &form_, [this] { deliverTicks(); });
    timer1_.start();
    wake_.setTimerType(Qt::PreciseTimer);
    wake_.setSingleShot(true);
#ifdef Q_OS_LINUX
    // A QTimer counts whole milliseconds, so every frame, timed from the end
    // of the one before, would end up to one late, and the route would take
    // a quarter of a second longer. A timer file descriptor wakes the event
    // loop within microseconds of the deadline.
    wakeFd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (wakeFd_ >= 0) {
        wakeNotifier_ = new QSocketNotifier(wakeFd_, QSocketNotifier::Read);
        QObject::connect(wakeNotifier_, &QSocketNotifier::activated, [fd = wakeFd_] {
            std::uint64_t expirations = 0;
            (void)!::read(fd, &expirations, sizeof expirations);
        });
    }
#endif

    QObject::connect(&form_, &MainForm::closeRequested, &form_, [this] { End(); });
    // The click reaches the handler from the event loop once the button has
    // finished its own click handling, so a handler that runs for long
    // leaves no button half-pressed.
    for (const Control button : {Control::Command1, Control::Command2})
        QObject::connect(
            form_.button(button), &QPushButton::clicked, &form_, [this, button] { click(button); },
            Qt::QueuedConnection);
}

QtToolkit::~QtToolkit() {
    delete wakeNotifier_;
#ifdef Q_OS_LINUX
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
#endif
}

void QtToolkit::wakeAfter(double seconds) {
#ifdef Q_OS_LINUX
    if (wakeFd_ >= 0) {
        const long long ns = std::max(1LL, std::llround(seconds * 1e9));
        itimerspec when{};
        when.it_value = {time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)};
        timerfd_settime(wakeFd_, 0, &when, nullptr);
        return;
    }
#endif
    wake_.start(int(std::ceil(seconds * 1000))); // rounded up: never early
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
    QMessageBox box(QMessageBox::NoIcon, toQString(windowDescription().applicationTitle), text,
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
    wakeAfter(remaining);
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
