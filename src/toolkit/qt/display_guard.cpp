#include "toolkit/qt/display_guard.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace tervalin {
namespace {

// Qt's threads may log while the main thread connects.
std::mutex mutex;
DisplayGuard* active = nullptr;
QtMessageHandler afterwards = nullptr;

// What Qt's platform plugins say when their display cannot be reached:
// xcb when DISPLAY is unset or names no server, Wayland when it finds no
// compositor's socket.
bool saysDisplayUnreachable(const std::string& category, const QString& text) {
    return (category == "qt.qpa.xcb" && text.startsWith(u"could not connect to display")) ||
           text.startsWith(u"Failed to create wl_display");
}

} // namespace

DisplayGuard::DisplayGuard() {
    const std::lock_guard lock(mutex);
    active = this;
    previous_ = qInstallMessageHandler(&DisplayGuard::handle);
    afterwards = previous_;
}

DisplayGuard::~DisplayGuard() {
    qInstallMessageHandler(previous_);
    const std::lock_guard lock(mutex);
    active = nullptr;
    passOn();
}

const char* DisplayGuard::noDisplayLine() {
    return "tervalin: no display: neither an X11 nor a Wayland display can be reached; "
           "start it on a desktop, or without one under a virtual X server: xvfb-run tervalin";
}

void DisplayGuard::handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    std::unique_lock lock(mutex);
    if (!active) { // a message that came in as the guard ended
        lock.unlock();
        afterwards(type, context, text);
        return;
    }
    DisplayGuard& self = *active;
    if (type != QtFatalMsg) {
        self.held_.push_back({type, context.category ? context.category : "", text});
        return;
    }
    if (self.displayUnreachable()) {
        std::fprintf(stderr, "%s\n", noDisplayLine());
        std::fflush(stderr);
        std::_Exit(1); // nothing is set up yet that needs tearing down
    }
    self.passOn();
    self.previous_(type, context, text);
}

bool DisplayGuard::displayUnreachable() const {
    for (const Held& h : held_) {
        if (saysDisplayUnreachable(h.category, h.text))
            return true;
    }
    return false;
}

void DisplayGuard::passOn() {
    for (const Held& h : held_) {
        const QMessageLogContext context(nullptr, 0, nullptr, h.category.c_str());
        previous_(h.type, context, h.text);
    }
    held_.clear();
}

} // namespace tervalin
