#include "app/start.h"

namespace tervalin {

std::vector<char*> toolkitArguments(int argc, char* argv[]) {
    static char fallbackName[] = "tervalin";
    return {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};
}

// What the xcb and Wayland platform plugins say when they find no display.
bool saysNoDisplay(std::string_view category, QStringView text) {
    return (category == "qt.qpa.xcb" && text.startsWith(u"could not connect to display")) ||
           text.startsWith(u"Failed to create wl_display");
}

} // namespace tervalin
