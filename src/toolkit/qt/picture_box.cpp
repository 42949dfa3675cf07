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

// The sign is rendered onto a transparent pixmap and laid over the face;
// the face and the sunken border are painted every time, in the palette's
// current colours. The border is two window pixels deep at any device
// pixel ratio, darker shades at the top and left, lighter at the bottom and
// right: the style's own panel would be one device pixel per shade on a
// high-resolution screen.
void PictureBox::paintEvent(QPaintEvent*) {
    const double dpr = devicePixelRatioF();
    if (sign_.isNull() || sign_.devicePixelRatio() != dpr) {
        sign_ = QPixmap(int(std::ceil(desc_.pictureWidth * dpr)),
                        int(std::ceil(desc_.pictureHeight * dpr)));
        sign_.setDevicePixelRatio(dpr);
        sign_.fill(Qt::transparent);
        QPainter p(&sign_);
        QSvgRenderer(toQString(desc_.resource))
            .render(&p, QRectF(0, 0, desc_.pictureWidth, desc_.pictureHeight));
    }
    const QPalette& pal = palette();
    QPainter p(this);
    p.fillRect(rect(), pal.button());
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
    p.drawPixmap(2, 2, sign_);
}

} // namespace tervalin
