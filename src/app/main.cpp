#include "app/handlers.h"
#include "app/start.h"
#include "toolkit/qt/qt_toolkit.h"
#include "window/quiz_state.h"

int main(int argc, char* argv[]) {
    tervalin::Program program(argc, argv); // the toolkit, connected to the window system
    tervalin::QtToolkit tk;                // the main window, built from its description
    tervalin::QuizState st;
    tervalin::wireHandlers(tk, st);
    tk.showWindow();
    return program.run();
}
