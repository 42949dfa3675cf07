#pragma once

namespace tervalin {

class Toolkit;
struct QuizState;

// The tick handler of Timer1: counts ticks into seconds, minutes and hours
// and, once a run has started, shows the minutes in the clock box.
void Timer1_Tick(Toolkit& tk, QuizState& st);

} // namespace tervalin
