#include "answer/answer_check.h"

#include "toolkit/numbers.h"
#include "toolkit/toolkit.h"
#include "window/description.h"
#include "window/quiz_state.h"

namespace tervalin {

void Command2_Click(Toolkit& tk, QuizState& st) {
    using enum Control;
    tk.SetFocus(Text1);
    // A count beyond the 16-bit range is clamped to it, so it stays non-zero
    // and is judged wrong like any other.
    st.OTVET = CInt(Val(tk.Text(Text1)));
    if (st.OTVET != 0)
        tk.MsgBox(toQString(windowDescription().messages.wrongAnswer));
    if (st.OTVET == 0)
        tk.MsgBox(toQString(windowDescription().messages.rightAnswer));
    if (tk.Ended())
        return; // the window was closed while the verdict was shown
    tk.Cls();
    tk.setEnabled(Text1, false);
    tk.setVisible(Command2, false);
    tk.Show();
}

} // namespace tervalin
