#include "toolkit/sim/sim_toolkit.h"

#include "window/description.h"

#include <algorithm>
#include <cmath>

namespace tervalin {

SimToolkit::SimToolkit()
    : tickInterval_(toMicros(windowDescription().timer1.intervalMs / 1000.0)),
      messageOpenFor_(toMicros(1.0)) {
    const auto show = [this](const auto& descs) {
        for (const auto& d : descs)
            controls_[d.id].visible = d.visible;
    };
    show(windowDescription().buttons);
    show(windowDescription().textBoxes);
    show(windowDescription().labels);
    focus_ = Control::Command1; // first in the tab order
}

SimToolkit::Micros SimToolkit::toMicros(double seconds) {
    return std::llround(seconds * 1e6);
}

void SimToolkit::clickAt(double time, Control button) {
    script_.emplace(toMicros(time), [this, button] {
        if (takesClicks(button))
            focus_ = button; // pressing a button focuses it
        click(button);
    });
}

void SimToolkit::typeAt(double time, const QString& keys) {
    script_.emplace(toMicros(time), [this, keys] {
        if (!modal_ && (focus_ == Control::Text1 || focus_ == Control::Text2) &&
            canTakeFocus(*focus_))
            mut(*focus_).text += *focus_ == Control::Text1 ? withoutControlCharacters(keys) : keys;
    });
}

void SimToolkit::closeWindowAt(double time) {
    script_.emplace(toMicros(time), [this] { End(); });
}

// A control that is hidden or disabled loses the focus.
void SimToolkit::set(Control control, bool ControlState::*field, bool value) {
    mut(control).*field = value;
    if (!value && focus_ == control)
        focus_.reset();
}

bool SimToolkit::canTakeFocus(Control c) const {
    return c != Control::Label1 && c != Control::Label2 && state(c).visible && state(c).enabled;
}

void SimToolkit::SetFocus(Control textBox) {
    ++mut(textBox).focusRequests;
    if (canTakeFocus(textBox))
        focus_ = textBox;
}

bool SimToolkit::takesClicks(Control button) const {
    return !modal_ && state(button).visible && state(button).enabled;
}

void SimToolkit::showMessage(const QString& text) {
    messages_.push_back({text, toQString(windowDescription().applicationTitle), Timer(), Timer()});
    const std::size_t index = messages_.size() - 1;
    const Micros closeAt = now_ + messageOpenFor_;
    const bool wasModal = modal_; // a box opened from inside another box's events
    modal_ = true;
    if (messageObserver_)
        messageObserver_(messages_[index]);
    runEventsUntil(closeAt);
    modal_ = wasModal;
    messages_[index].closedAt = Timer();
}

void SimToolkit::WaitEvents(double deadline) {
    if (waitObserver_)
        waitObserver_(Timer(), deadline);
    // Round up, so that the clock reads at least the deadline afterwards.
    Micros until = toMicros(deadline);
    if (double(until) / 1e6 < deadline)
        ++until;
    runEventsUntil(until);
}

// A tick and a scripted event due at the same time: the tick goes first.
void SimToolkit::runEventsUntil(Micros until) {
    while (!Ended()) {
        const Micros tickAt = hasTickHandler() ? (ticks_ + 1) * tickInterval_ : INT64_MAX;
        const Micros eventAt = script_.empty() ? INT64_MAX : script_.begin()->first;
        if (std::min(tickAt, eventAt) > until)
            break;
        now_ = std::max(now_, std::min(tickAt, eventAt));
        if (tickAt <= eventAt) {
            ++ticks_;
            tick();
        } else {
            const std::function<void()> event = script_.begin()->second;
            script_.erase(script_.begin());
            event();
        }
    }
    if (!Ended() && now_ < until)
        now_ = until;
}

} // namespace tervalin
