#include "toolkit/qt/qt_toolkit.h"

#include "toolkit/qt/scene_canvas.h"
#include "window/description.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <cmath>

namespace tervalin {

QtToolkit::QtToolkit() : form_(*this) {
    clock_.start();
    intervalMs_ = mainWindow().timers.front().intervalMs;
    timer1_.setTimerType(Qt::PreciseTimer);
    timer1_.setInterval(intervalMs_);
    QObject::connect(&timer1_, &QTimer::timeout, &form_, [this] { deliverTicks(); });
    timer1_.start();

    wake_ = std::make_unique<Wake>();

    QObject::connect(&form_, &MainForm::closeRequested, &form_, [this] { End(); });
    connectClicks();

    frameLog_.open(FrameLog::pathFromEnvironment());
}

QtToolkit::~QtToolkit() {
    timer1_.stop();
}

void QtToolkit::deliverTicks() {
    const long long due = clock_.elapsed() / intervalMs_;
    while (ticksDelivered_ < due && !Ended()) {
        ++ticksDelivered_;
        tick();
    }
}

// The click reaches the handler from the event loop once the button has
// finished its own click handling, so a handler that runs for long leaves no
// button half-pressed.
void QtToolkit::connectClicks() {
    for (const Control button : {Control::Command1, Control::Command2})
        QObject::connect(
            form_.button(button), &QPushButton::clicked, &form_, [this, button] { click(button); },
            Qt::QueuedConnection);
}

bool QtToolkit::takesClicks(Control button) const {
    const QWidget* w = form_.button(button);
    return w->isVisible() && w->isEnabled() && !QApplication::activeModalWidget();
}

void QtToolkit::setVisible(Control control, bool visible) {
    form_.control(control)->setVisible(visible);
}

void QtToolkit::setEnabled(Control control, bool enabled) {
    form_.control(control)->setEnabled(enabled);
}

QString QtToolkit::Text(Control textBox) const {
    return form_.textBox(textBox)->text();
}

void QtToolkit::setText(Control textBox, const QString& text) {
    form_.textBox(textBox)->setText(text);
}

// Qt itself refuses the focus to a hidden or disabled widget.
void QtToolkit::SetFocus(Control textBox) {
    form_.textBox(textBox)->setFocus(Qt::OtherFocusReason);
}

void QtToolkit::raiseWindow() {
    form_.show();
    form_.raise();
    form_.activateWindow();
}

void QtToolkit::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, toQString(mainWindow().applicationTitle), text,
                    QMessageBox::Ok, &form_);
    box.exec();
}

void QtToolkit::DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtToolkit::WaitEvents(double deadline) {
    if (Ended())
        return;
    frameLog_.wait(Timer(), deadline); // once per wait: it calls again after every event
    const double remaining = deadline - Timer();
    if (remaining <= 0) {
        DoEvents();
        return;
    }
    wake_->after(remaining);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtToolkit::endProgram() {
    timer1_.stop();
    wake_->stop();
    form_.hide();
    QCoreApplication::exit(0);
}

void QtToolkit::sceneChanged(const QRectF& dirty) {
    form_.canvas()->repaintTwips(dirty);
}

} // namespace tervalin
