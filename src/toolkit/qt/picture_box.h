#pragma once

#include "window/description.h"

#include <QFrame>
#include <QPixmap>
#include <QSvgRenderer>

namespace tervalin {

// A road-sign picture in a sunken box 2 pixels deep on the button-face
// colour. The picture is drawn at its own pixel size from the top-left
// corner of the box's inner area; what does not fit is cut off, and the
// face colour shows where the picture is smaller. The picture is rendered
// from its vector source once per device pixel ratio and kept as a pixmap.
// The box keeps its place in the tab order but reacts to nothing, so it
// draws no focus frame when the focus reaches it, whatever the style.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    PictureBox(const PictureDesc& desc, QWidget* parent);

    // Where the picture stands, in the box's own pixels (before clipping).
    QRectF pictureRect() const;
    // How often the vector source has been rendered.
    int renderCount() const { return renders_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QPixmap& picture();
    void paintFrame(QPainter& painter) const;

    const PictureDesc& desc_;
    QSvgRenderer renderer_;
    QPixmap picture_;
    int renders_ = 0;
};

} // namespace tervalin
