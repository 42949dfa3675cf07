#pragma once

namespace tervalin {

class Toolkit;
struct QuizState;

// Where tervalin stood when START was pressed; the route puts it back there.
struct RunStart {
    float START_TOP;
    float START_LEFT;
};

// The click handler of START: prepares the window and runs frames until the
// quiz clock's minute count passes 3, then shows the time-out message and
// ends the program. It returns only once the program has ended.
void Command1_Click(Toolkit& tk, QuizState& st);

// Waits 0.03 s on the toolkit's clock, running events as they come.
void Pacing_wait(Toolkit& tk);

} // namespace tervalin
