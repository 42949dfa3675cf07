#include "animation/route.h"
#include "animation/run_loop.h"
#include "app/handlers.h"
#include "support/box_closer.h"
#include "support/scene_snapshot.h"
#include "support/shown_window.h"
#include "toolkit/qt/main_form.h"
#include "toolkit/qt/qt_toolkit.h"
#include "window/quiz_state.h"

#include <QAbstractEventDispatcher>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace tervalin;

namespace {

// Counts the passes of the event loop: a wait that spins makes thousands a
// second, one that blocks a few per event.
class LoopPasses {
public:
    LoopPasses() {
        connection_ = QObject::connect(QAbstractEventDispatcher::instance(),
                                       &QAbstractEventDispatcher::awake, [this] { ++count; });
    }
    ~LoopPasses() { QObject::disconnect(connection_); }
    int count = 0;

private:
    QMetaObject::Connection connection_;
};

} // namespace

// START's handler runs nested in the queued click and returns only when the
// program ends; these tests look at the window from timers that fire inside
// the run's waits, and end the run by closing the window. (What closing
// does at each moment: test_qt_end.)
class TestQtRun : public QObject {
    Q_OBJECT
private slots:
    // A double click queues two calls before the first runs; the second must
    // not start a handler inside the first one's waits, nor under the
    // message box that the first one shows.
    void aSecondQueuedClickNeverNestsInTheFirst_data() {
        QTest::addColumn<Control>("first");
        QTest::addColumn<QString>("meanwhile");
        QTest::newRow("a button that hides itself, like START") << Control::Command2 << "hides";
        QTest::newRow("a button that stays while its handler runs") << Control::Command2 << "waits";
        QTest::newRow("the answer button after START, under START's message box")
            << Control::Command1 << "message box";
    }
    void aSecondQueuedClickNeverNestsInTheFirst() {
        QFETCH(Control, first);
        QFETCH(QString, meanwhile);
        test::ShownWindow w;
        QtToolkit& tk = w.tk();
        int calls = 0, depth = 0, deepest = 0;
        const auto handler = [&](Control button) {
            ++calls;
            deepest = std::max(deepest, ++depth);
            if (meanwhile == u"hides")
                tk.setVisible(button, false);
            if (meanwhile == u"message box") {
                tk.MsgBox(QStringLiteral("box"));
            } else {
                const double until = tk.Timer() + 0.05;
                while (tk.Timer() < until)
                    tk.WaitEvents(until);
            }
            --depth;
        };
        for (const Control button : {Control::Command1, Control::Command2})
            tk.onClick(button, [&, button] { handler(button); });
        tk.setVisible(Control::Command2, true);
        QVERIFY(w.exposed());
        auto* button = tk.form().button(Control::Command2);

        test::BoxCloser closer;
        QTest::mouseClick(tk.form().button(first), Qt::LeftButton);
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(); // both queued calls are delivered here
        QCOMPARE(deepest, 1);
        QCOMPARE(calls, 1);

        tk.setVisible(Control::Command2, true);
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::sendPostedEvents();
        QVERIFY2(calls == 2, "a click after the handler has returned runs it again");
    }

