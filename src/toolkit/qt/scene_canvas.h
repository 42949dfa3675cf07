#pragma once

#include <QWidget>

namespace tervalin {

class Toolkit;

// The window's own surface and what lies directly on it: the light-grey
// ground, what Line and Print have drawn, the road lines and the vehicles,
// in that order from the bottom. The sign boxes, labels, text boxes and
// buttons are child widgets of the window above it.
// Lines are drawn with Qt's pens and vehicles filled, without antialiasing,
// so they stay sharp and keep their widths at any device pixel ratio.
class SceneCanvas : public QWidget {
    Q_OBJECT
public:
    SceneCanvas(const Toolkit& scene, QWidget* parent);

    // Repaints the area of the given twips rectangle, or everything for a null one.
    void repaintTwips(const QRectF& dirty);

signals:
    void firstPainted(); // the window shows its scene for the first time

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Toolkit& scene_;
    bool painted_ = false;
};

} // namespace tervalin
