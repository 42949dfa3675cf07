#include "support/last_leg.h"
#include "support/recorded_run.h"

#include <QTest>

using namespace tervalin;
using test::kTimeUp;

namespace {

// The sim's clock reads whole microseconds.
constexpr double kMicro = 1e-6;

// The frame in progress at `time` (started at or before it), or null.
const RecordedRun::Frame* frameAt(const RecordedRun& r, double time) {
    const RecordedRun::Frame* found = nullptr;
    for (const RecordedRun::Frame& f : r.frames)
        if (f.start <= time)
            found = &f;
    return found;
}

// Latest wait of any kind (frame or stop pause) that began at or before `time`.
double lastWaitBefore(const RecordedRun& r, double time) {
    double last = -1;
    for (const RecordedRun::Frame& f : r.frames)
        if (f.waitStart <= time)
            last = std::max(last, f.waitStart);
    for (const RecordedRun::Pause& p : r.pauses)
        if (p.start <= time)
            last = std::max(last, p.start);
    return last;
}

bool anyWaitAfter(const RecordedRun& r, double time) {
    return std::any_of(r.frames.begin(), r.frames.end(),
                       [&](const auto& f) { return f.waitStart > time; }) ||
           std::any_of(r.pauses.begin(), r.pauses.end(),
                       [&](const auto& p) { return p.start > time; });
}

// The answer "0" typed and given during frame `n` of the route.
void answerInFrame(RecordedRun& r, int n) {
    RecordedRun reference;
    reference.run(1.0, 30.0);
    const double at = frame(reference, n).waitStart + 0.01;
    r.tk.typeAt(at, QStringLiteral("0"));
    r.tk.clickAt(at + 0.001, Control::Command2);
}

} // namespace

class TestRunLoop : public QObject {
    Q_OBJECT
private slots:
    void startPreparesTheWindow() {
        using enum Control;
        RecordedRun r;
        // The opposite of what the run sets, so that every step shows.
        r.tk.setVisible(Command2, true);
        r.tk.setVisible(Label2, false);
        r.tk.setVisible(Label1, true);
        r.run(1.0, 1.5);
        QVERIFY2(!r.tk.isVisible(Command1), "START is still there");
        QVERIFY2(!r.tk.isVisible(Command2), "the answer button is shown");
        QVERIFY2(r.tk.isVisible(Label2), "the task text is hidden");
        QVERIFY2(!r.tk.isVisible(Label1), "the answer prompt is shown");
        QVERIFY2(r.tk.isVisible(Text2), "the clock box is hidden");
        QVERIFY2(r.st.START_MODEL, "START_MODEL was not set");
    }

    // A frame waits 0.03 s after its work, however long the window has been open.
    void framesWaitThirtyMilliseconds_data() {
        QTest::addColumn<double>("startAt");
        QTest::newRow("a second after the window opened") << 1.0;
        QTest::newRow("three minutes after") << 180.0;
        QTest::newRow("five hours after") << 5 * 3600.0 + 0.123;
    }

    void framesWaitThirtyMilliseconds() {
        QFETCH(double, startAt);
        RecordedRun r;
        r.run(startAt, startAt + 20.0);
        QVERIFY2(r.frames.size() > 400, "too few frames");
        QCOMPARE(r.frames.front().start, startAt);
        for (std::size_t i = 0; i < r.frames.size(); ++i) {
            const RecordedRun::Frame& f = r.frames[i];
            const QString where = QStringLiteral("frame %1").arg(f.number);
            QVERIFY2(
                std::abs(f.deadline - f.waitStart - 0.03) < kMicro,
                qPrintable(where + QStringLiteral(" waits %1 s").arg(f.deadline - f.waitStart)));
            if (i + 1 < r.frames.size())
                QVERIFY2(r.frames[i + 1].start - f.waitStart <= 0.03 + kMicro,
                         qPrintable(where + " is followed late"));
        }
        for (const RecordedRun::Pause& p : r.pauses)
            QVERIFY2(std::abs(p.deadline - p.start - 1.0) < 2e-3, "a stop pause is not 1 s");
    }

