#include "animation/recorded_run.h"

#include "app/handlers.h"
#include "clock/quiz_clock.h"

namespace tervalin {

RecordedRun::RecordedRun() {
    wireHandlers(tk, st);
    // The clock as wired, plus a note of what the scene looks like at every tick.
    tk.onTick([this] {
        Timer1_Tick(tk, st);
        const bool inPause = pauseDeadline_ && tk.Timer() < *pauseDeadline_;
        ticks.push_back(
            {tk.Timer(), shapes(), tk.surface().items().size(), inPause, tk.messageBoxOpen()});
    });
    tk.setWaitObserver([this](double now, double deadline) { onWait(now, deadline); });
    tk.setMessageObserver([this](const SimToolkit::Message& m) {
        messages.emplace_back(m, shapes());
        text2AtMessages.push_back(tk.Text(Control::Text2));
    });
}

void RecordedRun::run(double startAt, double until) {
    tk.currentFrame = 1;
    tk.clickAt(startAt, Control::Command1);
    tk.closeWindowAt(until);
    tk.runUntil(until);
}

RecordedRun::Shapes RecordedRun::shapes() const {
    Shapes s;
    for (int i = 0; i < kShapeCount; ++i)
        s[i] = tk.geometry(static_cast<Shape>(i));
    return s;
}

std::optional<double> RecordedRun::lastWaitStart() const {
    if (frames.empty())
        return std::nullopt;
    return frames.back().waitStart;
}

// A stop pause waits a second, a frame 0.03 s; nothing else waits in a run.
void RecordedRun::onWait(double now, double deadline) {
    const int number = int(frames.size()) + 1;
    drawnAtLastWait = tk.surface().items();
    if (!frameStart_)
        frameStart_ = now;
    if (deadline - now > 0.5) {
        pauses.push_back({number, now, deadline, shapes(), tk.surface().items().size()});
        pauseDeadline_ = deadline;
        return;
    }
    using enum Control;
    frames.push_back({number, *frameStart_, now, deadline, shapes(), st.NUMBER_OF_POVOROT, st.X1,
                      st.Y1, st.PauseTime_znak, st.Start_znak, tk.surface().items().size(),
                      tk.isVisible(Label1), tk.isVisible(Text1), tk.isVisible(Command2),
                      tk.focusRequests(Text1)});
    frameStart_.reset();
    pauseDeadline_.reset();
    tk.currentFrame = number + 1;
}

} // namespace tervalin
