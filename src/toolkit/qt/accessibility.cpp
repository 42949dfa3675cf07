#include "toolkit/qt/accessibility.h"

#include "toolkit/qt/main_form.h"
#include "toolkit/qt/picture_box.h"
#include "toolkit/qt/scene_canvas.h"
#include "window/description.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace tervalin {
namespace {

// The sign boxes and the scene are pictures: read them as graphics, not as
// the bare frame or client area their widget classes would suggest. The
// main window is read as a window, not as a plain client area.
QAccessibleInterface* roleFactory(const QString&, QObject* object) {
    if (qobject_cast<PictureBox*>(object) || qobject_cast<SceneCanvas*>(object))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    if (auto* form = qobject_cast<MainForm*>(object))
        return new QAccessibleWidget(form, QAccessible::Window);
    return nullptr;
}

} // namespace

void describeForScreenReaders(QWidget& widget, const AccessibleText& text) {
    if (!text.name.empty()) // else Qt reads the caption, or a window's title
        widget.setAccessibleName(toQString(text.name));
    widget.setAccessibleDescription(toQString(text.description));
}

void describeForAssistiveTechnology(MainForm& form) {
    QAccessible::installFactory(roleFactory); // once: Qt keeps no factory twice

    const Description& d = windowDescription();
    const auto describeAll = [&form](const auto& table) {
        for (const auto& control : table)
            describeForScreenReaders(*form.widget(control.name), control.accessible);
    };
    // The window's name is its caption, also where it is no top-level window
    // of its own (inside the frame the program draws on Wayland).
    describeForScreenReaders(form, {d.window.caption, d.window.accessible.description});
    describeForScreenReaders(*form.canvas(), d.scene);
    describeAll(d.buttons);
    describeAll(d.textBoxes);
    describeAll(d.labels);
    describeAll(d.pictures);
    static_cast<QLabel*>(form.control(Control::Label1))->setBuddy(form.textBox(Control::Text1));
}

} // namespace tervalin
