#pragma once

namespace tervalin {

class Toolkit;
struct QuizState;

// The click handler of the answer button: reads the count typed into Text1,
// says whether it is right (the vehicle commits no violation), then wipes
// the track and puts the answer controls away.
void Command2_Click(Toolkit& tk, QuizState& st);

} // namespace tervalin
