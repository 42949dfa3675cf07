#pragma once

#include "toolkit/toolkit.h"

#include <QString>

namespace tervalin::test {

// The messages exactly as the user reads them, spelled out here rather than
// taken from the code under test.
inline const QString kRightVerdict = QStringLiteral("  ПРАВИЛЬНЫЙ ОТВЕТ НАРУШЕНИЙ НЕБЫЛО");
inline const QString kWrongVerdict =
    QStringLiteral("НЕ ВЕРНО ! НАРУШЕНИЙ НЕБЫЛО  ПРОАНАЛИЗИРУИТЕ КАЖДЫЙ УЧАСТОК ");
inline const QString kTimeUp = QStringLiteral(" ВРЕМЯ   ИСТЕКЛО !");

// The window as the last leg of a run leaves it: START gone, the answer
// controls shown and the focus in the answer box.
inline void showAnswerControls(Toolkit& tk) {
    tk.setVisible(Control::Command1, false);
    tk.setVisible(Control::Label1, true);
    tk.setVisible(Control::Text1, true);
    tk.setVisible(Control::Command2, true);
    tk.SetFocus(Control::Text1);
}

} // namespace tervalin::test
