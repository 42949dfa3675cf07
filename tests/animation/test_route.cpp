#include "support/recorded_run.h"

#include "animation/run_loop.h"

#include <QTest>

using namespace tervalin;
using Field = RecordingToolkit::Field;
using Item = DrawingSurface::Item;

Q_DECLARE_METATYPE(Field)

namespace {

constexpr int kRouteFrames = 311;

// The values a frame wrote to one field of one shape, in order.
std::vector<float> writesIn(const RecordedRun& r, int frame, Shape shape, Field field) {
    std::vector<float> values;
    for (const RecordingToolkit::Write& w : r.tk.writes)
        if (w.frame == frame && w.shape == shape && w.field == field)
            values.push_back(w.value);
    return values;
}

// The leg NUMBER_OF_POVOROT selects at the start of frame `n`.
int legAtStart(const RecordedRun& r, int n) {
    return n == 1 ? 0 // Empty before the first frame
                  : frame(r, n - 1).NUMBER_OF_POVOROT.value_or(0);
}

QPointF topLeftAfter(const RecordedRun& r, int n) {
    const Toolkit::Geometry& g = frame(r, n).shapes[int(Shape::tervalin)];
    return {g.left, g.top};
}

QPointF topLeftBefore(const RecordedRun& r, int n) {
    return n == 1 ? QPointF(3840, 6960) : topLeftAfter(r, n - 1);
}

QString describe(QPointF p) {
    return QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y());
}

// The whole route, started one second after the window opened.
const RecordedRun& wholeRoute() {
    static RecordedRun r = [] {
        RecordedRun run;
        run.run(1.0, 30.0);
        return run;
    }();
    return r;
}

} // namespace

class TestRoute : public QObject {
    Q_OBJECT
private slots:
    void legsFollowTheRouteTable_data() {
        QTest::addColumn<int>("leg");
        QTest::addColumn<int>("firstFrame");
        QTest::addColumn<int>("frameCount");
        QTest::addColumn<Field>("moving");
        QTest::addColumn<float>("endValue");
        QTest::addColumn<float>("snapValue");
        QTest::addColumn<QSizeF>("size"); // while the leg is driven
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QPointF>("printedAt");

        const QSizeF vertical(105, 330), horizontal(330, 105);
        QTest::newRow("leg 0, up the bottom road") << 0 << 1 << 25 << Field::Top << 4460.f << 4800.f
                                                   << vertical << " 1" << QPointF(3840, 4660);
        QTest::newRow("leg 1, right along the lower cross road")
            << 1 << 26 << 62 << Field::Left << 10040.f << 10000.f << horizontal << " 2"
            << QPointF(9840, 4640);
        QTest::newRow("leg 2, up over the level crossing")
            << 2 << 88 << 45 << Field::Top << 140.f << 300.f << vertical << " 3"
            << QPointF(10000, 340);
        QTest::newRow("leg 3, left along the top road")
            << 3 << 133 << 96 << Field::Left << 400.f << 500.f << horizontal << " 4"
            << QPointF(600, 300);
        QTest::newRow("leg 4, down the left road")
            << 4 << 229 << 28 << Field::Top << 3660.f << 3640.f << vertical << " 5"
            << QPointF(500, 3420);
        QTest::newRow("leg 5, right along the side road")
            << 5 << 257 << 31 << Field::Left << 3600.f << 3500.f << horizontal << " 6"
            << QPointF(3400, 3640);
        QTest::newRow("leg 6, down and back to the start")
            << 6 << 288 << 24 << Field::Top << 6040.f << 6960.f << vertical << QString()
            << QPointF();
    }

