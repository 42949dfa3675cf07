#include "toolkit/qt/picture_box.h"

#include "window/twips.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace tervalin {

PictureBox::PictureBox(const PictureDesc& desc, QWidget* parent)
    : QFrame(parent), desc_(desc),
      renderer_(QString::fromUtf8(desc.resource.data(), qsizetype(desc.resource.size()))) {
    setObjectName(QString::fromUtf8(desc.name.data(), qsizetype(desc.name.size())));
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken); // 2 pixels, sunken
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::TabFocus);
    setGeometry(toPixels(desc.left, desc.top, desc.width, desc.height).toRect());
}

QRectF PictureBox::pictureRect() const {
    return QRectF(contentsRect().topLeft(), QSizeF(desc_.pictureWidth, desc_.pictureHeight));
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    renderer_.render(&painter, pictureRect());
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = contentsRect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

} // namespace tervalin
