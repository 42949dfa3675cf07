#include "support/recorded_run.h"

#include "app/handlers.h"
#include "clock/quiz_clock.h"
#include "support/last_leg.h"

#include <algorithm>
#include <iterator>

namespace tervalin {

bool isVerdict(const SimToolkit::Message& m) {
    return m.text == test::kRightVerdict || m.text == test::kWrongVerdict;
}

RecordedRun::RecordedRun() {
    wireHandlers(tk, st);
    // The clock as wired, plus a note of what the scene looks like at every tick.
    tk.onTick([this] { onTick(); });
    tk.setWaitObserver([this](double now, double deadline) { onWait(now, deadline); });
    tk.setMessageObserver([this](const SimToolkit::Message& m) {
        messages.emplace_back(m, shapes());
        text2AtMessages.push_back(tk.Text(Control::Text2));
        sceneAtBox_ = test::snapshotOf(tk);
        if (isVerdict(m) && onVerdict)
            onVerdict();
    });
}

void RecordedRun::at(std::function<bool()> when, Action then) {
    steps_.push_back({std::move(when), std::move(then), false});
}

void RecordedRun::answer(double now, const QString& keys) {
    tk.typeAt(now + 0.001, keys);
    tk.clickAt(now + 0.002, Control::Command2);
}

void RecordedRun::run(double startAt, double until) {
    tk.currentFrame = 1;
    tk.clickAt(startAt, Control::Command1);
    tk.closeWindowAt(until);
    tk.runUntil(until);
}

std::optional<double> RecordedRun::lastWaitStart() const {
    if (frames.empty())
        return std::nullopt;
    return frames.back().waitStart;
}

std::vector<SimToolkit::Message> RecordedRun::verdicts() const {
    std::vector<SimToolkit::Message> out;
    std::copy_if(tk.messages().begin(), tk.messages().end(), std::back_inserter(out), isVerdict);
    return out;
}

void RecordedRun::onTick() {
    Timer1_Tick(tk, st);
    const bool inPause = pauseDeadline_ && tk.Timer() < *pauseDeadline_;
    ticks.push_back(
        {tk.Timer(), shapes(), tk.surface().items.size(), inPause, tk.messageBoxOpen()});
    if (!tk.messageBoxOpen())
        return;
    ++ticksWhileBoxOpen;
    if (test::snapshotOf(tk) != sceneAtBox_)
        ++sceneChangesWhileBoxOpen;
}

void RecordedRun::onWait(double now, double deadline) {
    record(now, deadline);
    if (tk.messageBoxOpen())
        ++framesWhileBoxOpen;
    for (Step& step : steps_) {
        if (!step.done && step.when()) {
            step.done = true;
            step.then(now);
        }
    }
    for (const Action& each : eachFrame_)
        each(now);
}

// A stop pause waits a second, a frame 0.03 s; nothing else waits in a run.
void RecordedRun::record(double now, double deadline) {
    const int number = int(frames.size()) + 1;
    drawnAtLastWait = tk.surface().items;
    if (!frameStart_)
        frameStart_ = now;
    if (deadline - now > 0.5) {
        pauses.push_back({number, now, deadline, shapes(), tk.surface().items.size()});
        pauseDeadline_ = deadline;
        return;
    }
    using enum Control;
    frames.push_back({number, *frameStart_, now, deadline, shapes(), st.NUMBER_OF_POVOROT, st.X1,
                      st.Y1, st.PauseTime_znak, st.Start_znak, tk.surface().items.size(),
                      tk.isVisible(Label1), tk.isVisible(Text1), tk.isVisible(Command2),
                      tk.focusRequests(Text1), tk.focus()});
    frameStart_.reset();
    pauseDeadline_.reset();
    tk.currentFrame = number + 1;
}

} // namespace tervalin
