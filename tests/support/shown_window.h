#pragma once

// The real window on the test platform and its rendered pixels, located by
// the window description's twips.

#include "toolkit/qt/fonts.h"
#include "toolkit/qt/main_form.h"
#include "toolkit/qt/qt_toolkit.h"
#include "window/twips.h"

#include <QImage>
#include <QTest>

#include <cmath>

namespace tervalin::test {

// The offscreen platform cannot raise windows, and Qt raises a tool window
// each time it is shown: that one warning is dropped, every other passes on.
inline void dropRaiseWarnings() {
    static const QtMessageHandler next = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message != QLatin1String("This plugin does not support raise()"))
                next(type, context, message);
        });
}

// The main window as the program shows it, with no handlers wired.
class ShownWindow {
public:
    ShownWindow() {
        dropRaiseWarnings();
        tk_.form().show();
        exposed_ = QTest::qWaitForWindowExposed(&tk_.form());
    }

    QtToolkit& tk() { return tk_; }
    MainForm& form() { return tk_.form(); }
    bool exposed() const { return exposed_; }

    // The window as it is rendered now, in device pixels.
    QImage grab() { return tk_.form().grab().toImage(); }

private:
    QtToolkit tk_;
    bool exposed_ = false;
};

// A rendered window read in window pixels: a sample is the device pixel at
// the centre of a window pixel.
class Pixels {
public:
    explicit Pixels(QImage image) : image_(std::move(image)), dpr_(image_.devicePixelRatio()) {}

    double dpr() const { return dpr_; }
    const QImage& image() const { return image_; }

    // The device pixel that holds the centre of window pixel `p`.
    int device(double windowPixel) const { return int(std::floor((windowPixel + 0.5) * dpr_)); }
    // The first device pixel of window pixel `p`, on the grid the scene is drawn on.
    int deviceEdge(double windowPixel) const { return int(std::lround(windowPixel * dpr_)); }

    QColor at(int x, int y) const { return image_.pixelColor(device(x), device(y)); }
    QColor atTwips(double x, double y) const {
        return at(int(std::floor(toPixels(x))), int(std::floor(toPixels(y))));
    }
    QColor atDevice(int x, int y) const { return image_.pixelColor(x, y); }

private:
    QImage image_;
    double dpr_;
};

inline QString describe(const QColor& c) {
    return c.name(QColor::HexRgb);
}

inline bool near(const QColor& a, const QColor& b, int tolerance = 0) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// A colour of the window description (0x00BBGGRR) as Qt writes it.
inline QColor rgb(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace tervalin::test
