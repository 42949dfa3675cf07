#pragma once

namespace tervalin {

class Toolkit;
struct QuizState;

// Wires the window's three event handlers: START's click runs the exercise,
// the answer button's click judges the answer, and Timer1's tick runs the
// quiz clock. Nothing else handles any event.
void wireHandlers(Toolkit& tk, QuizState& st);

} // namespace tervalin
