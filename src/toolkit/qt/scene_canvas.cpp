#include "toolkit/qt/scene_canvas.h"

#include "toolkit/qt/fonts.h"
#include "toolkit/qt/system_colours.h"
#include "toolkit/toolkit.h"
#include "window/description.h"
#include "window/twips.h"

#include <QPaintEvent>
#include <QPainter>

#include <array>
#include <cmath>
#include <span>

namespace tervalin {
namespace {

// On and off runs of the dash styles, in window pixels from a line's start.
constexpr std::array kDash{4, 2};
constexpr std::array kDashDot{4, 2, 1, 2};

std::span<const int> dashPattern(LineStyle style) {
    if (style == LineStyle::Solid)
        return {};
    return style == LineStyle::Dash ? std::span<const int>(kDash) : kDashDot;
}

// Calls on(start, length) for every "on" run of the pattern along `length`
// pixels; an empty pattern is one run.
template <typename On> void forEachRun(double length, std::span<const int> pattern, On on) {
    if (pattern.empty()) {
        on(0.0, length);
        return;
    }
    double at = 0;
    for (std::size_t i = 0; at < length; i = (i + 1) % pattern.size()) {
        if (i % 2 == 0)
            on(at, std::min<double>(pattern[i], length - at));
        at += pattern[i];
    }
}

QPoint pixelOf(QPointF twips) {
    return {int(std::lround(toPixels(twips.x()))), int(std::lround(toPixels(twips.y())))};
}

double onGrid(double pixels, double dpr) {
    return std::round(pixels * dpr) / dpr;
}

// Fills a rectangle of window pixels with its edges moved to the nearest
// device-pixel boundaries.
void fillOnGrid(QPainter& p, const QRectF& r, const QColor& colour, double dpr) {
    const QRectF snapped(QPointF(onGrid(r.left(), dpr), onGrid(r.top(), dpr)),
                         QPointF(onGrid(r.right(), dpr), onGrid(r.bottom(), dpr)));
    if (!snapped.isEmpty())
        p.fillRect(snapped, colour);
}

// The pixels a horizontal or vertical line covers. A line `width` pixels
// wide lies centred on the pixel row (or column) of its coordinates. A
// 1-pixel line covers its first pixel but not its last; a wider one has
// square ends reaching past both ends, so that road edges meet in clean
// corners. Either end may come first: the line is the same.
QRect lineBand(QPoint a, QPoint b, int width) {
    const int before = (width - 1) / 2;
    const int cap = width > 1 ? before : 0;
    if (a.y() == b.y()) {
        const int x0 = std::min(a.x(), b.x()) - cap;
        const int x1 = std::max(a.x(), b.x()) + (width > 1 ? width - before : 0);
        return {x0, a.y() - before, x1 - x0, width};
    }
    const int y0 = std::min(a.y(), b.y()) - cap;
    const int y1 = std::max(a.y(), b.y()) + (width > 1 ? width - before : 0);
    return {a.x() - before, y0, width, y1 - y0};
}

// A straight line in window pixels. Horizontal and vertical lines are
// filled run by run on the device grid; a slanting one (a track segment
// across a turn) is stroked with round ends.
void drawLine(QPainter& p, QPointF fromTwips, QPointF toTwips, const QColor& colour, int width,
              LineStyle style, const QRect& area, double dpr) {
    const QPoint a = pixelOf(fromTwips), b = pixelOf(toTwips);
    const std::span<const int> pattern = dashPattern(style);
    if (!pattern.empty())
        width = 1; // styled lines are always 1 pixel wide
    if (a.x() != b.x() && a.y() != b.y()) {
        const QRect bounds = QRect(a, b).normalized().adjusted(-width, -width, width, width);
        if (!bounds.intersects(area))
            return;
        p.setPen(QPen(colour, width, pattern.empty() ? Qt::SolidLine : Qt::DashLine, Qt::RoundCap,
                      Qt::RoundJoin));
        p.drawLine(QPointF(a) + QPointF(0.5, 0.5), QPointF(b) + QPointF(0.5, 0.5));
        return;
    }
    const QRect band = lineBand(a, b, width);
    if (!band.intersects(area))
        return;
    const bool horizontal = a.y() == b.y() && a.x() != b.x();
    const double length = horizontal ? band.width() : band.height();
    forEachRun(length, pattern, [&](double start, double run) {
        const QRectF piece = horizontal
                                 ? QRectF(band.left() + start, band.top(), run, band.height())
                                 : QRectF(band.left(), band.top() + start, band.width(), run);
        fillOnGrid(p, piece, colour, dpr);
    });
}

// A vehicle: an opaque body with a 1-pixel outline inside its rectangle.
// Every edge, the outline's inner ones included, lies on the device pixel
// nearest to its place in window pixels. Vertical hatch lines stand in every
// 8th column of the window, at columns 4, 12, 20, ..., so the pattern does
// not crawl while the car drives along y.
void drawShape(QPainter& p, const ShapeDesc& desc, const Toolkit::Geometry& g,
               const QPalette& palette, double dpr) {
    const QRectF r = toPixels(g.left, g.top, g.width, g.height);
    if (r.width() <= 0 || r.height() <= 0)
        return;
    fillOnGrid(p, r, resolveColour(desc.body, palette), dpr);

    const QRectF inner = r.adjusted(1, 1, -1, -1);
    if (desc.look == ShapeLook::VerticalHatch && inner.width() > 0 && inner.height() > 0) {
        const QColor hatch = resolveColour(desc.hatchColor, palette);
        for (double x = std::ceil((inner.left() - 4) / 8) * 8 + 4; x + 1 <= inner.right(); x += 8)
            fillOnGrid(p, QRectF(x, inner.top(), 1, inner.height()), hatch, dpr);
    }

    const QColor outline = resolveColour(desc.borderColor, palette);
    const std::span<const int> pattern =
        desc.dashedBorder ? std::span<const int>(kDash) : std::span<const int>();
    forEachRun(r.width(), pattern, [&](double start, double run) {
        fillOnGrid(p, QRectF(r.left() + start, r.top(), run, 1), outline, dpr);
        fillOnGrid(p, QRectF(r.left() + start, r.bottom() - 1, run, 1), outline, dpr);
    });
    forEachRun(r.height(), pattern, [&](double start, double run) {
        fillOnGrid(p, QRectF(r.left(), r.top() + start, 1, run), outline, dpr);
        fillOnGrid(p, QRectF(r.right() - 1, r.top() + start, 1, run), outline, dpr);
    });
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

// The ground, then what Line and Print have drawn, the road lines and the
// vehicles, each above the one before.
void SceneCanvas::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect area = event->rect();
    const double dpr = devicePixelRatioF();
    const WindowDesc& w = windowDescription().window;
    p.fillRect(area, resolveColour(w.backColor, palette()));

    const QColor foreColour = resolveColour(w.foreColor, palette());
    p.setPen(foreColour);
    for (const DrawingSurface::Item& item : scene_.surface().items()) {
        if (item.kind == DrawingSurface::Item::Kind::Line)
            drawLine(p, item.from, item.to, foreColour, w.drawWidth, LineStyle::Solid, area, dpr);
        else
            p.drawText(QPointF(pixelOf(item.from)) + QPointF(0, QFontMetricsF(font()).ascent()),
                       item.text);
    }
    for (const LineDesc& line : windowDescription().lines)
        drawLine(p, QPointF(line.x1, line.y1), QPointF(line.x2, line.y2),
                 resolveColour(line.borderColor, palette()), line.borderWidth, line.borderStyle,
                 area, dpr);
    for (const ShapeDesc& shape : windowDescription().shapes)
        drawShape(p, shape, scene_.geometry(shape.id), palette(), dpr);
}

} // namespace tervalin