    // The time limit is checked at frame starts only: the first frame that
    // starts once m is 4 shows the message and moves nothing.
    void timeRunsOutAtTheFirstFrameAfterFourMinutes_data() {
        QTest::addColumn<double>("startAt");
        QTest::addColumn<double>("limit"); // when the 4800th tick since the clock's hour falls
        QTest::newRow("the route long over") << 1.0 << 240.0;
        QTest::newRow("mid-route") << 235.0 << 240.0;
        // Frame 112 pauses from 239.53 to 240.53: m reaches 4 inside the pause.
        QTest::newRow("m reaches 4 in a stop pause") << 236.2 << 240.0;
        QTest::newRow("START after the clock's first hour, at m = 1") << 3660.0 << 3840.0;
    }

    void timeRunsOutAtTheFirstFrameAfterFourMinutes() {
        QFETCH(double, startAt);
        QFETCH(double, limit);
        RecordedRun r;
        r.run(startAt, limit + 100);
        QCOMPARE(int(r.messages.size()), 1);
        const auto& [message, shapesThen] = r.messages.front();
        QCOMPARE(message.text, kTimeUp);
        QCOMPARE(message.title, QStringLiteral("Tervalin"));
        QVERIFY2(message.openedAt >= limit, "the message came before the time was up");
        QCOMPARE(r.text2AtMessages.front(), QStringLiteral("04"));

        // The frame in progress when m reached 4 ran to its end; the message
        // opened the very next frame.
        const RecordedRun::Frame* last = frameAt(r, limit);
        QVERIFY2(last != nullptr, "no frame ran");
        QCOMPARE(last, &r.frames.back());
        QVERIFY2(last->start < limit, "a frame started after the time was up");
        QVERIFY2(std::abs(message.openedAt - last->deadline) <= kMicro,
                 "the message did not come at the next frame's start");
        QVERIFY2(shapesThen == last->shapes, "something moved in the frame of the message");

        QVERIFY2(r.tk.Ended(), "the program did not end");
        QCOMPARE(r.tk.endedAt(), std::optional<double>(r.tk.messages().front().closedAt));
        QVERIFY2(!anyWaitAfter(r, message.openedAt), "a frame ran after the message");
    }

    void startAfterTheTimeIsUpMovesNothing_data() {
        QTest::addColumn<double>("startAt");
        QTest::newRow("m = 4") << 250.0;
        QTest::newRow("m = 59") << 59 * 60.0 + 1;
    }

    void startAfterTheTimeIsUpMovesNothing() {
        QFETCH(double, startAt);
        RecordedRun r;
        const RecordedRun::Shapes scene = r.shapes();
        r.run(startAt, startAt + 100);
        QCOMPARE(int(r.messages.size()), 1);
        QCOMPARE(r.messages.front().first.text, kTimeUp);
        QCOMPARE(r.messages.front().first.openedAt, startAt);
        QVERIFY2(r.frames.empty() && r.pauses.empty(), "a frame ran");
        QVERIFY2(r.shapes() == scene, "something moved");
        QVERIFY2(r.tk.surface().items.empty(), "something was drawn");
        QVERIFY2(!r.tk.isVisible(Control::Command1), "START is still there");
        QVERIFY2(r.st.START_MODEL, "START_MODEL was not set");
        QVERIFY2(!r.st.NUMBER_OF_POVOROT.has_value(), "the leg counter changed");
        QVERIFY2(r.tk.Ended(), "the program did not end");
    }

