#pragma once

#include <QString>

namespace tervalin {

class Toolkit;
struct QuizState;

// The two verdicts, exactly as the user reads them.
inline const QString kWrongAnswer =
    QStringLiteral("НЕ ВЕРНО ! НАРУШЕНИЙ НЕБЫЛО  ПРОАНАЛИЗИРУИТЕ КАЖДЫЙ УЧАСТОК ");
inline const QString kRightAnswer = QStringLiteral("  ПРАВИЛЬНЫЙ ОТВЕТ НАРУШЕНИЙ НЕБЫЛО");

// The click handler of the answer button: reads the count typed into Text1,
// says whether it is right (the vehicle commits no violation), then wipes
// the track and puts the answer controls away.
void Command2_Click(Toolkit& tk, QuizState& st);

} // namespace tervalin
