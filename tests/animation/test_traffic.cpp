#include "animation/traffic.h"
#include "support/recorded_run.h"
#include "window/description.h"

#include <QTest>

using namespace tervalin;
using Field = RecordingToolkit::Field;

Q_DECLARE_METATYPE(Shape)
Q_DECLARE_METATYPE(Field)

namespace {

float value(const Toolkit& tk, Shape s, Field f) {
    return f == Field::Left ? tk.Left(s) : tk.Top(s);
}

// The frames in which a shape was put back at its entry point.
std::vector<int> wrapFrames(const RecordedRun& r, Shape s, Field f, float entry) {
    std::vector<int> frames;
    for (const RecordingToolkit::Write& w : r.tk.writes)
        if (w.shape == s && w.field == f && w.value == entry)
            frames.push_back(w.frame);
    return frames;
}

} // namespace

class TestTraffic : public QObject {
    Q_OBJECT
private slots:
    // The limits are strict and the entry points fixed, whatever the overshoot.
    void oneStepAtTheLimits_data() {
        QTest::addColumn<Shape>("shape");
        QTest::addColumn<Field>("field");
        QTest::addColumn<float>("before");
        QTest::addColumn<float>("after");
        QTest::newRow("rose_auto past 5000 wraps")
            << Shape::rose_auto << Field::Top << 4995.f << -10.f;
        QTest::newRow("rose_auto onto 5000 stays")
            << Shape::rose_auto << Field::Top << 4985.f << 5000.f;
        QTest::newRow("rose_auto from 5000 wraps")
            << Shape::rose_auto << Field::Top << 5000.f << -10.f;
        QTest::newRow("rose_auto at its entry point")
            << Shape::rose_auto << Field::Top << -10.f << 5.f;
        QTest::newRow("avto_blue onto 5000 stays")
            << Shape::avto_blue << Field::Top << 4995.f << 5000.f;
        QTest::newRow("avto_blue past 5000 wraps")
            << Shape::avto_blue << Field::Top << 4996.f << -10.f;
        QTest::newRow("red_tram past 0 wraps") << Shape::red_tram << Field::Left << 5.f << 10000.f;
        QTest::newRow("red_tram onto 0 stays") << Shape::red_tram << Field::Left << 10.f << 0.f;
        QTest::newRow("red_tram from 0 wraps") << Shape::red_tram << Field::Left << 0.f << 10000.f;
        QTest::newRow("red_tram from its start")
            << Shape::red_tram << Field::Left << 9960.f << 9950.f;
    }

    void oneStepAtTheLimits() {
        QFETCH(Shape, shape);
        QFETCH(Field, field);
        QFETCH(float, before);
        QFETCH(float, after);
        SimToolkit tk;
        if (field == Field::Left)
            tk.setLeft(shape, before);
        else
            tk.setTop(shape, before);
        Traffic_step(tk);
        QCOMPARE(value(tk, shape, field), after);
    }

    // Only the tram's Left and the cars' Top move; the watched vehicle not at all.
    void stepMovesOnlyTheBackgroundAlongTheirRoads() {
        SimToolkit tk;
        const Toolkit::Geometry tram = tk.geometry(Shape::red_tram);
        const Toolkit::Geometry rose = tk.geometry(Shape::rose_auto);
        const Toolkit::Geometry blue = tk.geometry(Shape::avto_blue);
        const Toolkit::Geometry watched = tk.geometry(Shape::tervalin);
        Traffic_step(tk);
        QVERIFY2(tk.geometry(Shape::red_tram) ==
                     (Toolkit::Geometry{tram.left - 10, tram.top, tram.width, tram.height}),
                 "the tram did not move 10 to the left");
        QVERIFY2(tk.geometry(Shape::rose_auto) ==
                     (Toolkit::Geometry{rose.left, rose.top + 15, rose.width, rose.height}),
                 "rose_auto did not move 15 down");
        QVERIFY2(tk.geometry(Shape::avto_blue) ==
                     (Toolkit::Geometry{blue.left, blue.top + 5, blue.width, blue.height}),
                 "avto_blue did not move 5 down");
        QVERIFY2(tk.geometry(Shape::tervalin) == watched, "the watched vehicle moved");
    }

    // The wrap test sees the sum of the route's push and the traffic's step.
    void avtoBlueWrapsOnThePushedTopDuringLegFour() {
        RecordedRun reference;
        reference.run(1.0, 30.0);
        const int legFour = 229;
        const float start = windowDescription().shapes[int(Shape::avto_blue)].top;
        const float travelled =
            frame(reference, legFour - 1).shapes[int(Shape::avto_blue)].top - start;
        RecordedRun r;
        // Start avto_blue so that it stands at 4990 when leg 4 begins: the
        // push brings it to 5000, which alone would not wrap, the step to 5005.
        r.tk.setTop(Shape::avto_blue, 4990.f - travelled);
        r.run(1.0, 30.0);
        QCOMPARE(frame(r, legFour - 1).shapes[int(Shape::avto_blue)].top, 4990.f);
        QCOMPARE(frame(r, legFour).shapes[int(Shape::avto_blue)].top, -10.f);
    }

    // Counting the frames of a run from 1, with the route of the watched vehicle.
    void wrapsInAWholeRun_data() {
        QTest::addColumn<Shape>("shape");
        QTest::addColumn<Field>("field");
        QTest::addColumn<float>("entry");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("cycle");
        QTest::newRow("rose_auto") << Shape::rose_auto << Field::Top << -10.f << 310 << 335;
        QTest::newRow("avto_blue") << Shape::avto_blue << Field::Top << -10.f << 945 << 1003;
        QTest::newRow("red_tram") << Shape::red_tram << Field::Left << 10000.f << 997 << 1001;
    }

    void wrapsInAWholeRun() {
        QFETCH(Shape, shape);
        QFETCH(Field, field);
        QFETCH(float, entry);
        QFETCH(int, first);
        QFETCH(int, cycle);
        static const RecordedRun r = [] {
            RecordedRun run;
            run.run(1.0, 100.0);
            return run;
        }();
        QVERIFY2(r.frames.size() > 3000, "the run was too short");
        std::vector<int> expected;
        for (int n = first; n < int(r.frames.size()); n += cycle)
            expected.push_back(n);
        QCOMPARE(wrapFrames(r, shape, field, entry), expected);
    }

    void standsStillBeforeStart() {
        RecordedRun r;
        const RecordedRun::Shapes before = r.shapes();
        r.tk.runUntil(5.0);
        QVERIFY2(r.shapes() == before, "something moved before START");
        QVERIFY2(r.tk.writes.empty(), "a shape was written before START");
    }
};

QTEST_GUILESS_MAIN(TestTraffic)
#include "test_traffic.moc"
