#pragma once

#include "support/scene_snapshot.h"
#include "toolkit/sim/sim_toolkit.h"
#include "window/quiz_state.h"

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace tervalin {

// A simulated toolkit that also notes every geometry write, with the number
// of the frame it happened in, so that a test can see values a frame passes
// through before it snaps or wraps them.
class RecordingToolkit : public SimToolkit {
public:
    enum class Field { Left, Top, Width, Height };
    struct Write {
        int frame; // 1-based; 0 before the first frame
        Shape shape;
        Field field;
        float value;
    };

    void setLeft(Shape s, float v) override {
        note(s, Field::Left, v);
        SimToolkit::setLeft(s, v);
    }
    void setTop(Shape s, float v) override {
        note(s, Field::Top, v);
        SimToolkit::setTop(s, v);
    }
    void setWidth(Shape s, float v) override {
        note(s, Field::Width, v);
        SimToolkit::setWidth(s, v);
    }
    void setHeight(Shape s, float v) override {
        note(s, Field::Height, v);
        SimToolkit::setHeight(s, v);
    }

    int currentFrame = 0;
    std::vector<Write> writes;

private:
    void note(Shape s, Field f, float v) { writes.push_back({currentFrame, s, f, v}); }
};

// One whole run in the simulated toolkit with the three handlers wired,
// recording the state at the end of every frame (when its Pacing_wait
// begins) and at every stop pause, and playing a user who reacts to what the
// window shows: at every wait the steps whose condition holds fire (each
// once, in order), then the per-frame actions. Steps may script clicks and
// typing from that moment on.
class RecordedRun {
public:
    using Shapes = test::Shapes;
    using Action = std::function<void(double now)>;

    struct Frame {
        int number;       // 1-based
        double start;     // when the frame's first wait began: its start, work takes no time
        double waitStart; // when its Pacing_wait began
        double deadline;
        Shapes shapes; // after the frame's work
        std::optional<std::int16_t> NUMBER_OF_POVOROT;
        std::optional<float> X1;
        std::int16_t Y1;
        double PauseTime_znak;
        std::optional<float> Start_znak;
        std::size_t items; // on the drawing surface
        bool label1Visible, text1Visible, command2Visible;
        int text1FocusRequests;
        QString focus; // the control that has the keyboard focus
    };
    struct Pause {
        int frame;
        double start;
        double deadline;
        Shapes shapes; // when the pause began
        std::size_t items;
    };
    struct Tick {
        double time;
        Shapes shapes;
        std::size_t items;
        bool inPause;
        bool messageBoxOpen;
    };

    RecordedRun();

    // The scripted user: `then` runs at the first wait at which `when` holds;
    // `each` runs at every wait.
    void at(std::function<bool()> when, Action then);
    void eachFrame(Action each) { eachFrame_.push_back(std::move(each)); }
    // Types `keys` into the focused control and presses the answer button.
    void answer(double now, const QString& keys);

    // Presses START at `startAt` and runs the program until its end, closing
    // the window at `until` if it has not ended by then. (The run loop never
    // returns to the top-level loop, so only the end of the program stops it.)
    void run(double startAt, double until);

    Shapes shapes() const { return test::shapesOf(tk); }
    std::optional<double> lastWaitStart() const;
    // The answer's verdicts shown so far.
    std::vector<SimToolkit::Message> verdicts() const;
    // `count` verdicts have been shown and none is open.
    bool judged(std::size_t count) const {
        return verdicts().size() == count && !tk.messageBoxOpen();
    }

    RecordingToolkit tk;
    QuizState st;
    std::vector<Frame> frames;
    std::vector<Pause> pauses;
    std::vector<Tick> ticks;
    // What was drawn on the window as the latest wait of any kind began.
    std::vector<DrawingSurface::Item> drawnAtLastWait;
    // Called on every message box as it opens, with the shapes at that moment.
    std::vector<std::pair<SimToolkit::Message, Shapes>> messages;
    std::vector<QString> text2AtMessages;
    // Called while the verdict's box is open.
    std::function<void()> onVerdict;
    // What happens behind an open message box.
    int framesWhileBoxOpen = 0;
    int ticksWhileBoxOpen = 0;
    int sceneChangesWhileBoxOpen = 0;

private:
    struct Step {
        std::function<bool()> when;
        Action then;
        bool done;
    };

    void onTick();
    void onWait(double now, double deadline);
    void record(double now, double deadline);
    std::optional<double> frameStart_;
    std::optional<double> pauseDeadline_;
    std::vector<Step> steps_;
    std::vector<Action> eachFrame_;
    test::SceneSnapshot sceneAtBox_;
};

// The verdicts of the answer check.
bool isVerdict(const SimToolkit::Message& m);

// Frame number `n` (1-based) of a recorded run.
inline const RecordedRun::Frame& frame(const RecordedRun& r, int n) {
    return r.frames.at(n - 1);
}

} // namespace tervalin
