#pragma once

#include "window/description.h"

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <map>
#include <string_view>

namespace tervalin {

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

    // The control of that name in the window description. A name the window
    // does not hold, or a control of another kind, ends the program with a
    // message that names it.
    QWidget* widget(std::string_view name) const;
    QWidget* control(Control id) const { return widget(controlName(id)); }
    QPushButton* button(Control id) const { return as<QPushButton>(id); }
    QLineEdit* textBox(Control id) const { return as<QLineEdit>(id); }
    SceneCanvas* canvas() const { return canvas_; }

signals:
    // The user asked to close the window (its close box, or the window manager).
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    template <typename Kind> Kind* as(Control id) const {
        auto* w = qobject_cast<Kind*>(control(id));
        if (!w)
            qFatal("The control %s is no %s", qPrintable(control(id)->objectName()),
                   Kind::staticMetaObject.className());
        return w;
    }
    void buildControls();
    void wireKeyboard();

    SceneCanvas* canvas_;
    std::map<std::string_view, QWidget*> widgets_; // by the description's names
};

} // namespace tervalin
