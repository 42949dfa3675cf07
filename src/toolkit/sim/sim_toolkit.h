#pragma once

#include "toolkit/toolkit.h"
#include "window/description.h"

#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace tervalin {

// The toolkit on a virtual clock, for tests. Time stands still while a
// handler works and moves only inside waits, so a whole run of the exercise
// is played out in microseconds, the same way every time.
// Timer1 ticks at the description's interval from time 0, the window's creation.
// The user is scripted: clicks, typing, pasting and closing the window
// happen at given virtual times; a message box stays open for a set time and
// is then closed with its OK button, unless the script closes the window
// first. While a message box is open the main window takes no input:
// scripted clicks and typing that fall then are dropped, as a modal box would.
// The keyboard focus follows Qt's rules for an active window: it starts on
// the first control of the focus chain, a click leaves it where it is, and a
// focused control that is hidden or disabled passes it on along the chain.
class SimToolkit : public Toolkit {
public:
    struct Message {
        QString text;
        QString title;
        double openedAt;
        double closedAt;
    };

    SimToolkit();

    // The script.
    void clickAt(double time, Control button);
    // Into the text box with the focus, as Qt's text boxes take them: typed
    // keys that write no printable character are dropped, and the answer box
    // keeps control characters out of what is pasted too.
    void typeAt(double time, const QString& keys);
    void pasteAt(double time, const QString& text);
    void closeWindowAt(double time);
    void setMessageBoxOpenFor(double seconds) { messageOpenFor_ = toMicros(seconds); }

    // The top-level event loop: runs events until `time` or until the program
    // ends. A handler that never returns, like START's, keeps the events
    // running inside it past `time`: script a close of the window to stop it.
    void runUntil(double time) { runEventsUntil(toMicros(time)); }

    // Called whenever a handler starts a wait, with the time and its deadline.
    void setWaitObserver(std::function<void(double now, double deadline)> observer) {
        waitObserver_ = std::move(observer);
    }
    // Called whenever a message box opens, while it is open.
    void setMessageObserver(std::function<void(const Message&)> observer) {
        messageObserver_ = std::move(observer);
    }

    // What a test reads. The focus is the name of the control that has it,
    // as the window description names it; empty for none.
    QString focus() const { return toQString(focus_); }
    const std::vector<Message>& messages() const { return messages_; }
    int focusRequests(Control control) const { return state(control).focusRequests; }
    int showRequests() const { return showRequests_; }
    std::optional<double> endedAt() const { return endedAt_; }

    // Toolkit
    void setVisible(Control c, bool visible) override { set(c, &ControlState::visible, visible); }
    void setEnabled(Control c, bool enabled) override { set(c, &ControlState::enabled, enabled); }
    QString Text(Control textBox) const override { return state(textBox).text; }
    void setText(Control textBox, const QString& text) override { mut(textBox).text = text; }
    void SetFocus(Control textBox) override;
    void WaitEvents(double deadline) override;
    double Timer() const override { return double(now_) / 1e6; }
    bool isVisible(Control control) const override { return state(control).visible; }
    bool isEnabled(Control control) const override { return state(control).enabled; }
    bool messageBoxOpen() const override { return modal_; }

protected:
    void showMessage(const QString& text) override;
    void raiseWindow() override { ++showRequests_; }
    void endProgram() override {
        endedAt_ = Timer();
        focus_ = {}; // the window is gone
    }

private:
    using Micros = std::int64_t;
    static Micros toMicros(double seconds);

    struct ControlState {
        bool visible = true;
        bool enabled = true;
        QString text;
        int focusRequests = 0;
    };

    const ControlState& state(Control c) const { return controls_.at(c); }
    ControlState& mut(Control c) { return controls_.at(c); }
    void set(Control c, bool ControlState::*field, bool value);

    // Runs every event due at or before `until`, in time order, moving the
    // clock to each and then to `until`; stops early when the program ends.
    void runEventsUntil(Micros until);
    // A control in the focus chain that is shown and enabled.
    bool canTakeFocus(std::string_view name) const;
    // What the text box with the focus takes in, unless a message box is open.
    void enterIntoFocusedBox(const QString& text);

    Micros now_ = 0;
    Micros tickInterval_;
    long long ticks_ = 0;
    std::multimap<Micros, std::function<void()>> script_; // the user's actions
    std::map<Control, ControlState> controls_;
    std::string_view focus_;
    Micros messageOpenFor_;
    bool modal_ = false;
    std::vector<Message> messages_;
    int showRequests_ = 0;
    std::optional<double> endedAt_;
    std::function<void(double, double)> waitObserver_;
    std::function<void(const Message&)> messageObserver_;
};

} // namespace tervalin
