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
    focus_ = focusChain().front();
}

SimToolkit::Micros SimToolkit::toMicros(double seconds) {
    return std::llround(seconds * 1e6);
}

void SimToolkit::clickAt(double time, Control button) {
    script_.emplace(toMicros(time), [this, button] { click(button); });
}

void SimToolkit::typeAt(double time, const QString& keys) {
    QString printable = keys;
    printable.removeIf([](QChar c) { return !c.isPrint(); });
    script_.emplace(toMicros(time), [this, printable] { enterIntoFocusedBox(printable); });
}

void SimToolkit::pasteAt(double time, const QString& text) {
    script_.emplace(toMicros(time), [this, text] { enterIntoFocusedBox(text); });
}

void SimToolkit::enterIntoFocusedBox(const QString& text) {
    for (const TextBoxDesc& box : windowDescription().textBoxes)
        if (!modal_ && box.name == focus_)
            mut(box.id).text += box.id == Control::Text1 ? withoutControlCharacters(text) : text;
}

void SimToolkit::closeWindowAt(double time) {
    script_.emplace(toMicros(time), [this] { End(); });
}

// A focused control that is hidden or disabled passes the focus on to the
// next one along the chain that can take it, round from the chain's end.
void SimToolkit::set(Control control, bool ControlState::*field, bool value) {
    mut(control).*field = value;
    if (value || focus_ != controlName(control))
        return;
    const std::span<const std::string_view> chain = focusChain();
    const auto at = std::find(chain.begin(), chain.end(), focus_) - chain.begin();
    focus_ = {};
    for (std::size_t step = 1; step < chain.size() && focus_.empty(); ++step)
        if (const std::string_view next = chain[(at + step) % chain.size()]; canTakeFocus(next))
            focus_ = next;
}

bool SimToolkit::canTakeFocus(std::string_view name) const {
    const std::span<const std::string_view> chain = focusChain();
    if (std::find(chain.begin(), chain.end(), name) == chain.end())
        return false;
    for (const auto& [control, state] : controls_)
        if (controlName(control) == name)
            return state.visible && state.enabled;
    return true; // a sign box is always shown and enabled
}

void SimToolkit::SetFocus(Control textBox) {
    ++mut(textBox).focusRequests;
    if (canTakeFocus(controlName(textBox)))
        focus_ = controlName(textBox);
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
