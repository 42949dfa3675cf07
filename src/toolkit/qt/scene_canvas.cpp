#include "toolkit/qt/scene_canvas.h"

#include "toolkit/qt/fonts.h"
#include "toolkit/qt/system_colours.h"
#include "toolkit/scene_toolkit.h"
#include "window/description.h"
#include "window/twips.h"

#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace tervalin {
namespace {

// Every edge is put on the device-pixel grid, so lines and vehicles stay
// sharp at any device pixel ratio.
double snap(double pixels, double dpr) { return std::round(pixels * dpr) / dpr; }

QPointF snapPoint(QPointF twips, double dpr) {
    const QPointF p = toPixels(twips);
    return {snap(p.x(), dpr), snap(p.y(), dpr)};
}

// A line `width` pixels wide, centred on the pixel row or column of its
// coordinates. Wide lines get square ends, so road edges meet in clean
// corners; a 1-pixel line stops short of its end point.
void drawLine(QPainter& p, QPointF from, QPointF to, const QColor& colour, int width,
              Qt::PenStyle style) {
    QPen pen(colour, width, style, width > 1 ? Qt::SquareCap : Qt::FlatCap, Qt::MiterJoin);
    p.setPen(pen);
    const QPointF centre(width % 2 ? 0.5 : 0.0, width % 2 ? 0.5 : 0.0);
    p.drawLine(from + centre, to + centre);
}

Qt::PenStyle penStyle(LineStyle style) {
    switch (style) {
    case LineStyle::Dash:
        return Qt::DashLine;
    case LineStyle::DashDot:
        return Qt::DashDotLine;
    case LineStyle::Solid:
        break;
    }
    return Qt::SolidLine;
}

// A vehicle: an opaque body with a 1-pixel outline inside its rectangle,
// cyan ones hatched with vertical lines every 8 pixels of the window.
void drawShape(QPainter& p, const ShapeDesc& desc, const SceneToolkit::Geometry& g, double dpr,
               const QPalette& palette) {
    const QPointF topLeft = snapPoint({g.left, g.top}, dpr);
    const QPointF bottomRight = snapPoint({g.left + g.width, g.top + g.height}, dpr);
    const QRectF body(topLeft, bottomRight);
    if (body.isEmpty())
        return;
    p.fillRect(body, resolveColour(desc.body, palette));
    if (desc.look == ShapeLook::VerticalHatch) {
        p.setPen(QPen(resolveColour(desc.hatchColor, palette), 1));
        for (double x = std::ceil(body.left() / 8) * 8; x < body.right(); x += 8)
            p.drawLine(QPointF(x + 0.5, body.top()), QPointF(x + 0.5, body.bottom()));
    }
    QPen outline(resolveColour(desc.borderColor, palette), 1,
                 desc.dashedBorder ? Qt::DashLine : Qt::SolidLine);
    p.setPen(outline);
    p.setBrush(Qt::NoBrush);
    p.drawRect(body.adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace

SceneCanvas::SceneCanvas(const SceneToolkit& scene, QWidget* parent)
    : QWidget(parent), scene_(scene), printFont_(toQFont(mainWindow().window.font)) {
    setObjectName(QStringLiteral("scene"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    const WindowDesc& w = mainWindow().window;
    setGeometry(0, 0, int(toPixels(w.clientWidth)), int(toPixels(w.clientHeight)));
}

void SceneCanvas::repaintTwips(const QRectF& dirty) {
    if (dirty.isNull()) {
        update();
        return;
    }
    // Strokes reach past the geometry by up to half the widest line.
    const QRectF pixels = QRectF(toPixels(dirty.topLeft()), toPixels(dirty.bottomRight()));
    update(pixels.toAlignedRect().adjusted(-3, -3, 3, 3));
}

void SceneCanvas::paintEvent(QPaintEvent* event) {
    const Description& d = mainWindow();
    const double dpr = devicePixelRatioF();
    QPainter p(this);
    p.setClipRegion(event->region());
    p.fillRect(rect(), resolveColour(d.window.backColor, palette()));

    const QColor foreColour = resolveColour(d.window.foreColor, palette());
    p.setFont(printFont_);
    const double ascent = QFontMetricsF(printFont_).ascent();
    for (const DrawingSurface::Item& item : scene_.surface().items()) {
        if (item.kind == DrawingSurface::Item::Kind::Line) {
            drawLine(p, snapPoint(item.from, dpr), snapPoint(item.to, dpr), foreColour,
                     d.window.drawWidth, Qt::SolidLine);
        } else {
            p.setPen(foreColour);
            p.drawText(toPixels(item.from) + QPointF(0, ascent), item.text);
        }
    }

    for (const LineDesc& line : d.lines)
        drawLine(p, toPixels(QPointF(line.x1, line.y1)), toPixels(QPointF(line.x2, line.y2)),
                 resolveColour(line.borderColor, palette()), line.borderWidth,
                 penStyle(line.borderStyle));

    for (const ShapeDesc& shape : d.shapes)
        drawShape(p, shape, scene_.geometry(shape.id), dpr, palette());
}

} // namespace tervalin
