#pragma once

class QWidget;

namespace tervalin {

class MainForm;
struct AccessibleText;

// Gives the window, the scene canvas and every control and sign the name
// and description the window description holds for screen readers. The
// window is presented as a window, the sign boxes and the canvas as
// graphics, and the answer prompt labels the answer box. Call once, when
// the window's controls exist.
void describeForAssistiveTechnology(MainForm& form);

// Names and describes one widget; an empty name leaves Qt's reading of its
// caption or title.
void describeForScreenReaders(QWidget& widget, const AccessibleText& text);

} // namespace tervalin
