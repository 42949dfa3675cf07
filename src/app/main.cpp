#include "app/handlers.h"
#include "toolkit/qt/fonts.h"
#include "toolkit/qt/qt_toolkit.h"
#include "window/quiz_state.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tervalin"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tervalin"));
    QApplication::setApplicationVersion(QStringLiteral(TERVALIN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(TERVALIN_APP_ID));
    tervalin::installFontSubstitutes();

    tervalin::QtToolkit tk;
    tervalin::QuizState st;
    tervalin::wireHandlers(tk, st);
    tk.form().show();
    return app.exec();
}
