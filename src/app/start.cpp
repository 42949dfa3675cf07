#include "app/start.h"

#include "toolkit/qt/fonts.h"
#include "window/description.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <tuple>

#ifdef Q_OS_WASM
#include <QWindow>
#include <emscripten/emscripten.h>
#endif

namespace tervalin {
namespace {

// The messages held while the toolkit connects to the window system. Qt's
// own threads may log while the main thread connects.
struct HeldMessages {
    std::mutex mutex;
    QtMessageHandler next = nullptr;
    std::vector<std::tuple<QtMsgType, std::string, QString>> held;
    bool unreachable = false;
    bool holding = true;

    void passOn() {
        for (const auto& [type, category, text] : held)
            next(type, QMessageLogContext(nullptr, 0, nullptr, category.c_str()), text);
        held.clear();
    }
} messages;

void hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    std::unique_lock lock(messages.mutex);
    if (!messages.holding) { // a message that came in as the holding ended
        lock.unlock();
        messages.next(type, context, text);
        return;
    }
    const std::string category = context.category ? context.category : "";
    messages.unreachable = messages.unreachable || saysNoDisplay(category, text);
    if (type != QtFatalMsg) {
        messages.held.emplace_back(type, category, text);
        return;
    }
    if (messages.unreachable) {
        const std::string_view line = windowDescription().noDisplayLine;
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::_Exit(kNoDisplayStatus); // nothing is set up yet that needs tearing down
    }
    messages.passOn();
    messages.next(type, context, text);
}

} // namespace

Program::Program(int argc, char* argv[])
    : argv_(toolkitArguments(argc, argv)), argc_(int(argv_.size()) - 1) {
    messages.next = qInstallMessageHandler(hold);
    app_ = std::make_unique<QApplication>(argc_, argv_.data());
    qInstallMessageHandler(messages.next);
    {
        const std::lock_guard lock(messages.mutex);
        messages.holding = false;
        messages.passOn();
    }

    const QString title = toQString(windowDescription().applicationTitle);
    QApplication::setApplicationName(title);
    QApplication::setApplicationDisplayName(title);
    QApplication::setApplicationVersion(QStringLiteral(TERVALIN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(TERVALIN_APP_ID));
    installFontSubstitutes();
}

Program::~Program() = default;

int Program::run() {
#ifdef Q_OS_WASM
    // In the browser exec() never returns: the program ends as its window
    // (shown before this call) goes, from a task of its own, and the page
    // then drops it.
    for (QWindow* window : QGuiApplication::topLevelWindows())
        QObject::connect(window, &QWindow::visibleChanged, [](bool visible) {
            if (!visible)
                emscripten_async_call([](void*) { emscripten_force_exit(0); }, nullptr, 0);
        });
#endif
    const int status = QApplication::exec();
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
    // Qt 6.4's Wayland client may deadlock tearing down its connection, in
    // its event thread's wl_display_read_events(). Seen with Qt 6.4.2, the
    // only version tried: later versions keep Qt's own teardown, and the
    // Wayland test shows whether they need this too. The compositor frees
    // what a client held, and nothing is left in stdio's buffers: stderr has
    // none.
    if (QGuiApplication::platformName().startsWith(u"wayland"))
        std::_Exit(status);
#endif
    return status;
}

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
