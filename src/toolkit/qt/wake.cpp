#include "toolkit/qt/wake.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cmath>
#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/timerfd.h>
#include <unistd.h>
#endif

namespace tervalin {

Wake::Wake() {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
#ifdef Q_OS_LINUX
    fd_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd_ < 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        std::uint64_t expirations = 0;
        (void)!::read(fd_, &expirations, sizeof expirations);
    });
#endif
}

Wake::~Wake() {
#ifdef Q_OS_LINUX
    notifier_.reset();
    if (fd_ >= 0)
        ::close(fd_);
#endif
}

void Wake::after(double seconds) {
#ifdef Q_OS_LINUX
    if (fd_ >= 0) {
        const auto ns = std::max<long long>(1, std::llround(seconds * 1e9));
        itimerspec when{};
        when.it_value.tv_sec = time_t(ns / 1'000'000'000);
        when.it_value.tv_nsec = long(ns % 1'000'000'000);
        timerfd_settime(fd_, 0, &when, nullptr);
        return;
    }
#endif
    timer_.start(int(std::ceil(seconds * 1000)));
}

void Wake::stop() {
    timer_.stop();
#ifdef Q_OS_LINUX
    if (fd_ >= 0) {
        const itimerspec never{};
        timerfd_settime(fd_, 0, &never, nullptr);
    }
#endif
}

} // namespace tervalin
