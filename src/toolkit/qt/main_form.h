#pragma once

#include "window/controls.h"

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <map>

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
    QPushButton* button(Control id) const { return qobject_cast<QPushButton*>(control(id)); }
    QLineEdit* textBox(Control id) const { return qobject_cast<QLineEdit*>(control(id)); }
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
