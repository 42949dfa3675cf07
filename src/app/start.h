#pragma once

#include <QStringView>

#include <memory>
#include <string_view>
#include <vector>

class QApplication;

namespace tervalin {

// The toolkit's application, started as the program wants it. While it
// connects to the window system its messages are held back: when no display
// can be reached, the program writes the description's one line on standard
// error (with how to run it without a desktop) and ends with status 1
// instead of the toolkit's abort; any other failure, and a start that
// succeeds, passes the held messages on. It reads no command line.
class Program {
public:
    Program(int argc, char* argv[]);
    ~Program();

    // Runs the event loop until the program ends; returns its exit status.
    int run();

private:
    std::vector<char*> argv_;
    int argc_;
    std::unique_ptr<QApplication> app_;
};

// The command line the toolkit gets: the program's name alone, so that none
// of its options (-style, -stylesheet, -reverse...) acts; its environment
// variables still do. The list ends with a null pointer, as argv does.
std::vector<char*> toolkitArguments(int argc, char* argv[]);

// Whether a message that the toolkit gives while it connects to the window
// system says that no display can be reached (no X11 server, no Wayland
// compositor, or a DISPLAY naming a server that is gone).
bool saysNoDisplay(std::string_view category, QStringView text);
inline constexpr int kNoDisplayStatus = 1;

} // namespace tervalin
