#pragma once

namespace tervalin {

class Toolkit;
struct QuizState;
struct RunStart;

// One frame of the watched vehicle's route: the leg chosen by
// NUMBER_OF_POVOROT advances tervalin by one step, ends the leg at its
// threshold, draws the frame's track segment back to (X1, Y1), and on the
// last leg shows the answer controls.
void Route_step(Toolkit& tk, QuizState& st, const RunStart& run);

} // namespace tervalin