    // Closing the window ends the program at once: START's handler returns
    // and no frame follows, whatever the run was doing: nothing moves and
    // nothing more is drawn.
    void closingTheWindowEndsTheRunAtOnce_data() {
        QTest::addColumn<double>("closeAt");
        QTest::addColumn<int>("answerInFrame"); // 0: no answer
        QTest::addColumn<int>("messagesExpected");
        QTest::newRow("before START") << 0.5 << 0 << 0;
        QTest::newRow("while driving") << 2.015 << 0 << 0;
        QTest::newRow("during a stop pause") << 1.0 + 111 * 0.03 + 0.5 << 0 << 0;
        QTest::newRow("after the route") << 20.0 << 0 << 0;
        // Frame 300 waits from 11.97 s on; the answer comes 0.01 s later.
        QTest::newRow("with the answer's message box open") << 13.0 << 300 << 1;
        QTest::newRow("with the time-out message open") << 240.5 << 0 << 1;
    }

    void closingTheWindowEndsTheRunAtOnce() {
        QFETCH(double, closeAt);
        QFETCH(int, answerInFrame);
        QFETCH(int, messagesExpected);
        RecordedRun r;
        if (answerInFrame)
            ::answerInFrame(r, answerInFrame);
        r.tk.setMessageBoxOpenFor(5.0);
        r.tk.closeWindowAt(closeAt);
        r.run(1.0, 600.0);

        QVERIFY2(r.tk.Ended(), "the program did not end");
        QCOMPARE(r.tk.endedAt(), std::optional<double>(closeAt));
        QCOMPARE(int(r.messages.size()), messagesExpected);
        QVERIFY2(!anyWaitAfter(r, closeAt), "a frame began after the window was closed");

        // Nothing moved since the last wait began before the close.
        const double lastWait = lastWaitBefore(r, closeAt);
        if (lastWait < 0) {
            QVERIFY2(r.frames.empty(), "frames ran before START");
            QVERIFY2(r.tk.surface().items.empty(), "something was drawn before START");
            return;
        }
        RecordedRun::Shapes then{};
        for (const auto& f : r.frames)
            if (f.waitStart == lastWait)
                then = f.shapes;
        for (const auto& p : r.pauses)
            if (p.start == lastWait)
                then = p.shapes;
        QVERIFY2(r.shapes() == then, "something moved after the window was closed");
        QVERIFY2(r.tk.surface().items == r.drawnAtLastWait,
                 qPrintable(QStringLiteral("%1 items drawn when the last wait began, %2 at the end")
                                .arg(r.drawnAtLastWait.size())
                                .arg(r.tk.surface().items.size())));
    }

    // A message box of the answer check, open for two seconds, holds the
    // frames; the clock goes on ticking.
    void framesStandStillWhileAMessageBoxIsOpen() {
        RecordedRun r;
        answerInFrame(r, 300);
        r.tk.setMessageBoxOpenFor(2.0);
        r.run(1.0, 30.0);
        QCOMPARE(int(r.messages.size()), 1);
        const RecordedRun::Shapes& shapesThen = r.messages.front().second;
        const SimToolkit::Message& box = r.tk.messages().front();
        QVERIFY2(box.closedAt - box.openedAt >= 2.0 - kMicro, "the box did not stay open");
        int ticks = 0;
        for (const RecordedRun::Tick& t : r.ticks) {
            if (!t.messageBoxOpen)
                continue;
            ++ticks;
            QVERIFY2(t.shapes == shapesThen, "something moved while the box was open");
        }
        QVERIFY2(ticks >= 39,
                 qPrintable(QStringLiteral("only %1 ticks with the box open").arg(ticks)));
        const RecordedRun::Frame& answered = frame(r, 300);
        const RecordedRun::Frame& next = frame(r, 301);
        QVERIFY2(answered.waitStart < box.openedAt, "the box opened outside frame 300's wait");
        QVERIFY2(next.start >= box.closedAt, "frame 301 began while the box was open");
    }
};

QTEST_GUILESS_MAIN(TestRunLoop)
#include "test_run_loop.moc"
