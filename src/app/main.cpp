#include "app/handlers.h"
#include "toolkit/qt/fonts.h"
#include "toolkit/qt/qt_toolkit.h"
#include "toolkit/qt/window_frame.h"
#include "window/quiz_state.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

namespace {

// While the application object connects to the window system, the toolkit's
// messages are held back. When no display can be reached (no X11 server, no
// Wayland compositor, or a DISPLAY naming a server that is gone), the program
// says so in one line, with how to run it without a desktop, and ends with
// status 1 instead of the toolkit's abort. Any other start-up failure keeps
// the toolkit's own messages; those of a start that succeeds are passed on.
std::mutex mutex; // Qt's threads may log while the main thread connects
QtMessageHandler previous = nullptr;
std::vector<std::tuple<QtMsgType, std::string, QString>> held;
bool unreachable = false;
bool holding = true;

void passOn() {
    for (const auto& [type, category, text] : held)
        previous(type, QMessageLogContext(nullptr, 0, nullptr, category.c_str()), text);
    held.clear();
}

void hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    std::unique_lock lock(mutex);
    if (!holding) { // a message that came in as the holding ended
        lock.unlock();
        previous(type, context, text);
        return;
    }
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

int main(int argc, char* argv[]) {
    // The program reads no command line: the application object gets only
    // the program's name, so none of the toolkit's options (-style,
    // -stylesheet, -reverse...) acts. Its environment variables still do.
    char fallbackName[] = "tervalin";
    char* qtArgv[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};
    int qtArgc = 1;

    previous = qInstallMessageHandler(hold);
    QApplication app(qtArgc, qtArgv);
    qInstallMessageHandler(previous);
    {
        const std::lock_guard lock(mutex);
        holding = false;
        passOn();
    }

    QApplication::setApplicationName(QStringLiteral("Tervalin"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tervalin"));
    QApplication::setApplicationVersion(QStringLiteral(TERVALIN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(TERVALIN_APP_ID));
    tervalin::installFontSubstitutes();

    tervalin::QtToolkit tk;
    tervalin::QuizState st;
    tervalin::wireHandlers(tk, st);
    std::unique_ptr<tervalin::WindowFrame> frame;
    if (tervalin::WindowFrame::needed()) {
        frame = std::make_unique<tervalin::WindowFrame>(tk.form());
        frame->show();
    } else {
        tk.form().show();
    }
    return app.exec();
}
