// The road scene as rendered: ground, road edges, rails, markings,
// vehicles, sign boxes and signs, sampled where the window description
// places them. The same cases run at device pixel ratios 1, 1.5 and 2
// (see CMakeLists.txt): widths are checked in device pixels.

#include "support/shown_window.h"

#include "toolkit/qt/picture_box.h"
#include "toolkit/qt/system_colours.h"
#include "window/description.h"

#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QSvgRenderer>
#include <QTest>
#include <QWindow>

#include <cmath>

using namespace tervalin;
using namespace tervalin::test;

namespace {

const LineDesc& lineNamed(const QString& name) {
    for (const LineDesc& l : windowDescription().lines)
        if (toQString(l.name) == name)
            return l;
    qFatal("no such line");
}

QColor ground() {
    return rgb(windowDescription().window.backColor);
}

// Runs of "1" (drawn) and "0" (ground) along a line, one character per
// window pixel from `skip` pixels past its start.
QString pattern(const Pixels& px, const LineDesc& l, int skip, int count) {
    const bool horizontal = l.y1 == l.y2;
    const int start = (horizontal ? std::min(l.x1, l.x2) : std::min(l.y1, l.y2)) / 15 + skip;
    QString s;
    for (int i = start; i < start + count; ++i) {
        const QColor c = horizontal ? px.at(i, l.y1 / 15) : px.at(l.x1 / 15, i);
        s += c == ground() ? u'0' : u'1';
    }
    return s;
}

// How many pixels of two images of the same size differ.
int differingPixels(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col)
            count += x.pixel(col, row) != y.pixel(col, row);
    return count;
}

// A point of a sign and the colour it has there.
struct Mark {
    QPoint at;
    QColor colour;
};

} // namespace

Q_DECLARE_METATYPE(QList<Mark>)

