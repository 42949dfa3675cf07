#pragma once

#include <QPointF>
#include <QRectF>

namespace tervalin {

// Every place in the window description is in twips; the screen is measured
// in device-independent pixels, 15 twips to a pixel. This is the one place
// that converts them.
inline constexpr double kTwipsPerPixel = 15.0;

constexpr double toPixels(double twips) {
    return twips / kTwipsPerPixel;
}
inline QPointF toPixels(QPointF twips) {
    return twips / kTwipsPerPixel;
}
inline QRectF toPixels(double left, double top, double width, double height) {
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

} // namespace tervalin
