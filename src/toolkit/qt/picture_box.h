#pragma once

#include "window/description.h"

#include <QPixmap>
#include <QWidget>

namespace tervalin {

// A road-sign picture in a sunken box 2 pixels deep on the button-face
// colour. The picture is drawn at its own pixel size from the top-left
// corner of the box's inner area; what does not fit is cut off, and the
// face colour shows where the picture is smaller. The sign is rendered
// from its vector source once per device pixel ratio and kept as a pixmap.
// The box keeps its place in the tab order but reacts to nothing, so it
// draws no focus frame when the focus reaches it.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(const PictureDesc& desc, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const PictureDesc& desc_;
    QPixmap sign_;
};

} // namespace tervalin
