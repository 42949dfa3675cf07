#include "app/handlers.h"
#include "app/start.h"
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

// The toolkit's messages are held back while it connects to the window system
// (start.h); a failure other than no display, or a start that succeeds, passes them on.
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
    unreachable = unreachable || tervalin::saysNoDisplay(category, text);
    if (type != QtFatalMsg) {
        held.emplace_back(type, category, text);
        return;
    }
    if (unreachable) {
        std::fwrite(tervalin::kNoDisplayLine.data(), 1, tervalin::kNoDisplayLine.size(), stderr);
        std::_Exit(tervalin::kNoDisplayStatus); // nothing is set up yet that needs tearing down
    }
    passOn();
    previous(type, context, text);
}

} // namespace

int main(int argc, char* argv[]) {
    // The program reads no command line (start.h).
    std::vector<char*> qtArgv = tervalin::toolkitArguments(argc, argv);
    int qtArgc = int(qtArgv.size()) - 1;
    previous = qInstallMessageHandler(hold);
    QApplication app(qtArgc, qtArgv.data());
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
#ifdef Q_OS_WIN
        // Windows shows a tool window without giving it the keyboard.
        tk.form().activateWindow();
#endif
    }
    const int status = app.exec();
    // Qt 6.4's Wayland client may deadlock tearing down its connection, in its event
    // thread's wl_display_read_events(); the compositor frees what a client held.
    if (QGuiApplication::platformName().startsWith(u"wayland"))
        std::_Exit(status); // nothing is left in stdio's buffers: stderr has none
    return status;
}
