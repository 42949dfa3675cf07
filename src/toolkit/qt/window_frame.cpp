#include "toolkit/qt/window_frame.h"

#include "toolkit/qt/accessibility.h"
#include "toolkit/qt/main_form.h"
#include "window/description.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

namespace tervalin {

constexpr int closeBoxSize = 22;
constexpr int closeBoxMargin = 6;
constexpr int titlePixelSize = 14;

std::unique_ptr<WindowFrame> WindowFrame::showWindow(MainForm& form) {
    if (QGuiApplication::platformName().startsWith(u"wayland")) {
        auto frame = std::make_unique<WindowFrame>(form);
        frame->show();
        return frame;
    }
#ifdef Q_OS_WASM
    form.showFullScreen(); // a page frames the window: its canvas holds the client area alone
#else
    form.show();
#endif
#ifdef Q_OS_WIN
    form.activateWindow(); // Windows shows a tool window without giving it the keyboard
#endif
    return nullptr;
}

WindowFrame::WindowFrame(MainForm& form) : form_(form) {
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setWindowTitle(form.windowTitle());
    setWindowIcon(form.windowIcon());
    describeForScreenReaders(*this, windowDescription().window.accessible);

    // The form becomes the frame's client area, keeping the control that
    // has the keyboard focus.
    QWidget* focus = form.focusWidget();
    form.setParent(this, Qt::Widget);
    form.move(0, titleBarHeight);
    form.show();
    if (focus)
        focus->setFocus(Qt::OtherFocusReason);
    setFixedSize(form.width(), titleBarHeight + form.height());

    closeBox_ = new QToolButton(this);
    closeBox_->setObjectName(QStringLiteral("closeBox"));
    describeForScreenReaders(*closeBox_, windowDescription().closeBox);
    closeBox_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    closeBox_->setAutoRaise(true);
    closeBox_->setFocusPolicy(Qt::NoFocus); // the form's tab order stays as it is
    closeBox_->setGeometry(width() - closeBoxMargin - closeBoxSize,
                           (titleBarHeight - closeBoxSize) / 2, closeBoxSize, closeBoxSize);
    connect(closeBox_, &QToolButton::clicked, this, &QWidget::close);
}

// The form belongs to the toolkit, which outlives the frame.
WindowFrame::~WindowFrame() {
    form_.hide();
    form_.setParent(nullptr);
}

void WindowFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect bar(0, 0, width(), titleBarHeight);
    p.fillRect(bar, palette().color(QPalette::Window));
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(bar.bottomLeft(), bar.bottomRight());

    QFont font = p.font();
    font.setPixelSize(titlePixelSize);
    p.setFont(font);
    p.setPen(palette().color(isActiveWindow() ? QPalette::Active : QPalette::Disabled,
                             QPalette::WindowText));
    // Centred over the whole width, and left of the close box when it is long.
    const QRect room = bar.adjusted(closeBoxMargin, 0, -(closeBoxMargin + closeBoxSize), 0);
    const int textWidth = p.fontMetrics().horizontalAdvance(windowTitle());
    QRect text = QRect(0, 0, textWidth, titleBarHeight);
    text.moveCenter(bar.center());
    if (text.right() > room.right())
        text.moveRight(room.right());
    p.drawText(text.intersected(room), Qt::AlignCenter, windowTitle());
}

void WindowFrame::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && event->position().y() < titleBarHeight &&
        windowHandle()) {
        windowHandle()->startSystemMove();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

// Closing the frame is closing the form: the toolkit ends the program.
void WindowFrame::closeEvent(QCloseEvent* event) {
    event->setAccepted(form_.close());
}

void WindowFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange || event->type() == QEvent::WindowTitleChange)
        update(0, 0, width(), titleBarHeight);
    QWidget::changeEvent(event);
}

} // namespace tervalin
