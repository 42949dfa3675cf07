#pragma once

namespace tervalin {

class MainForm;

// Gives the window, the scene and every control and sign a Russian name and
// description for screen readers: the buttons and labels read their
// captions, the text boxes what they hold ("Число нарушений", "Минуты"),
// each sign box the sign it shows and where it stands, and the scene canvas
// what it draws. The window is presented as a window, the sign boxes and
// the canvas as graphics.
// The answer prompt labels the answer box. Call once, when the window's
// controls exist.
void describeForAssistiveTechnology(MainForm& form);

} // namespace tervalin
