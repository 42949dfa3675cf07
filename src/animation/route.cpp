#include "animation/route.h"

#include "animation/run_loop.h"
#include "toolkit/toolkit.h"
#include "window/quiz_state.h"

namespace tervalin {
namespace {

using enum Shape;

void countLeg(QuizState& st) {
    st.NUMBER_OF_POVOROT = std::int16_t(st.NUMBER_OF_POVOROT.value_or(0) + 1);
}

void printLeg(Toolkit& tk, const QuizState& st) {
    tk.Print(*st.NUMBER_OF_POVOROT);
}

// The vehicle turns about its top-left corner.
void turn(Toolkit& tk) {
    const float width = tk.Width(tervalin);
    tk.setWidth(tervalin, tk.Height(tervalin));
    tk.setHeight(tervalin, width);
}

// The vehicle stands a second wherever its top edge is strictly between 2000
// and 2200: on the right road just below the tram rails. Start_znak keeps the
// start in single precision; the wait itself runs from the double reading,
// so that the pause lasts 1 s however long the window has been open.
void stopPause(Toolkit& tk, QuizState& st) {
    if (tk.Top(tervalin) < 2200 && tk.Top(tervalin) > 2000) {
        const double start = tk.Timer();
        st.PauseTime_znak = 1.0;
        st.Start_znak = float(start);
        const double end = start + st.PauseTime_znak;
        while (tk.Timer() < end && !tk.Ended())
            tk.WaitEvents(end);
    }
}

void answerControls(Toolkit& tk, const QuizState& st) {
    using enum Control;
    if (st.NUMBER_OF_POVOROT == 6)
        tk.setVisible(Label1, true);
    if (st.NUMBER_OF_POVOROT == 6)
        tk.setVisible(Text1, true);
    if (st.NUMBER_OF_POVOROT == 6)
        tk.setVisible(Command2, true);
    tk.SetFocus(Text1);
}

} // namespace

void Route_step(Toolkit& tk, QuizState& st, const RunStart& run) {
    const int leg = st.NUMBER_OF_POVOROT.value_or(0); // Empty counts as 0
    switch (leg) {
    case 0: // up the bottom road
        tk.setTop(tervalin, tk.Top(tervalin) - 100);
        if (tk.Top(tervalin) < 4500) {
            countLeg(st);
            tk.setTop(tervalin, 4800);
            turn(tk);
            printLeg(tk, st);
        }
        break;
    case 1: // right along the lower cross road
        tk.setTop(tervalin, 4640);
        tk.setLeft(tervalin, tk.Left(tervalin) + 100);
        if (tk.Left(tervalin) > 10000) {
            countLeg(st);
            printLeg(tk, st);
            tk.setLeft(tervalin, 10000);
            turn(tk);
        }
        break;
    case 2: // up the right road, over the level crossing
        tk.setTop(tervalin, tk.Top(tervalin) - 100);
        stopPause(tk, st);
        if (tk.Ended())
            return;
        if (tk.Top(tervalin) < 200) {
            countLeg(st);
            printLeg(tk, st);
            tk.setTop(tervalin, 300);
            turn(tk);
        }
        break;
    case 3: // left along the top road
        tk.setTop(tervalin, 300);
        tk.setLeft(tervalin, tk.Left(tervalin) - 100);
        if (tk.Left(tervalin) < 500) {
            countLeg(st);
            printLeg(tk, st);
            tk.setLeft(tervalin, 500);
            turn(tk);
        }
        break;
    case 4: // down the left road, pushing avto_blue along
        tk.setTop(tervalin, tk.Top(tervalin) + 120);
        tk.setTop(avto_blue, tk.Top(avto_blue) + 10);
        if (tk.Top(tervalin) > 3640) {
            countLeg(st);
            printLeg(tk, st);
            tk.setTop(tervalin, 3640);
            turn(tk);
        }
        break;
    case 5: // right along the side road
        tk.setTop(tervalin, 3640);
        tk.setLeft(tervalin, tk.Left(tervalin) + 100);
        if (tk.Left(tervalin) > 3500) {
            countLeg(st);
            printLeg(tk, st);
            tk.setLeft(tervalin, 3500);
            turn(tk);
        }
        break;
    case 6: // down, then back to the start
        tk.setTop(tervalin, tk.Top(tervalin) + 100);
        if (tk.Top(tervalin) > 6000) {
            countLeg(st);
            tk.setTop(tervalin, run.START_TOP);
            tk.setLeft(tervalin, run.START_LEFT);
        }
        break;
    default: // the route is over: nothing moves, nothing is drawn
        return;
    }

    tk.Line(QPointF(tk.Left(tervalin), tk.Top(tervalin)), QPointF(*st.X1, st.Y1));

    if (leg == 6)
        answerControls(tk, st);
}

} // namespace tervalin
