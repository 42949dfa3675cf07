#include "toolkit/qt/picture_box.h"

#include "window/twips.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace tervalin {

PictureBox::PictureBox(const PictureDesc& desc, QWidget* parent) : QWidget(parent), desc_(desc) {
    setObjectName(toQString(desc.name));
    setFocusPolicy(Qt::TabFocus);
    setGeometry(toPixels(desc.left, desc.top, desc.width, desc.height).toRect());
}

// The sunken border is two window pixels deep at any device pixel ratio,
// darker shades at the top and left, lighter at the bottom and right: the
// style's own panel would be one device pixel per shade on a
// high-resolution screen.
void PictureBox::drawLook() {
    const double dpr = devicePixelRatioF();
    look_ = QPixmap(int(std::ceil(width() * dpr)), int(std::ceil(height() * dpr)));
    look_.setDevicePixelRatio(dpr);
    const QPalette& pal = palette();
    lookPalette_ = pal.cacheKey();
    look_.fill(pal.color(QPalette::Button));
    QPainter p(&look_);
    const std::pair<QColor, QColor> shades[] = {
        {pal.color(QPalette::Dark), pal.color(QPalette::Light)},
        {pal.color(QPalette::Shadow), pal.color(QPalette::Midlight)}};
    for (int depth = 0; depth < 2; ++depth) {
        const QRectF ring = QRectF(rect()).adjusted(depth, depth, -depth, -depth);
        const auto& [topLeft, bottomRight] = shades[depth];
        p.fillRect(QRectF(ring.left(), ring.bottom() - 1, ring.width(), 1), bottomRight);
        p.fillRect(QRectF(ring.right() - 1, ring.top(), 1, ring.height()), bottomRight);
        p.fillRect(QRectF(ring.left(), ring.top(), ring.width() - 1, 1), topLeft);
        p.fillRect(QRectF(ring.left(), ring.top(), 1, ring.height() - 1), topLeft);
    }
    p.setClipRect(rect().adjusted(2, 2, -2, -2));
    QSvgRenderer(toQString(desc_.resource))
        .render(&p, QRectF(2, 2, desc_.pictureWidth, desc_.pictureHeight));
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (look_.isNull() || look_.devicePixelRatio() != devicePixelRatioF() ||
        lookPalette_ != palette().cacheKey())
        drawLook();
    QPainter(this).drawPixmap(0, 0, look_);
}

} // namespace tervalin
