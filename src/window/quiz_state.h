#pragma once

#include <cstdint>
#include <optional>

namespace tervalin {

// What the exercise remembers while the window lives, in the window's
// variables. Each has one writer: the clock tick writes m, s, ds and h; the
// run loop START_MODEL, Y1 and X1; the route step NUMBER_OF_POVOROT,
// Start_znak and PauseTime_znak; the answer check OTVET.
// The variables that start Empty are optionals: Empty compares equal to 0
// and Empty + 1 gives 1, so `value_or(0)` is how the handlers read them.
// The hour count h is the window's own: nothing but the clock tick uses it.
struct QuizState {
    std::int16_t m = 0;                            // quiz clock: minutes
    std::int16_t s = 0;                            // quiz clock: seconds within the minute
    std::int16_t ds = 0;                           // quiz clock: ticks within the second
    std::optional<std::int16_t> NUMBER_OF_POVOROT; // legs finished; also the leg being driven
    std::int16_t OTVET = 0;                        // the answer as last judged
    std::optional<float> X1;                       // tervalin's Left at the start of the frame
    std::int16_t Y1 = 0;             // tervalin's Top at the start of the frame, rounded
    bool START_MODEL = false;        // a run has been started
    std::optional<float> Start_znak; // Timer when the latest stop pause began
    double PauseTime_znak = 0;       // length of the stop pause, seconds
    std::int16_t h = 0;              // quiz clock: hours; never shown
};

} // namespace tervalin
