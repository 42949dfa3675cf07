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
#elif defined(Q_OS_WIN)
#include <QAbstractEventDispatcher>
#include <qt_windows.h>
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION // older MinGW-w64 headers lack it
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x2
#endif
static void CALLBACK wakeEventLoop(void*, DWORD, DWORD) {
    if (auto* loop = QAbstractEventDispatcher::instance())
        loop->wakeUp();
}
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
    // A QTimer counts whole milliseconds, so every frame, timed from the end
    // of the one before, would end up to one late. A timer file descriptor, or
    // a waitable timer, wakes the event loop within microseconds of the deadline.
#ifdef Q_OS_LINUX
    wakeFd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (wakeFd_ >= 0) {
        wakeNotifier_ = new QSocketNotifier(wakeFd_, QSocketNotifier::Read);
        QObject::connect(wakeNotifier_, &QSocketNotifier::activated, [fd = wakeFd_] {
            std::uint64_t expirations = 0;
            (void)!::read(fd, &expirations, sizeof expirations);
        });
    }
#elif defined(Q_OS_WIN)
    // Windows before 10 1803 refuses the high resolution.
    wakeTimer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                        TIMER_ALL_ACCESS);
    if (!wakeTimer_)
        wakeTimer_ = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
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
#elif defined(Q_OS_WIN)
    if (wakeTimer_)
        CloseHandle(wakeTimer_);
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
#elif defined(Q_OS_WIN)
    if (wakeTimer_) {
        // Negative: relative to now, in units of 100 ns.
        const LARGE_INTEGER due{.QuadPart = -std::max(1LL, std::llround(seconds * 1e7))};
        // Its routine runs in this thread as Qt's event loop waits, which it does alertably.
        SetWaitableTimer(wakeTimer_, &due, 0, wakeEventLoop, nullptr, FALSE);
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
