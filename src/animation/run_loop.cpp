#include "animation/run_loop.h"

#include "animation/route.h"
#include "animation/traffic.h"
#include "toolkit/numbers.h"
#include "toolkit/toolkit.h"
#include "window/description.h"
#include "window/quiz_state.h"

namespace tervalin {

void Command1_Click(Toolkit& tk, QuizState& st) {
    using enum Control;
    using enum Shape;

    tk.setVisible(Command1, false); // uncovers the clock box Text2
    tk.setVisible(Command2, false);
    tk.setVisible(Label2, true);
    tk.setVisible(Label1, false);
    st.START_MODEL = true;
    const RunStart run{.START_TOP = tk.Top(tervalin), .START_LEFT = tk.Left(tervalin)};

    while (!tk.Ended()) {
        if (st.m > 3) {
            tk.MsgBox(toQString(windowDescription().messages.timeOut));
            tk.End();
            return;
        }
        st.Y1 = CInt(tk.Top(tervalin));
        st.X1 = tk.Left(tervalin);
        Route_step(tk, st, run);
        if (tk.Ended())
            return;
        Traffic_step(tk);
        Pacing_wait(tk);
    }
}

// The wait start is kept in double precision, so that a frame lasts 0.03 s
// however long the window has been open.
void Pacing_wait(Toolkit& tk) {
    const double waitStart = tk.Timer();
    const double waitLength = 0.03;
    while (tk.Timer() < waitStart + waitLength && !tk.Ended())
        tk.WaitEvents(waitStart + waitLength);
}

} // namespace tervalin
