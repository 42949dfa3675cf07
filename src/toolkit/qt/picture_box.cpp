#include "toolkit/qt/picture_box.h"

#include "window/twips.h"

#include <QPainter>

#include <cmath>

namespace tervalin {

PictureBox::PictureBox(const PictureDesc& desc, QWidget* parent)
    : QFrame(parent), desc_(desc), renderer_(toQString(desc.resource)) {
    setObjectName(toQString(desc.name));
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken); // 2 pixels, sunken
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::TabFocus);
    setGeometry(toPixels(desc.left, desc.top, desc.width, desc.height).toRect());
}

QRectF PictureBox::pictureRect() const {
    return QRectF(contentsRect().topLeft(), QSizeF(desc_.pictureWidth, desc_.pictureHeight));
}

const QPixmap& PictureBox::picture() {
    const double dpr = devicePixelRatioF();
    if (!picture_.isNull() && picture_.devicePixelRatio() == dpr)
        return picture_;
    const QSizeF size(desc_.pictureWidth, desc_.pictureHeight);
    QPixmap pixmap(int(std::ceil(size.width() * dpr)), int(std::ceil(size.height() * dpr)));
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer_.render(&painter, QRectF(QPointF(0, 0), size));
    painter.end();
    picture_ = pixmap;
    ++renders_;
    return picture_;
}

// The sunken border, two window pixels deep at any device pixel ratio:
// the style's own panel is one device pixel per shade on a high-resolution
// screen. Darker shades at the top and left, lighter at the bottom and right.
void PictureBox::paintFrame(QPainter& painter) const {
    const QPalette& pal = palette();
    const QRectF r = rect();
    const std::pair<QColor, QColor> shades[] = {
        {pal.color(QPalette::Dark), pal.color(QPalette::Light)},
        {pal.color(QPalette::Shadow), pal.color(QPalette::Midlight)}};
    for (int depth = 0; depth < 2; ++depth) {
        const QRectF ring = r.adjusted(depth, depth, -depth, -depth);
        const auto& [topLeft, bottomRight] = shades[depth];
        painter.fillRect(QRectF(ring.left(), ring.bottom() - 1, ring.width(), 1), bottomRight);
        painter.fillRect(QRectF(ring.right() - 1, ring.top(), 1, ring.height()), bottomRight);
        painter.fillRect(QRectF(ring.left(), ring.top(), ring.width() - 1, 1), topLeft);
        painter.fillRect(QRectF(ring.left(), ring.top(), 1, ring.height() - 1), topLeft);
    }
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintFrame(painter);
    painter.setClipRect(contentsRect());
    painter.drawPixmap(contentsRect().topLeft(), picture());
}

} // namespace tervalin
