// Line, Print and Cls on the window's drawing surface, in both toolkits:
// the display list they keep, and in the real window the pixels.

#include "support/shown_window.h"

#include "toolkit/sim/sim_toolkit.h"

#include <QFontMetricsF>
#include <QTest>

using namespace tervalin;
using namespace tervalin::test;

namespace {

// Runs a script such as "line 1500 1500 3000 1500; print 1; cls".
void run(Toolkit& tk, const QString& script) {
    for (const QString& step : script.split(u';', Qt::SkipEmptyParts)) {
        const QStringList w = step.split(u' ', Qt::SkipEmptyParts);
        if (w[0] == "line")
            tk.Line({w[1].toDouble(), w[2].toDouble()}, {w[3].toDouble(), w[4].toDouble()});
        else if (w[0] == "print")
            tk.Print(w[1].toInt());
        else if (w[0] == "cls")
            tk.Cls();
        else
            qFatal("unknown step");
    }
}

QStringList items(const Toolkit& tk) {
    QStringList out;
    for (const DrawingSurface::Item& i : tk.surface().items) {
        const QString at = QString("%1,%2").arg(i.from.x()).arg(i.from.y());
        if (i.kind == DrawingSurface::Item::Kind::Line)
            out << QString("line %1 %2,%3").arg(at).arg(i.to.x()).arg(i.to.y());
        else
            out << QString("text %1 '%2'").arg(at, i.text);
    }
    return out;
}

bool isRed(const QColor& c) {
    return c.red() > 200 && c.green() < 60 && c.blue() < 60;
}

int redPixels(const Pixels& px, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += isRed(px.at(x, y));
    return n;
}

const QColor kGround(0xC0, 0xC0, 0xC0);

} // namespace

