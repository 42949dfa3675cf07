#pragma once

#include <QStringView>

#include <string_view>
#include <vector>

namespace tervalin {

// The command line the toolkit gets: the program's name alone, so that none
// of its options (-style, -stylesheet, -reverse...) acts; its environment
// variables still do. The list ends with a null pointer, as argv does.
std::vector<char*> toolkitArguments(int argc, char* argv[]);

// Whether a message that the toolkit gives while it connects to the window
// system says that no display can be reached (no X11 server, no Wayland
// compositor, or a DISPLAY naming a server that is gone). The program then
// writes this one line, with how to run it without a desktop, and ends with
// status 1 instead of the toolkit's abort.
bool saysNoDisplay(std::string_view category, QStringView text);
inline constexpr std::string_view kNoDisplayLine =
    "tervalin: no display: neither an X11 nor a Wayland display can be reached; start it on a "
    "desktop, or without one under a virtual X server: xvfb-run tervalin\n";
inline constexpr int kNoDisplayStatus = 1;

} // namespace tervalin
