#include "toolkit/qt/return_presses.h"

#include <QKeyEvent>
#include <QPushButton>

namespace tervalin {

void ReturnPresses::watch(QPushButton* button) {
    watch(button, button);
}

void ReturnPresses::watch(QWidget* source, QPushButton* target) {
    targets_[source] = target;
    source->installEventFilter(this);
}

bool ReturnPresses::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    const auto it = targets_.find(watched);
    if (it == targets_.end())
        return false;
    // An event filter sees the keys before the widget can refuse them.
    const auto* source = static_cast<QWidget*>(watched);
    QPushButton* target = it->second;
    if (!key->isAutoRepeat() && source->isEnabled() && target->isVisible() && target->isEnabled())
        target->click();
    return true;
}

} // namespace tervalin
