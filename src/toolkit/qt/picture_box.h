#pragma once

#include "window/description.h"

#include <QFrame>
#include <QSvgRenderer>

namespace tervalin {

// A road-sign picture in a sunken box. The picture is drawn at its own pixel
// size from the top-left corner of the box's inner area, rendered from its
// vector source at the screen's resolution; what does not fit is cut off,
// and the box's face colour shows where the picture is smaller.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    PictureBox(const PictureDesc& desc, QWidget* parent);

    QRectF pictureRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PictureDesc& desc_;
    QSvgRenderer renderer_;
};

} // namespace tervalin
