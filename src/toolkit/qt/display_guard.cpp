#include "toolkit/qt/display_guard.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

namespace tervalin {
namespace {

std::mutex mutex; // Qt's threads may log while the main thread connects
QtMessageHandler previous = nullptr;
std::vector<std::tuple<QtMsgType, std::string, QString>> held;
bool unreachable = false;

void passOn() {
    for (const auto& [type, category, text] : held)
        previous(type, QMessageLogContext(nullptr, 0, nullptr, category.c_str()), text);
    held.clear();
}

void hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const std::lock_guard lock(mutex);
    const std::string category = context.category ? context.category : "";
    // What the xcb and Wayland platform plugins say when they find no display.
    unreachable = unreachable ||
                  (category == "qt.qpa.xcb" && text.startsWith(u"could not connect to display")) ||
                  text.startsWith(u"Failed to create wl_display");
    if (type != QtFatalMsg) {
        held.emplace_back(type, category, text);
        return;
    }
    if (unreachable) {
        std::fputs("tervalin: no display: neither an X11 nor a Wayland display can be reached; "
                   "start it on a desktop, or without one under a virtual X server: "
                   "xvfb-run tervalin\n",
                   stderr);
        std::_Exit(1); // nothing is set up yet that needs tearing down
    }
    passOn();
    previous(type, context, text);
}

} // namespace

DisplayGuard::DisplayGuard() {
    previous = qInstallMessageHandler(hold);
}

DisplayGuard::~DisplayGuard() {
    qInstallMessageHandler(previous);
    const std::lock_guard lock(mutex);
    passOn();
}

} // namespace tervalin
