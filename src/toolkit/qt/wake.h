#pragma once

#include <QTimer>

#include <memory>

class QSocketNotifier;

namespace tervalin {

// Wakes the event loop once, a given time from now. On Linux a timer file
// descriptor, watched like a socket, wakes it within microseconds; QTimer,
// the fallback, counts whole milliseconds and so wakes up to one late.
class Wake {
public:
    Wake();
    ~Wake();
    Wake(const Wake&) = delete;
    Wake& operator=(const Wake&) = delete;

    void after(double seconds);
    void stop();

private:
    QTimer timer_;
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace tervalin