    void legsFollowTheRouteTable() {
        QFETCH(int, leg);
        QFETCH(int, firstFrame);
        QFETCH(int, frameCount);
        QFETCH(Field, moving);
        QFETCH(float, endValue);
        QFETCH(float, snapValue);
        QFETCH(QSizeF, size);
        QFETCH(QString, printed);
        QFETCH(QPointF, printedAt);
        const RecordedRun& r = wholeRoute();
        QVERIFY2(int(r.frames.size()) > kRouteFrames, "the run did not get past the route");

        std::vector<int> legFrames;
        for (int n = 1; n <= kRouteFrames + 5; ++n)
            if (legAtStart(r, n) == leg)
                legFrames.push_back(n);
        QVERIFY2(!legFrames.empty(), "the leg was never driven");
        QCOMPARE(legFrames.front(), firstFrame);
        QCOMPARE(int(legFrames.size()), frameCount);
        QCOMPARE(legFrames.back() - legFrames.front() + 1, frameCount);

        // Every frame before the end drives the leg in its own orientation.
        for (int n = firstFrame; n < firstFrame + frameCount - 1; ++n) {
            const Toolkit::Geometry& g = frame(r, n).shapes[int(Shape::tervalin)];
            QVERIFY2(QSizeF(g.width, g.height) == size,
                     qPrintable(QStringLiteral("frame %1 has the wrong orientation").arg(n)));
        }

        // The end frame: the step crosses the threshold, then the snap.
        const int end = firstFrame + frameCount - 1;
        const std::vector<float> expected{endValue, snapValue};
        QCOMPARE(writesIn(r, end, Shape::tervalin, moving), expected);

        // A turn swaps Width and Height; leg 6 does not turn.
        const Toolkit::Geometry& after = frame(r, end).shapes[int(Shape::tervalin)];
        const QSizeF expectedAfter = leg == 6 ? size : size.transposed();
        QVERIFY2(QSizeF(after.width, after.height) == expectedAfter,
                 "the vehicle's size after the end frame is wrong");

        // The leg number stands where the previous frame's segment ended.
        std::vector<Item> texts;
        for (const Item& item : r.tk.surface().items)
            if (item.kind == Item::Kind::Text)
                texts.push_back(item);
        QCOMPARE(int(texts.size()), 6);
        if (leg < 6) {
            QCOMPARE(texts[leg].text, printed);
            QVERIFY2(texts[leg].from == printedAt,
                     qPrintable("printed at " + describe(texts[leg].from)));
        }
    }

    void everyRouteFrameDrawsOneSegmentBackToItsStart() {
        const RecordedRun& r = wholeRoute();
        const std::vector<Item>& items = r.tk.surface().items;
        std::size_t before = 0;
        for (int n = 1; n <= kRouteFrames; ++n) {
            const RecordedRun::Frame& f = frame(r, n);
            const QString where = QStringLiteral("frame %1").arg(n);
            QVERIFY2(f.items > before, qPrintable(where + " drew nothing"));
            QVERIFY2(f.items - before <= 2, qPrintable(where + " drew too much"));
            const Item& segment = items[f.items - 1];
            QVERIFY2(segment.kind == Item::Kind::Line, qPrintable(where + " ends with no line"));
            QVERIFY2(segment.from == topLeftAfter(r, n),
                     qPrintable(where + " starts its segment at " + describe(segment.from)));
            QVERIFY2(segment.to == topLeftBefore(r, n),
                     qPrintable(where + " ends its segment at " + describe(segment.to)));
            QVERIFY2(f.X1 && QPointF(*f.X1, f.Y1) == topLeftBefore(r, n),
                     qPrintable(where + " has X1, Y1 away from the frame's start"));
            before = f.items;
        }
    }

    void firstAndLastSegments_data() {
        QTest::addColumn<int>("frameNumber");
        QTest::addColumn<QPointF>("from");
        QTest::addColumn<QPointF>("to");
        QTest::newRow("first frame") << 1 << QPointF(3840, 6860) << QPointF(3840, 6960);
        QTest::newRow("last frame jumps back across the window")
            << kRouteFrames << QPointF(3840, 6960) << QPointF(3500, 5940);
    }

    void firstAndLastSegments() {
        QFETCH(int, frameNumber);
        QFETCH(QPointF, from);
        QFETCH(QPointF, to);
        const RecordedRun& r = wholeRoute();
        const Item& segment = r.tk.surface().items[frame(r, frameNumber).items - 1];
        QVERIFY2(segment.from == from, qPrintable("starts at " + describe(segment.from)));
        QVERIFY2(segment.to == to, qPrintable("ends at " + describe(segment.to)));
    }

    void afterTheRouteNothingMovesOrIsDrawn() {
        const RecordedRun& r = wholeRoute();
        QCOMPARE(r.st.NUMBER_OF_POVOROT, std::optional<std::int16_t>(7));
        const Toolkit::Geometry home{3840, 6960, 105, 330};
        QVERIFY2(r.tk.geometry(Shape::tervalin) == home, "the vehicle is not back at its start");
        const std::size_t drawn = frame(r, kRouteFrames).items;
        for (int n = kRouteFrames + 1; n <= int(r.frames.size()); ++n) {
            QVERIFY2(frame(r, n).items == drawn,
                     qPrintable(QStringLiteral("frame %1 drew after the route").arg(n)));
            for (const Field f : {Field::Left, Field::Top, Field::Width, Field::Height})
                QVERIFY2(writesIn(r, n, Shape::tervalin, f).empty(),
                         qPrintable(QStringLiteral("frame %1 moved the vehicle").arg(n)));
        }
    }