class TestDrawingSurface : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }

    // Each script runs on both toolkits. `red` and `ground` are window
    // pixels; `text` an area that must hold red print, `clear` one that
    // must hold none. Pixels are checked on the real window only.
    void drawing_data() {
        QTest::addColumn<QString>("toolkit");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QPointF>("position");
        QTest::addColumn<QList<QPoint>>("red");
        QTest::addColumn<QList<QPoint>>("ground");
        QTest::addColumn<QRect>("text");
        QTest::addColumn<QRect>("clear");
        const QString horizontal = "line 1500,1500 3000,1500";
        const QList<QPoint> horizontalRed{{99, 100}, {150, 99}, {150, 100}, {150, 101}, {201, 100}};
        const QList<QPoint> horizontalGround{{98, 100}, {150, 98}, {150, 102}, {202, 100}};
        for (const char* tk : {"sim", "qt"}) {
            QTest::addRow("%s: a 3-pixel line; its end becomes the drawing position", tk)
                << tk << "line 1500 1500 3000 1500" << QStringList{horizontal}
                << QPointF(3000, 1500) << horizontalRed << horizontalGround << QRect() << QRect();
            QTest::addRow("%s: a line drawn right to left covers the same pixels", tk)
                << tk << "line 3000 1500 1500 1500" << QStringList{"line 3000,1500 1500,1500"}
                << QPointF(1500, 1500) << horizontalRed << horizontalGround << QRect() << QRect();
            QTest::addRow("%s: a vertical line", tk)
                << tk << "line 6000 1500 6000 3000" << QStringList{"line 6000,1500 6000,3000"}
                << QPointF(6000, 3000) << QList<QPoint>{{399, 150}, {401, 150}, {400, 201}}
                << QList<QPoint>{{398, 150}, {402, 150}, {400, 98}, {400, 202}} << QRect()
                << QRect();
            QTest::addRow("%s: a slanting line", tk)
                << tk << "line 1500 4500 3000 6000" << QStringList{"line 1500,4500 3000,6000"}
                << QPointF(3000, 6000) << QList<QPoint>{{150, 350}, {120, 320}}
                << QList<QPoint>{{150, 340}, {150, 360}} << QRect() << QRect();
            QTest::addRow("%s: print writes a blank and the digits at the drawing position", tk)
                << tk << "line 1500 1500 3000 1500; print 1"
                << QStringList{horizontal, "text 3000,1500 ' 1'"} << QPointF(3000, 1500)
                << horizontalRed << QList<QPoint>{{150, 102}} << QRect(203, 103, 40, 40) << QRect();
            QTest::addRow("%s: a negative number gets its sign", tk)
                << tk << "line 4500 4500 6000 4500; print -3"
                << QStringList{"line 4500,4500 6000,4500", "text 6000,4500 '-3'"}
                << QPointF(6000, 4500) << QList<QPoint>{} << QList<QPoint>{}
                << QRect(403, 303, 40, 40) << QRect();
            QTest::addRow("%s: cls erases lines and print and resets the position", tk)
                << tk << "line 1500 1500 3000 1500; print 2; cls" << QStringList{} << QPointF(0, 0)
                << QList<QPoint>{} << horizontalRed << QRect() << QRect(95, 95, 160, 50);
            QTest::addRow("%s: drawing goes on after cls", tk)
                << tk << "line 1500 1500 3000 1500; cls; line 6000 1500 6000 3000"
                << QStringList{"line 6000,1500 6000,3000"} << QPointF(6000, 3000)
                << QList<QPoint>{{400, 150}} << QList<QPoint>{{150, 100}} << QRect()
                << QRect(95, 95, 160, 10);
        }
    }

    void drawing() {
        QFETCH(QString, toolkit);
        QFETCH(QString, script);
        QFETCH(QStringList, expected);
        QFETCH(QPointF, position);
        QFETCH(QList<QPoint>, red);
        QFETCH(QList<QPoint>, ground);
        QFETCH(QRect, text);
        QFETCH(QRect, clear);

        if (toolkit == "sim") {
            SimToolkit tk;
            run(tk, script);
            QCOMPARE(items(tk), expected);
            QCOMPARE(tk.surface().position, position);
            return;
        }
        ShownWindow w;
        QVERIFY(w.exposed());
        run(w.tk(), script);
        QCOMPARE(items(w.tk()), expected);
        QCOMPARE(w.tk().surface().position, position);
        const Pixels px(w.grab());
        for (const QPoint& p : red)
            QVERIFY2(isRed(px.at(p.x(), p.y())),
                     qPrintable(QString("(%1, %2) is %3")
                                    .arg(p.x())
                                    .arg(p.y())
                                    .arg(describe(px.at(p.x(), p.y())))));
        for (const QPoint& p : ground)
            QVERIFY2(px.at(p.x(), p.y()) == kGround,
                     qPrintable(QString("(%1, %2) is %3")
                                    .arg(p.x())
                                    .arg(p.y())
                                    .arg(describe(px.at(p.x(), p.y())))));
        if (!text.isNull())
            QVERIFY2(redPixels(px, text) > 20, "no red print where the number stands");
        if (!clear.isNull())
            QCOMPARE(redPixels(px, clear), 0);
    }

    // " 1" stands with its top-left corner at the drawing position, the
    // digit after the blank, in Times New Roman 27.75 pt (Liberation Serif).
    void printedNumberStandsInTheWindowFont() {
        ShownWindow w;
        w.tk().Line({1500, 1500}, {6000, 1500}); // ends at window pixel (400, 100)
        w.tk().Print(1);
        const Pixels px(w.grab());
        QRect box;
        for (int y = 103; y < 160; ++y)
            for (int x = 402; x < 460; ++x)
                if (isRed(px.at(x, y)))
                    box |= QRect(x, y, 1, 1);
        QVERIFY2(!box.isEmpty(), "nothing printed");

        QFont reference(QStringLiteral("Liberation Serif"));
        reference.setPointSizeF(27.75);
        const QFontMetricsF fm(reference);
        const QRectF digit = fm.tightBoundingRect(QStringLiteral("1"));
        QVERIFY2(box.left() >= 400 + fm.horizontalAdvance(u' ') - 2,
                 qPrintable(QString("the digit starts at x %1").arg(box.left())));
        QVERIFY2(std::abs(box.height() - digit.height()) <= 2,
                 qPrintable(QString("the digit is %1 pixels high, not %2")
                                .arg(box.height())
                                .arg(digit.height())));
        QVERIFY2(std::abs(box.bottom() + 1 - (100 + fm.ascent())) <= 2,
                 qPrintable(QString("the digit stands on y %1, not on the baseline %2")
                                .arg(box.bottom() + 1)
                                .arg(100 + fm.ascent())));
    }

    // What Line draws lies under the road lines and the vehicles.
    void drawingLiesUnderTheScene() {
        ShownWindow w;
        w.tk().Line({450, 4500}, {1200, 4500});  // across Line8, x 840
        w.tk().Line({3600, 7200}, {4200, 7200}); // across tervalin, x 3840 to 3945
        const Pixels px(w.grab());
        QVERIFY2(isRed(px.at(45, 300)), "the track is missing");
        QVERIFY2(!isRed(px.at(56, 300)), "the track covers the road edge");
        QCOMPARE(px.at(259, 480), QColor(Qt::black));
        QVERIFY2(isRed(px.at(250, 480)), "the track is missing beside tervalin");
    }

    // The drawing is kept, not painted once: covering and uncovering the
    // window, or a control lying over it for a while, leaves it in place.
    void drawingSurvivesCovering() {
        ShownWindow w;
        w.tk().Line({1500, 1500}, {3000, 1500});
        w.tk().Print(5);
        const QImage before = w.grab();

        auto* cover = new QWidget(&w.form());
        cover->setGeometry(50, 50, 300, 150);
        cover->setAutoFillBackground(true);
        cover->show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form()));
        delete cover;
        w.form().hide();
        w.form().show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form()));
        QCOMPARE(w.grab(), before);
        QVERIFY(isRed(Pixels(before).at(150, 100)));
    }
};

QTEST_MAIN(TestDrawingSurface)
#include "test_drawing_surface.moc"
