#pragma once

#include "window/controls.h"

#include <QWidget>

#include <map>

class QLineEdit;
class QPushButton;

namespace tervalin {

class PictureBox;
class SceneCanvas;
class Toolkit;

// The main window "Tervalin", built from the window description: a fixed
// client area of 754 x 568 pixels holding the scene canvas and, above it,
// the labels, then the sign boxes, text boxes and buttons. It does nothing
// on its own; the toolkit drives it.
class MainForm : public QWidget {
    Q_OBJECT
public:
    explicit MainForm(const Toolkit& scene);

    QWidget* control(Control id) const { return controls_.at(id); }
    QPushButton* button(Control id) const;
    QLineEdit* textBox(Control id) const;
    PictureBox* picture(QStringView name) const;
    SceneCanvas* canvas() const { return canvas_; }

signals:
    // The user asked to close the window (its close box, or the window manager).
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void wireKeyboard();

    SceneCanvas* canvas_;
    std::map<Control, QWidget*> controls_;
};

} // namespace tervalin