    void answerControlsAppearOnTheLastLeg() {
        const RecordedRun& r = wholeRoute();
        for (int n = 1; n <= kRouteFrames + 10; ++n) {
            const RecordedRun::Frame& f = frame(r, n);
            const bool shown = n >= 288;
            const QString where = QStringLiteral("frame %1").arg(n);
            QVERIFY2(f.label1Visible == shown, qPrintable(where + ": Label1"));
            QVERIFY2(f.text1Visible == shown, qPrintable(where + ": Text1"));
            QVERIFY2(f.command2Visible == shown, qPrintable(where + ": Command2"));
            // One focus request in each of the 24 frames of leg 6, none elsewhere.
            const int requests = std::clamp(n - 287, 0, 24);
            QVERIFY2(f.text1FocusRequests == requests, qPrintable(where + ": focus requests"));
        }
        QCOMPARE(frame(r, kRouteFrames + 10).focus, QStringLiteral("Text1"));
    }

    // An answer judged during leg 6 hides Command2; the next frame of leg 6
    // shows it again, except after the last one, where the counter is 7.
    void answerButtonReturnsOnlyWhileTheCounterIsSix_data() {
        QTest::addColumn<int>("answeredInFrame");
        QTest::addColumn<bool>("command2Visible");
        QTest::newRow("frame 300 of 311") << 300 << true;
        QTest::newRow("frame 309: frame 310 still drives leg 6") << 309 << true;
        QTest::newRow("frame 310: frame 311 ends the leg first") << 310 << false;
        QTest::newRow("after the route") << 311 << false;
    }

    void answerButtonReturnsOnlyWhileTheCounterIsSix() {
        QFETCH(int, answeredInFrame);
        QFETCH(bool, command2Visible);
        const double at = frame(wholeRoute(), answeredInFrame).waitStart + 0.01;
        RecordedRun r;
        r.tk.typeAt(at, QStringLiteral("0"));
        r.tk.clickAt(at + 0.001, Control::Command2);
        r.run(1.0, 30.0);
        QCOMPARE(int(r.messages.size()), 1);
        const RecordedRun::Frame& next = frame(r, answeredInFrame + 1);
        QCOMPARE(next.command2Visible, command2Visible);
        QVERIFY2(!r.tk.isEnabled(Control::Text1), "the answer box takes input after the answer");
        QCOMPARE(r.tk.isVisible(Control::Command2), command2Visible);
    }

    void stopPausesStandTheSceneStill() {
        const RecordedRun& r = wholeRoute();
        QCOMPARE(int(r.pauses.size()), 2);
        const std::array<std::pair<int, float>, 2> expected{{{112, 2140.f}, {113, 2040.f}}};
        for (std::size_t i = 0; i < 2; ++i) {
            const RecordedRun::Pause& p = r.pauses[i];
            QCOMPARE(p.frame, expected[i].first);
            QCOMPARE(p.shapes[int(Shape::tervalin)].top, expected[i].second);
            QVERIFY2(std::abs(p.deadline - p.start - 1.0) < 1e-5, "the pause does not last 1 s");
            // The frame goes on only after the pause.
            QVERIFY2(frame(r, p.frame).waitStart >= p.deadline, "the frame did not wait");
            int ticksInPause = 0;
            for (const RecordedRun::Tick& t : r.ticks) {
                if (t.time <= p.start || t.time >= p.deadline)
                    continue;
                ++ticksInPause;
                QVERIFY2(t.shapes == p.shapes, "something moved during the stop pause");
                QVERIFY2(t.items == p.items, "something was drawn during the stop pause");
            }
            QVERIFY2(ticksInPause >= 19, "the clock did not tick during the stop pause");
        }
    }

    void stopPauseBookkeeping() {
        const RecordedRun& r = wholeRoute();
        for (int n = 1; n <= kRouteFrames; ++n) {
            const RecordedRun::Frame& f = frame(r, n);
            const QString where = QStringLiteral("frame %1").arg(n);
            QVERIFY2(f.PauseTime_znak == (n < 112 ? 0.0 : 1.0),
                     qPrintable(where + ": PauseTime_znak"));
            QVERIFY2(f.Start_znak.has_value() == (n >= 112), qPrintable(where + ": Start_znak"));
        }
        QCOMPARE(double(*frame(r, 113).Start_znak), double(float(r.pauses[1].start)));
    }

    // Start_znak holds a single, which late in a long uptime cannot hold the
    // time to the millisecond; the pause must last 1 s all the same.
    void stopPausesLastASecondAtAnyUptime_data() {
        QTest::addColumn<double>("startAt");
        QTest::newRow("a second after the window opened") << 1.0;
        QTest::newRow("a day after") << 86400.0;
        QTest::newRow("a hundred days after") << 100 * 86400.0;
    }

