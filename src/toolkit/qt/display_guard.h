#pragma once

#include <QtGlobal>

#include <QString>

#include <string>
#include <vector>

namespace tervalin {

// Watches the toolkit's messages while the application object connects to
// the window system. When that fails because no display can be reached (no
// X11 server, no Wayland compositor, or a DISPLAY naming a server that is
// gone), the program writes one line that says so and how to run it without
// a desktop, and ends with status 1 instead of the toolkit's abort. Messages
// of a start that succeeds are passed on when the guard ends; any other
// fatal start-up failure is passed on unchanged.
class DisplayGuard {
public:
    DisplayGuard();
    ~DisplayGuard();
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

    // The line written when no display can be reached.
    static const char* noDisplayLine();

private:
    struct Held {
        QtMsgType type;
        std::string category;
        QString text;
    };

    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text);
    bool displayUnreachable() const;
    void passOn();

    QtMessageHandler previous_;
    std::vector<Held> held_;
};

} // namespace tervalin
