#pragma once

#include <QWidget>

#include <memory>

class QToolButton;

namespace tervalin {

class MainForm;

// The main window's frame, drawn by the program itself where the platform
// would otherwise have Qt draw one with buttons the window must not have.
// Qt's own Wayland decorations always offer minimise and maximise, whatever
// the window's flags and size; this frame has a title bar with the whole
// title and only a close box, and cannot be resized. Pressing the title bar
// moves the window, the close box asks the form to close as a window
// manager would. On X11 the desktop draws the frame from the form's hints,
// and no frame of the program's own is needed.
class WindowFrame : public QWidget {
    Q_OBJECT
public:
    // Shows the form as this platform needs it: in a frame of the program's
    // own where it draws the frame itself (returned), else in the desktop's.
    static std::unique_ptr<WindowFrame> showWindow(MainForm& form);

    explicit WindowFrame(MainForm& form);
    ~WindowFrame() override;

    static constexpr int titleBarHeight = 30;
    QToolButton* closeBox() const { return closeBox_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    MainForm& form_;
    QToolButton* closeBox_;
};

} // namespace tervalin
