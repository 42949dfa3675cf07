#include "toolkit/qt/scene_canvas.h"

#include "toolkit/qt/fonts.h"
#include "toolkit/qt/system_colours.h"
#include "toolkit/toolkit.h"
#include "window/description.h"
#include "window/twips.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>
#include <utility>

namespace tervalin {
namespace {

QPoint pixelOf(QPointF twips) {
    return {int(std::lround(toPixels(twips.x()))), int(std::lround(toPixels(twips.y())))};
}

// A straight line in window pixels, through the centres of the pixels of its
// ends; either end may come first. A slanting one (a track segment across a
// turn) has round ends. A horizontal or vertical one has its ends placed
// here, not by Qt's square cap, whose end falls on either side of half a
// device pixel: a wide one reaches half its width past both ends, so that
// road edges meet in clean corners, and a 1-pixel one covers its first
// pixel but not its last.
void drawLine(QPainter& p, QPointF fromTwips, QPointF toTwips, const QColor& colour, int width,
              LineStyle style, const QRect& area) {
    if (style != LineStyle::Solid)
        width = 1; // styled lines are always 1 pixel wide
    QPointF a = QPointF(pixelOf(fromTwips)) + QPointF(0.5, 0.5);
    QPointF b = QPointF(pixelOf(toTwips)) + QPointF(0.5, 0.5);
    if (b.x() + b.y() < a.x() + a.y())
        std::swap(a, b); // dashes start at the top or left end
    QPen pen(colour, width,
             style == LineStyle::Dash      ? Qt::DashLine
             : style == LineStyle::DashDot ? Qt::DashDotLine
                                           : Qt::SolidLine,
             Qt::RoundCap, Qt::RoundJoin);
    if (a.x() == b.x() || a.y() == b.y()) {
        const QPointF unit = a.y() == b.y() ? QPointF(1, 0) : QPointF(0, 1);
        a -= unit * (width > 1 ? width / 2.0 : 0.5);
        b += unit * (width > 1 ? width / 2.0 : -0.5);
        pen.setCapStyle(Qt::FlatCap);
    }
    if (!QRectF(a, b).normalized().adjusted(-width, -width, width, width).intersects(area))
        return;
    p.setPen(pen);
    p.drawLine(a, b);
}

// A vehicle: an opaque body with a 1-pixel outline inside its rectangle.
// Vertical hatch lines stand in every 8th column of the window, at columns
// 4, 12, 20, ..., so the pattern does not crawl while the car drives along y.
void drawShape(QPainter& p, const ShapeDesc& desc, const Toolkit::Geometry& g,
               const QPalette& palette) {
    const QRectF r = toPixels(g.left, g.top, g.width, g.height);
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(r, resolveColour(desc.body, palette));
    const QRectF inner = r.adjusted(1, 1, -1, -1);
    if (desc.look == ShapeLook::VerticalHatch && !inner.isEmpty())
        for (double x = std::ceil((inner.left() - 4) / 8) * 8 + 4; x + 1 <= inner.right(); x += 8)
            p.fillRect(QRectF(x, inner.top(), 1, inner.height()),
                       resolveColour(desc.hatchColor, palette));
    p.setPen(QPen(resolveColour(desc.borderColor, palette), 1,
                  desc.dashedBorder ? Qt::DashLine : Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace

SceneCanvas::SceneCanvas(const Toolkit& scene, QWidget* parent) : QWidget(parent), scene_(scene) {
    setFont(toQFont(windowDescription().window.font)); // of text printed on the window
    setObjectName(QStringLiteral("scene"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    const WindowDesc& w = windowDescription().window;
    setGeometry(0, 0, int(toPixels(w.clientWidth)), int(toPixels(w.clientHeight)));
}

void SceneCanvas::repaintTwips(const QRectF& dirty) {
    if (dirty.isNull()) {
        update();
        return;
    }
    // Strokes reach past the geometry by up to half the widest line, and
    // the end pixel of a line lies right of or below its end point.
    const QRectF pixels = QRectF(toPixels(dirty.topLeft()), toPixels(dirty.bottomRight()));
    update(pixels.toAlignedRect().adjusted(-3, -3, 3, 3));
}

void SceneCanvas::paintEvent(QPaintEvent* event) {
    if (!std::exchange(painted_, true))
        emit firstPainted();
    QPainter p(this);
    const QRect area = event->rect();
    const WindowDesc& w = windowDescription().window;
    p.fillRect(area, resolveColour(w.backColor, palette()));

    const QColor foreColour = resolveColour(w.foreColor, palette());
    p.setPen(foreColour);
    for (const DrawingSurface::Item& item : scene_.surface().items) {
        if (item.kind == DrawingSurface::Item::Kind::Line)
            drawLine(p, item.from, item.to, foreColour, w.drawWidth, LineStyle::Solid, area);
        else
            p.drawText(QPointF(pixelOf(item.from)) + QPointF(0, QFontMetricsF(font()).ascent()),
                       item.text);
    }
    for (const LineDesc& line : windowDescription().lines)
        drawLine(p, QPointF(line.x1, line.y1), QPointF(line.x2, line.y2),
                 resolveColour(line.borderColor, palette()), line.borderWidth, line.borderStyle,
                 area);
    for (const ShapeDesc& shape : windowDescription().shapes)
        drawShape(p, shape, scene_.geometry(shape.id), palette());
}

} // namespace tervalin
