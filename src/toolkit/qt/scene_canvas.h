#pragma once

#include <QFont>
#include <QWidget>

namespace tervalin {

class SceneToolkit;

// The window's own surface and what lies directly on it: the light-grey
// ground, what Line and Print have drawn, the road lines and the vehicles,
// in that order from the bottom. The sign boxes, labels, text boxes and
// buttons are child widgets of the window above it.
class SceneCanvas : public QWidget {
    Q_OBJECT
public:
    SceneCanvas(const SceneToolkit& scene, QWidget* parent);

    // Repaints the area of the given twips rectangle, or everything for a null one.
    void repaintTwips(const QRectF& dirty);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const SceneToolkit& scene_;
    QFont printFont_;
};

} // namespace tervalin