    void stopPausesLastASecondAtAnyUptime() {
        QFETCH(double, startAt);
        // Only START is wired: the clock's ticks over a hundred days would take
        // minutes to play, and neither the route nor its pauses read them.
        SimToolkit tk;
        QuizState st;
        tk.onClick(Control::Command1, [&] { Command1_Click(tk, st); });
        std::vector<std::pair<double, double>> waits; // when each began, its deadline
        tk.setWaitObserver([&](double now, double deadline) { waits.emplace_back(now, deadline); });
        tk.clickAt(startAt, Control::Command1);
        tk.closeWindowAt(startAt + 20);
        tk.runUntil(startAt + 20);

        int pauses = 0;
        double lastPause = 0;
        for (std::size_t i = 0; i + 1 < waits.size(); ++i) {
            const auto [start, deadline] = waits[i];
            if (deadline - start < 0.5)
                continue; // a frame's wait
            ++pauses;
            lastPause = start;
            // The frame goes on at once when the pause is over: its next wait
            // begins then.
            const double lasted = waits[i + 1].first - start;
            QVERIFY2(std::abs(lasted - 1.0) <= 1e-3,
                     qPrintable(QStringLiteral("pause %1 lasted %2 s").arg(pauses).arg(lasted)));
            QVERIFY2(
                std::abs(deadline - start - 1.0) <= 1e-3,
                qPrintable(
                    QStringLiteral("pause %1 waits for %2 s").arg(pauses).arg(deadline - start)));
        }
        QCOMPARE(pauses, 2);
        QCOMPARE(st.Start_znak, std::optional<float>(float(lastPause)));
    }

    void avtoBlueIsPushedBeforeTheTrafficStep() {
        const RecordedRun& r = wholeRoute();
        for (int n = 1; n <= kRouteFrames; ++n) {
            const float before = n == 1 ? 0.f : frame(r, n - 1).shapes[int(Shape::avto_blue)].top;
            const std::vector<float> tops = writesIn(r, n, Shape::avto_blue, Field::Top);
            const std::vector<float> expected = (n >= 229 && n <= 256)
                                                    ? std::vector<float>{before + 10, before + 15}
                                                    : std::vector<float>{before + 5};
            QVERIFY2(tops == expected,
                     qPrintable(QStringLiteral("frame %1 moved avto_blue wrongly").arg(n)));
        }
    }

    void emptyLegCounterDrivesLegZero() {
        RecordedRun r;
        QVERIFY(!r.st.NUMBER_OF_POVOROT.has_value());
        QVERIFY(!r.st.X1.has_value());
        r.run(1.0, 1.0 + 0.015); // the first frame only
        QCOMPARE(int(r.frames.size()), 1);
        QCOMPARE(frame(r, 1).shapes[int(Shape::tervalin)].top, 6860.f);
        QVERIFY2(!r.st.NUMBER_OF_POVOROT.has_value(), "the counter changed before a leg ended");
    }

    // Y1 is Top rounded to a whole twip, halves to even; X1 is Left as it is.
    void trackEndPointOfTheFirstFrame_data() {
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("top");
        QTest::addColumn<float>("X1");
        QTest::addColumn<int>("Y1");
        QTest::newRow("the scene's start") << 3840.f << 6960.f << 3840.f << 6960;
        QTest::newRow("half rounds down to even") << 3840.25f << 6960.5f << 3840.25f << 6960;
        QTest::newRow("half rounds up to even") << 3840.5f << 6961.5f << 3840.5f << 6962;
        QTest::newRow("below half") << 3840.f << 6960.4f << 3840.f << 6960;
        QTest::newRow("above half") << 3840.f << 6960.6f << 3840.f << 6961;
    }

    void trackEndPointOfTheFirstFrame() {
        QFETCH(float, left);
        QFETCH(float, top);
        QFETCH(float, X1);
        QFETCH(int, Y1);
        RecordedRun r;
        r.tk.setLeft(Shape::tervalin, left);
        r.tk.setTop(Shape::tervalin, top);
        r.run(1.0, 1.0 + 0.015);
        QCOMPARE(int(r.frames.size()), 1);
        QCOMPARE(r.st.X1, std::optional<float>(X1));
        QCOMPARE(int(r.st.Y1), Y1);
        const Item& segment = r.tk.surface().items.back();
        QVERIFY2(segment.to == QPointF(X1, Y1), qPrintable("ends at " + describe(segment.to)));
        QVERIFY2(segment.from == QPointF(left, top - 100),
                 qPrintable("starts at " + describe(segment.from)));
    }
};

QTEST_GUILESS_MAIN(TestRoute)
#include "test_route.moc"
