#pragma once

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
// begins) and at every stop pause.
class RecordedRun {
public:
    using Shapes = std::array<SceneToolkit::Geometry, kShapeCount>;

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

    // Presses START at `startAt` and runs the program until its end, closing
    // the window at `until` if it has not ended by then. (The run loop never
    // returns to the top-level loop, so only the end of the program stops it.)
    void run(double startAt, double until);

    Shapes shapes() const;
    std::optional<double> lastWaitStart() const;

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

private:
    void onWait(double now, double deadline);
    std::optional<double> frameStart_;
    std::optional<double> pauseDeadline_;
};

// Frame number `n` (1-based) of a recorded run.
inline const RecordedRun::Frame& frame(const RecordedRun& r, int n) {
    return r.frames.at(n - 1);
}

} // namespace tervalin
