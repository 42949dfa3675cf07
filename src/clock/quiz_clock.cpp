#include "clock/quiz_clock.h"

#include "toolkit/numbers.h"
#include "toolkit/toolkit.h"
#include "window/quiz_state.h"

namespace tervalin {

// Twenty ticks make a second. Each roll-over is an equality test of its own,
// made after the one before it, so one tick can carry through every level.
void Timer1_Tick(Toolkit& tk, QuizState& st) {
    st.ds += 1;
    if (st.ds == 20) {
        st.ds = 0;
        st.s += 1;
    }
    if (st.s == 60) {
        st.s = 0;
        st.m += 1;
    }
    if (st.m == 60) {
        st.m = 0;
        st.h += 1;
    }
    if (st.h == 24)
        st.h = 0;
    if (st.START_MODEL)
        tk.setText(Control::Text2, Format(st.m, u"0#"));
}

} // namespace tervalin
