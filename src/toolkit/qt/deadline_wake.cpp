#include "toolkit/qt/deadline_wake.h"

#include <QSocketNotifier>

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
// Runs in this thread while Qt's event loop waits, which it does alertably.
// It wakes the loop itself: Qt's QWinEventNotifier waits for a handle on a
// thread-pool thread and posts on, which under Wine made the frames 31.5 to
// 31.9 ms instead of 31.0 to 31.2 ms at the median.
static void CALLBACK wakeEventLoop(void*, DWORD, DWORD) {
    if (auto* loop = QAbstractEventDispatcher::instance())
        loop->wakeUp();
}
#elif defined(Q_OS_WASM)
#include <QAbstractEventDispatcher>
#include <emscripten/eventloop.h>
// In the browser a timer's slot leaves a suspended wait asleep: the slot
// wakes it through a message task, as a timer's own callback, nested in
// timers, would first wait out the browser's 4 ms minimum.
static void wakeEventLoop(void*) {
    if (auto* loop = QAbstractEventDispatcher::instance())
        loop->wakeUp();
}
#endif

namespace tervalin {

DeadlineWake::DeadlineWake() {
    fallback_.setTimerType(Qt::PreciseTimer);
    fallback_.setSingleShot(true);
#ifdef Q_OS_LINUX
    fd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd_ >= 0) {
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [fd = fd_] {
            std::uint64_t expirations = 0;
            (void)!::read(fd, &expirations, sizeof expirations);
        });
    }
#elif defined(Q_OS_WIN)
    // Windows before 10 1803 refuses the high resolution.
    handle_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                     TIMER_ALL_ACCESS);
    if (!handle_)
        handle_ = CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
#elif defined(Q_OS_WASM)
    QObject::connect(&fallback_, &QTimer::timeout,
                     [] { emscripten_set_immediate(wakeEventLoop, nullptr); });
#endif
}

DeadlineWake::~DeadlineWake() {
    notifier_.reset();
#ifdef Q_OS_LINUX
    if (fd_ >= 0)
        ::close(fd_);
#elif defined(Q_OS_WIN)
    if (handle_)
        CloseHandle(handle_);
#endif
}

void DeadlineWake::wakeAfter(double seconds) {
#ifdef Q_OS_LINUX
    if (fd_ >= 0) {
        const long long ns = std::max(1LL, std::llround(seconds * 1e9));
        itimerspec when{};
        when.it_value = {time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)};
        timerfd_settime(fd_, 0, &when, nullptr);
        return;
    }
#elif defined(Q_OS_WIN)
    if (handle_) {
        // Negative: relative to now, in units of 100 ns.
        const LARGE_INTEGER due{.QuadPart = -std::max(1LL, std::llround(seconds * 1e7))};
        SetWaitableTimer(handle_, &due, 0, wakeEventLoop, nullptr, FALSE);
        return;
    }
#endif
    fallback_.start(int(std::ceil(seconds * 1000))); // rounded up: never early
}

void DeadlineWake::stop() {
#ifdef Q_OS_LINUX
    if (fd_ >= 0) {
        const itimerspec disarmed{};
        timerfd_settime(fd_, 0, &disarmed, nullptr);
    }
#elif defined(Q_OS_WIN)
    if (handle_)
        CancelWaitableTimer(handle_);
#endif
    fallback_.stop();
}

} // namespace tervalin
