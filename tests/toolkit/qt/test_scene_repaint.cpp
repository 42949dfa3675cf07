// The animation repaints only what changed: a vehicle's move or a track
// segment repaints the area around it, never the whole scene, and the
// signs are rendered from their vector source once, not on every paint.

#include "support/shown_window.h"

#include "toolkit/qt/scene_canvas.h"

#include <QPaintEvent>
#include <QTest>

using namespace tervalin;
using namespace tervalin::test;

namespace {

class PaintRecorder : public QObject {
public:
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

QRect pixelsOf(const Toolkit::Geometry& g) {
    return toPixels(g.left, g.top, g.width, g.height).toAlignedRect();
}

} // namespace

class TestSceneRepaint : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }

    void changeRepaintsOnlyAroundIt_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("tervalin drives up a step") << "tervalin";
        QTest::newRow("the tram drives left") << "tram";
        QTest::newRow("avto_blue drives down") << "avto_blue";
        QTest::newRow("a track segment") << "track";
    }

    void changeRepaintsOnlyAroundIt() {
        QFETCH(QString, change);
        ShownWindow w;
        QVERIFY(w.exposed());
        QCoreApplication::processEvents();
        PaintRecorder recorder;
        w.form().canvas()->installEventFilter(&recorder);

        QRect changed;
        auto move = [&](Shape s, float dx, float dy) {
            changed = pixelsOf(w.tk().geometry(s));
            w.tk().setLeft(s, w.tk().Left(s) + dx);
            w.tk().setTop(s, w.tk().Top(s) + dy);
            changed |= pixelsOf(w.tk().geometry(s));
        };
        if (change == "tervalin")
            move(Shape::tervalin, 0, -100);
        else if (change == "tram")
            move(Shape::red_tram, -200, 0);
        else if (change == "avto_blue")
            move(Shape::avto_blue, 0, 70);
        else {
            w.tk().Line({3840, 6860}, {3840, 6960});
            changed = QRect(256, 457, 1, 8);
        }
        QTRY_VERIFY2(!recorder.painted.isEmpty(), "nothing repainted");
        const QRect around = changed.adjusted(-4, -4, 4, 4);
        QVERIFY2(around.contains(recorder.painted.boundingRect()),
                 qPrintable(QString("repainted %1,%2 %3x%4 for a change within %5,%6 %7x%8")
                                .arg(recorder.painted.boundingRect().x())
                                .arg(recorder.painted.boundingRect().y())
                                .arg(recorder.painted.boundingRect().width())
                                .arg(recorder.painted.boundingRect().height())
                                .arg(changed.x())
                                .arg(changed.y())
                                .arg(changed.width())
                                .arg(changed.height())));
    }
};

QTEST_MAIN(TestSceneRepaint)
#include "test_scene_repaint.moc"
