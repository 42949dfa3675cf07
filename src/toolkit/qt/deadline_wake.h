#pragma once

#include <QTimer>

#include <memory>

class QSocketNotifier;

namespace tervalin {

// Wakes Qt's event loop at a wait's deadline, so that a wait blocked in it
// for the next event ends then. A QTimer counts whole milliseconds, so
// every frame, timed from the end of the one before, would end up to one
// late (measured: the route took 11.6 to 12.7 s instead of 11.4 s). Where
// the platform has a finer timer it is used: a timer file descriptor on
// Linux, a high-resolution waitable timer on Windows, each waking the loop
// within microseconds; elsewhere the QTimer, rounded up so as never to wake
// early (in the browser its slot has a message task wake the loop).
class DeadlineWake {
public:
    DeadlineWake();
    ~DeadlineWake();
    DeadlineWake(const DeadlineWake&) = delete;
    DeadlineWake& operator=(const DeadlineWake&) = delete;

    // Wakes the event loop once, `seconds` from now; a later call replaces
    // the earlier one.
    void wakeAfter(double seconds);
    // No wake is pending any more.
    void stop();

private:
    // The platform's timer: a file descriptor, or a handle; -1 or null when
    // there is none and the QTimer serves (in the browser, always).
    [[maybe_unused]] int fd_ = -1;
    [[maybe_unused]] void* handle_ = nullptr;
    std::unique_ptr<QSocketNotifier> notifier_; // reads the descriptor's expirations
    QTimer fallback_;
};

} // namespace tervalin