    void startHidesItselfAndTheClockShowsTheMinutes() {
        test::ShownWindow w;
        QVERIFY(w.exposed());
        QtToolkit& tk = w.tk();
        QuizState st;
        wireHandlers(tk, st);
        QVERIFY2(tk.Text(Control::Text2).isEmpty(), "the clock shows before START");

        bool startVisible = true, clockVisible = false;
        QString clock;
        std::vector<DrawingSurface::Item> track;
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            if (tk.surface().items.size() < 10 || tk.Text(Control::Text2).isEmpty())
                return;
            startVisible = tk.form().control(Control::Command1)->isVisible();
            clockVisible = tk.form().control(Control::Text2)->isVisible();
            clock = tk.Text(Control::Text2);
            track = tk.surface().items;
            tk.form().close();
        });
        probe.start(10);
        QTest::mouseClick(tk.form().button(Control::Command1), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(tk.Ended(), 30000);

        QVERIFY2(!startVisible, "START is still shown during the run");
        QVERIFY2(clockVisible, "the clock box is not uncovered");
        QCOMPARE(clock, QStringLiteral("00"));
        QVERIFY2(!track.empty(), "no track was drawn");
        const DrawingSurface::Item first{DrawingSurface::Item::Kind::Line, QPointF(3840, 6860),
                                         QPointF(3840, 6960), QString()};
        QVERIFY2(track.front() == first, "the first segment of the track is wrong");
        QVERIFY2(!tk.form().isVisible(), "the window stays open after the close");
    }

    // Ticks the event loop could not deliver on time come in a burst as soon
    // as it can: the count keeps to the monotonic clock within one tick.
    void lateTicksAreCaughtUp() {
        QtToolkit tk;
        std::vector<std::pair<long long, double>> ticks; // number, Timer when delivered
        tk.onTick([&] { ticks.emplace_back(ticks.size() + 1, tk.Timer()); });
        QTRY_VERIFY(ticks.size() >= 2);
        bool blocked = false;
        QTimer::singleShot(0, [&] {
            const double until = tk.Timer() + 0.3; // a handler busy for 0.3 s
            while (tk.Timer() < until) {
            }
            blocked = true;
        });
        QTRY_VERIFY(blocked);
        const std::size_t afterBlock = ticks.size();
        QTRY_VERIFY(ticks.size() > afterBlock);
        // A burst delivers its ticks within microseconds; after each burst
        // the count is what the clock says is due.
        std::size_t longestBurst = 1, burst = 1;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            const auto [number, time] = ticks[i];
            const long long due = std::llround(std::floor(time / 0.05));
            QVERIFY2(number <= due, qPrintable(QStringLiteral("tick %1 came early").arg(number)));
            const bool burstGoesOn = i + 1 < ticks.size() && ticks[i + 1].second - time < 0.001;
            if (burstGoesOn) {
                longestBurst = std::max(longestBurst, ++burst);
                continue;
            }
            burst = 1;
            QVERIFY2(number >= due - 1,
                     qPrintable(QStringLiteral("at %1 s only %2 of %3 ticks were delivered")
                                    .arg(time)
                                    .arg(number)
                                    .arg(due)));
        }
        QVERIFY2(longestBurst >= 5, "the busy handler delayed no ticks");
    }

    // Each wait blocks until its deadline, and is noted once, as it begins,
    // in the tervalin.frames category when that is on, and only then.
    void waitsBlockUntilTheirDeadline() {
        QtToolkit tk;
        QuizState st;
        int ticks = 0;
        tk.onTick([&] { ++ticks; });
        static QStringList logged;
        const QtMessageHandler next = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext& context, const QString& text) {
                if (qstrcmp(context.category, "tervalin.frames") == 0)
                    logged << QString::fromLatin1(context.category) + QStringLiteral(": ") + text;
            });
        const auto restore = qScopeGuard([next] {
            qInstallMessageHandler(next);
            QLoggingCategory::setFilterRules(QString());
        });

        LoopPasses frame;
        const double frameStart = tk.Timer();
        Pacing_wait(tk);
        QVERIFY2(tk.Timer() >= frameStart + 0.03, "the frame's wait ended early");
        QVERIFY2(frame.count < 10, qPrintable(QStringLiteral("the frame's wait passed the event "
                                                             "loop %1 times")
                                                  .arg(frame.count)));

        QVERIFY2(logged.isEmpty(), qPrintable(logged.join(u'\n')));

        // A stop pause: leg 2 brings the vehicle from 2240 to 2140.
        QLoggingCategory::setFilterRules(QStringLiteral("tervalin.frames.debug=true"));
        st.NUMBER_OF_POVOROT = 2;
        st.X1 = tk.Left(Shape::tervalin);
        tk.setTop(Shape::tervalin, 2240);
        LoopPasses pause;
        const int ticksBefore = ticks;
        Route_step(tk, st, RunStart{6960, 3840});
        QCOMPARE(tk.Top(Shape::tervalin), 2140.f);
        QVERIFY2(st.Start_znak && tk.Timer() >= double(*st.Start_znak) + 1.0,
                 "the stop pause ended early");
        QVERIFY2(ticks - ticksBefore >= 19, "the clock did not tick during the stop pause");
        QVERIFY2(pause.count < 100, qPrintable(QStringLiteral("the stop pause passed the event "
                                                              "loop %1 times")
                                                   .arg(pause.count)));
        QCOMPARE(logged.size(), 1);
        const QStringList fields = logged.front().split(u' ');
        QCOMPARE(fields.size(), 3);
        QCOMPARE(fields[0], QStringLiteral("tervalin.frames:"));
        // The time the wait began, then its deadline, both on the toolkit's
        // clock: the wait began as the pause did, well before its deadline.
        QVERIFY2(fields[1].toDouble() >= double(*st.Start_znak) - 1e-6 &&
                     fields[1].toDouble() <= fields[2].toDouble() - 0.9,
                 qPrintable(logged.front()));
        QVERIFY2(qAbs(fields[2].toDouble() - double(*st.Start_znak) - 1.0) < 1e-3,
                 qPrintable(logged.front()));
    }
};

QTEST_MAIN(TestQtRun)
#include "test_qt_run.moc"
