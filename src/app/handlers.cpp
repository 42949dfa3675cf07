#include "app/handlers.h"

#include "animation/run_loop.h"
#include "answer/answer_check.h"
#include "clock/quiz_clock.h"
#include "toolkit/toolkit.h"

namespace tervalin {

void wireHandlers(Toolkit& tk, QuizState& st) {
    tk.onClick(Control::Command1, [&tk, &st] { Command1_Click(tk, st); });
    tk.onClick(Control::Command2, [&tk, &st] { Command2_Click(tk, st); });
    tk.onTick([&tk, &st] { Timer1_Tick(tk, st); });
}

} // namespace tervalin
