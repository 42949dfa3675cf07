#pragma once

namespace tervalin {

// Holds back the toolkit's messages while the application object connects to
// the window system. When no display can be reached (no X11 server, no
// Wayland compositor, or a DISPLAY naming a server that is gone), the program
// says so in one line, with how to run it without a desktop, and ends with
// status 1 instead of the toolkit's abort. Any other start-up failure keeps
// the toolkit's own messages; those of a start that succeeds are passed on
// when the guard ends.
class DisplayGuard {
public:
    DisplayGuard();
    ~DisplayGuard();
};

} // namespace tervalin
