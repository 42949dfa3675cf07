#include "app/handlers.h"
#include "toolkit/qt/display_guard.h"
#include "toolkit/qt/fonts.h"
#include "toolkit/qt/qt_toolkit.h"
#include "toolkit/qt/window_frame.h"
#include "window/quiz_state.h"

#include <QApplication>

#include <memory>
#include <optional>

int main(int argc, char* argv[]) {
    // The program reads no command line: the application object gets only
    // the program's name, so none of the toolkit's options (-style,
    // -stylesheet, -reverse...) acts. Its environment variables still do.
    char fallbackName[] = "tervalin";
    char* qtArgv[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};
    int qtArgc = 1;

    std::optional<tervalin::DisplayGuard> guard(std::in_place);
    QApplication app(qtArgc, qtArgv);
    guard.reset();

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