class TestScenePixels : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        installFontSubstitutes();
        const QByteArray expected = qgetenv("TERVALIN_EXPECTED_DPR");
        ShownWindow w;
        QVERIFY(w.exposed());
        const QImage image = w.grab();
        dpr_ = image.devicePixelRatio();
        if (!expected.isEmpty())
            QCOMPARE(dpr_, expected.toDouble());
        QCOMPARE(image.size(), QSize(int(std::lround(754 * dpr_)), int(std::lround(568 * dpr_))));
    }

    void groundIsLightGrey_data() {
        QTest::addColumn<QPoint>("twips");
        QTest::newRow("central block") << QPoint(5000, 1000);
        QTest::newRow("lower-left block") << QPoint(1500, 5000);
        QTest::newRow("top road") << QPoint(5000, 300);
        QTest::newRow("right of the right road") << QPoint(11000, 4000);
        QTest::newRow("lower-right area") << QPoint(7000, 6000);
    }

    void groundIsLightGrey() {
        QFETCH(QPoint, twips);
        ShownWindow w;
        const QColor c = Pixels(w.grab()).atTwips(twips.x(), twips.y());
        QVERIFY2(c == QColor(0xC0, 0xC0, 0xC0), qPrintable(describe(c)));
    }

    // Across a line at one of its points: its pixels are drawn in device
    // pixels from the first to the last device pixel of its band, and the
    // device pixels on either side are not.
    void lineHasItsWidthInDevicePixels_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("along"); // twips along the line
        QTest::addColumn<QString>("tone");
        QTest::newRow("Line10, top road's lower edge") << "Line10" << 3000 << "dark";
        QTest::newRow("Line7, left road's right edge") << "Line7" << 2000 << "dark";
        QTest::newRow("Line14, right road's right edge") << "Line14" << 1000 << "dark";
        QTest::newRow("Line13, lower cross road") << "Line13" << 7000 << "dark";
        QTest::newRow("Line19, stored bottom up") << "Line19" << 3000 << "dark";
        QTest::newRow("Line12, upper rail") << "Line12" << 3000 << "dark";
        QTest::newRow("Line11, lower rail") << "Line11" << 3000 << "dark";
        QTest::newRow("Line9, across the left road") << "Line9" << 300 << "dark";
        QTest::newRow("Line2, centre line, first dash") << "Line2" << 495 << "light";
        QTest::newRow("Line5, dashed, past Picture2") << "Line5" << 9765 << "dark";
    }

    void lineHasItsWidthInDevicePixels() {
        QFETCH(QString, line);
        QFETCH(int, along);
        QFETCH(QString, tone);
        const LineDesc& l = lineNamed(line);
        const bool horizontal = l.y1 == l.y2;
        const int across = (horizontal ? l.y1 : l.x1) / 15;
        const int before = (l.borderWidth - 1) / 2;
        ShownWindow w;
        const Pixels px(w.grab());
        const int first = px.deviceEdge(across - before);
        const int end = px.deviceEdge(across - before + l.borderWidth);
        const int at = px.device(along / 15);
        auto sample = [&](int d) { return horizontal ? px.atDevice(at, d) : px.atDevice(d, at); };
        const QColor colour = sample(first);
        QVERIFY2(tone == "dark" ? isDark(colour) : colour.lightnessF() > ground().lightnessF(),
                 qPrintable(line + " is " + describe(colour)));
        for (int d = first; d < end; ++d)
            QVERIFY2(sample(d) == colour, qPrintable(QString("%1: device pixel %2 of %3..%4 is %5")
                                                         .arg(line)
                                                         .arg(d)
                                                         .arg(first)
                                                         .arg(end - 1)
                                                         .arg(describe(sample(d)))));
        QVERIFY2(sample(first - 1) == ground(), qPrintable(line + " is too wide before"));
        QVERIFY2(sample(end) == ground(), qPrintable(line + " is too wide after"));
        if (px.dpr() == 2.0)
            QCOMPARE(end - first, 2 * l.borderWidth);
    }

    void dashPatternIsOnePixelGrained_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("skip");
        QTest::addColumn<QString>("expected");
        // Line2 between Line9 and the rails; Line5 on the right road, past
        // Picture2, which covers its first 41 pixels.
        QTest::newRow("Line2, dash-dot") << "Line2" << 18 << "111100100111100100111100100";
        QTest::newRow("Line5, dash") << "Line5" << 42 << "111100111100111100111100";
    }

    void dashPatternIsOnePixelGrained() {
        QFETCH(QString, line);
        QFETCH(int, skip);
        QFETCH(QString, expected);
        ShownWindow w;
        QCOMPARE(pattern(Pixels(w.grab()), lineNamed(line), skip, int(expected.size())), expected);
    }

    // Each vehicle's colours, at a window pixel counted from its top-left corner.
    void vehicleColours_data() {
        QTest::addColumn<int>("vehicle");
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("rose_auto body, pink")
            << int(Shape::rose_auto) << QPoint(3, 3) << QColor(0xFF, 0x80, 0x80);
        QTest::newRow("red_tram body, dark red")
            << int(Shape::red_tram) << QPoint(16, 4) << QColor(0xC0, 0, 0);
        QTest::newRow("avto_blue body, cyan")
            << int(Shape::avto_blue) << QPoint(2, 10) << QColor(0, 0xFF, 0xFF);
        QTest::newRow("avto_blue hatch line at window column 12")
            << int(Shape::avto_blue) << QPoint(4, 10) << QColor(0xFF, 0, 0);
        QTest::newRow("avto_blue between hatch lines")
            << int(Shape::avto_blue) << QPoint(8, 10) << QColor(0, 0xFF, 0xFF);
        QTest::newRow("avto_blue hatch line at window column 20")
            << int(Shape::avto_blue) << QPoint(12, 10) << QColor(0xFF, 0, 0);
        QTest::newRow("avto_blue hatch stops at the outline")
            << int(Shape::avto_blue) << QPoint(4, 24) << QColor(0, 0, 0);
        QTest::newRow("tervalin, solid black")
            << int(Shape::tervalin) << QPoint(3, 10) << QColor(0, 0, 0);
    }

    void vehicleColours() {
        QFETCH(int, vehicle);
        QFETCH(QPoint, offset);
        QFETCH(QColor, expected);
        ShownWindow w;
        const auto& g = w.tk().geometry(Shape(vehicle));
        const QColor c =
            Pixels(w.grab()).at(int(g.left / 15) + offset.x(), int(g.top / 15) + offset.y());
        QVERIFY2(c == expected, qPrintable(describe(c) + " instead of " + describe(expected)));
    }

    void vehicleOutlineIsOneDarkPixel_data() {
        QTest::addColumn<int>("vehicle");
        QTest::newRow("rose_auto") << int(Shape::rose_auto);
        QTest::newRow("red_tram") << int(Shape::red_tram);
        QTest::newRow("avto_blue") << int(Shape::avto_blue);
    }

    void vehicleOutlineIsOneDarkPixel() {
        QFETCH(int, vehicle);
        ShownWindow w;
        const Pixels px(w.grab());
        const auto& g = w.tk().geometry(Shape(vehicle));
        const ShapeDesc& s = windowDescription().shapes[vehicle];
        const int left = int(g.left / 15), top = int(g.top / 15);
        const int right = int((g.left + g.width) / 15), y = top + 3;
        // Device pixels across the left and right edges, on one row.
        const int row = px.device(y);
        for (int d = px.deviceEdge(left); d < px.deviceEdge(left + 1); ++d)
            QVERIFY2(isDark(px.atDevice(d, row)), "left outline not dark");
        for (int d = px.deviceEdge(right - 1); d < px.deviceEdge(right); ++d)
            QVERIFY2(isDark(px.atDevice(d, row)), "right outline not dark");
        QCOMPARE(px.atDevice(px.deviceEdge(left + 1), row), rgb(s.body));
        if (left > 0)
            QVERIFY2(!isDark(px.atDevice(px.deviceEdge(left) - 1, row)),
                     "outline outside the rectangle");
    }

    // Sign boxes lie above lines: Line3 lies under Picture2's top edge, and
    // Line9 shows only across the left road, up to Picture4.
    void signBoxesCoverLines() {
        ShownWindow w;
        const Pixels px(w.grab());
        const QColor frameTop = px.at(600, 104);
        for (int x = 600; x < 647; ++x)
            QVERIFY2(px.at(x, 104) == frameTop, "Line3 shows on Picture2's edge");
        for (int x = 0; x < 32; ++x) // up to rose_auto
            QVERIFY2(isDark(px.at(x, 40)), "Line9 missing across the left road");
        const QColor boxTop = px.at(40, 40);
        for (int x = 40; x < 87; ++x)
            QVERIFY2(px.at(x, 40) == boxTop, "Line9 or Line10 shows on Picture4's edge");
        QVERIFY2(isDark(px.at(89, 40)), "Line10 missing right of Picture4");
    }

    // Every box has the same sunken 2-pixel frame, dark at the top and left,
    // light at the bottom and right, whatever size its picture has.
    void signBoxesHaveASunkenFrame_data() {
        QTest::addColumn<QString>("box");
        for (const PictureDesc& p : windowDescription().pictures)
            QTest::newRow(p.name.data()) << toQString(p.name);
    }

    void signBoxesHaveASunkenFrame() {
        QFETCH(QString, box);
        ShownWindow w;
        const Pixels px(w.grab());
        const QRect r = w.form().findChild<PictureBox*>(box)->geometry();
        const int midX = r.left() + r.width() / 2, midY = r.top() + r.height() / 2;
        const QColor outerTopLeft = px.at(r.left(), midY), innerTopLeft = px.at(r.left() + 1, midY);
        const QColor outerBottomRight = px.at(r.right(), midY);
        const QColor innerBottomRight = px.at(r.right() - 1, midY);
        QCOMPARE(px.at(midX, r.top()), outerTopLeft);
        QCOMPARE(px.at(midX, r.top() + 1), innerTopLeft);
        QCOMPARE(px.at(midX, r.bottom()), outerBottomRight);
        QCOMPARE(px.at(midX, r.bottom() - 1), innerBottomRight);
        const QString shades = QString("outer %1 / %2, inner %3 / %4")
                                   .arg(describe(outerTopLeft), describe(outerBottomRight),
                                        describe(innerTopLeft), describe(innerBottomRight));
        QVERIFY2(outerTopLeft.lightness() < outerBottomRight.lightness(), qPrintable(shades));
        QVERIFY2(innerTopLeft.lightness() < innerBottomRight.lightness(), qPrintable(shades));
        // The same shades as the box whose picture fits inside (Picture6).
        const QRect ref = w.form().findChild<PictureBox*>("Picture6")->geometry();
        QCOMPARE(innerBottomRight, px.at(ref.right() - 1, ref.top() + ref.height() / 2));
        QCOMPARE(outerBottomRight, px.at(ref.right(), ref.top() + ref.height() / 2));
    }

    // The picture stands at its own size from the inner top-left corner;
    // the box's face colour shows right of a picture narrower than the box.
    void signPixels_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QPoint>("inPicture");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("STOP: red octagon") << "Picture2" << QPoint(25, 8) << QColor("#C8102E");
        QTest::newRow("STOP: white letter T") << "Picture2" << QPoint(20, 26) << QColor("#FFFFFF");
        QTest::newRow("parking: blue square") << "Picture5" << QPoint(8, 40) << QColor("#1F5FB4");
        QTest::newRow("parking: white P") << "Picture5" << QPoint(18, 30) << QColor("#FFFFFF");
        QTest::newRow("level crossing: grey post")
            << "Picture6" << QPoint(24, 45) << QColor("#8C8C8C");
        QTest::newRow("level crossing: near-white ground")
            << "Picture6" << QPoint(1, 50) << QColor("#FCFCFC");
        QTest::newRow("no overtaking: yellow field")
            << "Picture4" << QPoint(25, 32) << QColor("#FFD200");
        QTest::newRow("no right turn: red bar")
            << "Picture3" << QPoint(25, 25) << QColor("#D40000");
        QTest::newRow("no right turn: yellow field")
            << "Picture3" << QPoint(35, 28) << QColor("#FFD200");
        QTest::newRow("no left turn: red ring") << "Picture1" << QPoint(25, 4) << QColor("#D40000");
        QTest::newRow("face colour right of the level-crossing sign")
            << "Picture6" << QPoint(51, 20) << QColor();
        QTest::newRow("face colour right of the no-left-turn sign")
            << "Picture1" << QPoint(52, 40) << QColor();
    }

    void signPixels() {
        QFETCH(QString, box);
        QFETCH(QPoint, inPicture);
        QFETCH(QColor, expected);
        ShownWindow w;
        auto* b = w.form().findChild<PictureBox*>(box);
        if (!expected.isValid())
            expected = b->palette().color(QPalette::Button);
        const QPoint at = b->geometry().topLeft() + QPoint(2, 2) + inPicture;
        const QColor c = Pixels(w.grab()).at(at.x(), at.y());
        QVERIFY2(near(c, expected, 8),
                 qPrintable(describe(c) + " instead of " + describe(expected)));
    }

    // Each box shows its own sign and no other box shows it: every sign has
    // marks that set it apart from all the others, such as where its arrow
    // points. Points are window pixels from the picture's top-left corner.
    void everyBoxShowsItsOwnSign_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QList<Mark>>("marks");
        const QColor black("#111111"), yellow("#FFD200"), red("#D40000"), white("#FFFFFF");
        // The turn signs' arrow heads: left of the upright shaft, or right of it.
        const QPoint headLeft(12, 23), headRight(31, 19);
        QTest::newRow("Picture1, no left turn")
            << "Picture1" << QList<Mark>{{headLeft, black}, {{32, 38}, black}, {headRight, yellow}};
        QTest::newRow("Picture3, no right turn")
            << "Picture3" << QList<Mark>{{headRight, black}, {{18, 30}, black}, {headLeft, yellow}};
        QTest::newRow("Picture4, no overtaking: a red car left of a black one")
            << "Picture4"
            << QList<Mark>{{{22, 19}, red}, {{31, 19}, QColor("#1A1A1A")}, {{25, 32}, yellow}};
        QTest::newRow("Picture2, STOP")
            << "Picture2" << QList<Mark>{{{25, 8}, QColor("#C8102E")}, {{20, 26}, white}};
        QTest::newRow("Picture5, parking")
            << "Picture5" << QList<Mark>{{{8, 40}, QColor("#1F5FB4")}, {{18, 30}, white}};
        QTest::newRow("Picture6, level crossing: the mark where the arms cross, the post")
            << "Picture6" << QList<Mark>{{{24, 20}, red}, {{24, 45}, QColor("#8C8C8C")}};
    }

    void everyBoxShowsItsOwnSign() {
        QFETCH(QString, box);
        QFETCH(QList<Mark>, marks);
        ShownWindow w;
        const Pixels px(w.grab());
        for (const PictureDesc& d : windowDescription().pictures) {
            const QString name = toQString(d.name);
            const QPoint origin = w.form().findChild<PictureBox*>(name)->geometry().topLeft() +
                                  QPoint(2, 2); // inside the frame
            QString mismatch;
            for (const Mark& m : marks) {
                const QColor c = px.at(origin.x() + m.at.x(), origin.y() + m.at.y());
                if (mismatch.isEmpty() && !near(c, m.colour, 8))
                    mismatch = QString("at (%1, %2) %3 instead of %4")
                                   .arg(m.at.x())
                                   .arg(m.at.y())
                                   .arg(describe(c), describe(m.colour));
            }
            if (name == box)
                QVERIFY2(mismatch.isEmpty(),
                         qPrintable(box + " does not show its sign: " + mismatch));
            else
                QVERIFY2(!mismatch.isEmpty(), qPrintable(name + " shows " + box + "'s sign"));
        }
    }

    void taskTextStandsOnALightGround() {
        ShownWindow w;
        const QColor c = Pixels(w.grab()).atTwips(150, 8400);
        QVERIFY2(isLight(c), qPrintable(describe(c)));
    }

    // Each sign is rendered from its vector source at device resolution onto
    // a transparent pixmap and laid over the box's face: the inner area is
    // exactly that, pixel for pixel. The face and the border take the
    // colours of the window's state, under a palette whose inactive colours
    // differ too, and a window moved to a screen of another ratio shows the
    // sign rendered for that ratio.
    void signsAreRenderedAtDeviceResolution_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("change");
        for (const PictureDesc& p : windowDescription().pictures) {
            QTest::addRow("%s", p.name.data()) << toQString(p.name) << QString();
            QTest::addRow("%s, window made inactive", p.name.data())
                << toQString(p.name) << QStringLiteral("inactive");
        }
        QTest::newRow("Picture6, window moved to a screen of another ratio")
            << "Picture6" << QStringLiteral("screen");
    }

    void signsAreRenderedAtDeviceResolution() {
        QFETCH(QString, box);
        QFETCH(QString, change);
        ShownWindow w;
        // Inactive colours unlike the active ones, one for each shade.
        QPalette pal = w.form().palette();
        for (const auto role : {QPalette::Button, QPalette::Dark, QPalette::Light, QPalette::Shadow,
                                QPalette::Midlight})
            pal.setColor(QPalette::Inactive, role, QColor(0x40, 0x80, 0x40 + role));
        w.form().setPalette(pal);
        w.form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.form()));
        w.grab(); // the first paint, active

        QWidget other;
        if (change == u"inactive") {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        } else if (change == u"screen") {
            const auto screens = QGuiApplication::screens();
            const auto to = std::ranges::find_if(
                screens, [&](QScreen* s) { return s->devicePixelRatio() != dpr_; });
            if (to == screens.end())
                QSKIP("one screen only");
            w.form().windowHandle()->setScreen(*to);
            QTRY_COMPARE(w.form().devicePixelRatioF(), (*to)->devicePixelRatio());
        }
        auto* b = w.form().findChild<PictureBox*>(box);
        const QPalette& now = b->palette();
        QCOMPARE(now.currentColorGroup(),
                 change == u"inactive" ? QPalette::Inactive : QPalette::Active);

        const Pixels px(w.grab());
        const PictureDesc& d =
            *std::ranges::find_if(windowDescription().pictures,
                                  [&](const PictureDesc& p) { return toQString(p.name) == box; });
        QPixmap sign(int(std::ceil(d.pictureWidth * px.dpr())),
                     int(std::ceil(d.pictureHeight * px.dpr())));
        sign.setDevicePixelRatio(px.dpr());
        sign.fill(Qt::transparent);
        {
            QPainter p(&sign);
            QSvgRenderer(toQString(d.resource))
                .render(&p, QRectF(0, 0, d.pictureWidth, d.pictureHeight));
        }
        QImage expected = px.image();
        {
            const QRect inner = b->geometry().adjusted(2, 2, -2, -2);
            QPainter p(&expected);
            p.fillRect(inner, now.color(QPalette::Button));
            p.setClipRect(inner);
            p.drawPixmap(inner.topLeft(), sign);
        }
        const int differ = differingPixels(px.image(), expected);
        QVERIFY2(differ == 0, qPrintable(QString("%1 pixels differ").arg(differ)));
        QCOMPARE(describe(px.at(b->x(), b->y() + b->height() / 2)),
                 describe(now.color(QPalette::Dark)));
    }

    // Every control keeps its place in window pixels: in device pixels the
    // whole layout scales by the device pixel ratio. A box's frame begins at
    // the device pixels where the description's twips put its top-left corner.
    void layoutKeepsItsProportions_data() {
        QTest::addColumn<QString>("box");
        for (const PictureDesc& p : windowDescription().pictures)
            QTest::newRow(p.name.data()) << toQString(p.name);
    }

    void layoutKeepsItsProportions() {
        QFETCH(QString, box);
        const PictureDesc& d =
            *std::ranges::find_if(windowDescription().pictures,
                                  [&](const PictureDesc& p) { return toQString(p.name) == box; });
        ShownWindow w;
        const Pixels px(w.grab());
        const QRect r = toPixels(d.left, d.top, d.width, d.height).toRect();
        const int left = px.deviceEdge(r.left()), top = px.deviceEdge(r.top());
        const int midX = px.device(r.center().x()), midY = px.device(r.center().y());
        QVERIFY2(px.atDevice(left, midY) != px.atDevice(left - 1, midY),
                 qPrintable(QString("no frame edge at device column %1").arg(left)));
        QVERIFY2(px.atDevice(midX, top) != px.atDevice(midX, top - 1),
                 qPrintable(QString("no frame edge at device row %1").arg(top)));
        QCOMPARE(px.atDevice(left, midY), px.atDevice(midX, top)); // the same outer shade
    }

private:
    double dpr_ = 1;
};

QTEST_MAIN(TestScenePixels)
#include "test_scene_pixels.moc"
