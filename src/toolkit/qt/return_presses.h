#pragma once

#include <QObject>

#include <map>

class QPushButton;
class QWidget;

namespace tervalin {

// Return and keypad Enter press a push button: the focused button itself,
// or, from a text box, the button that box answers to while that button is
// shown and enabled. The press is the button's own click, so whatever
// drops a click (a hidden or disabled button, a handler still running)
// drops the key as well. A key held down presses once; a disabled control
// takes no key. The key is consumed either way.
class ReturnPresses : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Return on `button` presses it.
    void watch(QPushButton* button);
    // Return in `source` presses `target`.
    void watch(QWidget* source, QPushButton* target);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::map<const QObject*, QPushButton*> targets_;
};

} // namespace tervalin
