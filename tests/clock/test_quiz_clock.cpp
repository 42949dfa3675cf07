#include "app/handlers.h"
#include "clock/quiz_clock.h"
#include "toolkit/sim/sim_toolkit.h"
#include "window/quiz_state.h"

#include <QTest>

using namespace tervalin;

namespace {

struct Counters {
    int ds, s, m, h;
    bool operator==(const Counters&) const = default;
};

Counters counters(const QuizState& st) {
    return {st.ds, st.s, st.m, st.h};
}

QString describe(const Counters& c) {
    return QStringLiteral("ds %1, s %2, m %3, h %4").arg(c.ds).arg(c.s).arg(c.m).arg(c.h);
}

} // namespace

Q_DECLARE_METATYPE(Counters)

class TestQuizClock : public QObject {
    Q_OBJECT
private slots:
    void countsTicksIntoSecondsMinutesAndHours_data() {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<Counters>("expected");
        QTest::newRow("19 ticks") << 19 << Counters{19, 0, 0, 0};
        QTest::newRow("a second") << 20 << Counters{0, 1, 0, 0};
        QTest::newRow("a minute") << 1200 << Counters{0, 0, 1, 0};
        QTest::newRow("four minutes") << 4800 << Counters{0, 0, 4, 0};
        QTest::newRow("an hour") << 72000 << Counters{0, 0, 0, 1};
        QTest::newRow("a day, back to zero") << 1728000 << Counters{0, 0, 0, 0};
        QTest::newRow("a day and 61 seconds and a tick")
            << 1728000 + 1220 + 1 << Counters{1, 1, 1, 0};
    }

    void countsTicksIntoSecondsMinutesAndHours() {
        QFETCH(int, ticks);
        QFETCH(Counters, expected);
        SimToolkit tk;
        QuizState st;
        for (int i = 0; i < ticks; ++i)
            Timer1_Tick(tk, st);
        QVERIFY2(counters(st) == expected, qPrintable(describe(counters(st))));
        QVERIFY2(tk.Text(Control::Text2).isEmpty(), "the clock showed before START");
    }

    // Each roll-over is tested after the one before it on the same tick.
    void oneTickCarriesAsFarAsItMust_data() {
        QTest::addColumn<Counters>("before");
        QTest::addColumn<Counters>("after");
        QTest::newRow("through every level") << Counters{19, 59, 59, 23} << Counters{0, 0, 0, 0};
        QTest::newRow("into the hours") << Counters{19, 59, 59, 22} << Counters{0, 0, 0, 23};
        QTest::newRow("into the minutes") << Counters{19, 59, 58, 23} << Counters{0, 0, 59, 23};
        QTest::newRow("into the seconds") << Counters{19, 58, 59, 23} << Counters{0, 59, 59, 23};
        QTest::newRow("no carry") << Counters{18, 59, 59, 23} << Counters{19, 59, 59, 23};
    }

    void oneTickCarriesAsFarAsItMust() {
        QFETCH(Counters, before);
        QFETCH(Counters, after);
        SimToolkit tk;
        QuizState st;
        st.ds = std::int16_t(before.ds);
        st.s = std::int16_t(before.s);
        st.m = std::int16_t(before.m);
        st.h = std::int16_t(before.h);
        Timer1_Tick(tk, st);
        QVERIFY2(counters(st) == after, qPrintable(describe(counters(st))));
    }

    // Once a run has started, every tick writes the minutes with two digits.
    void showsTheMinutesWithTwoDigits_data() {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("ds");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0") << 0 << 0 << "00";
        QTest::newRow("1") << 1 << 0 << "01";
        QTest::newRow("4") << 4 << 0 << "04";
        QTest::newRow("9") << 9 << 0 << "09";
        QTest::newRow("10") << 10 << 0 << "10";
        QTest::newRow("59") << 59 << 0 << "59";
        QTest::newRow("a tick that ends a second, not a minute") << 3 << 19 << "03";
    }

    void showsTheMinutesWithTwoDigits() {
        QFETCH(int, minutes);
        QFETCH(int, ds);
        QFETCH(QString, shown);
        SimToolkit tk;
        QuizState st;
        st.START_MODEL = true;
        st.m = std::int16_t(minutes);
        st.ds = std::int16_t(ds);
        Timer1_Tick(tk, st);
        QCOMPARE(tk.Text(Control::Text2), shown);
    }

    void theMinuteTickWritesTheNewMinute() {
        SimToolkit tk;
        QuizState st;
        st.START_MODEL = true;
        st.ds = 19;
        st.s = 59;
        st.m = 3;
        Timer1_Tick(tk, st);
        QCOMPARE(tk.Text(Control::Text2), QStringLiteral("04"));
    }

    // The clock runs from the window's creation; START neither resets it nor
    // shows anything before the next tick.
    void countsBeforeStartAndShowsFromTheNextTick() {
        SimToolkit tk;
        QuizState st;
        wireHandlers(tk, st);
        std::vector<std::pair<Counters, QString>> seen; // at every wait of the run
        tk.setWaitObserver(
            [&](double, double) { seen.emplace_back(counters(st), tk.Text(Control::Text2)); });
        tk.runUntil(75.0); // 1500 ticks
        QVERIFY2(tk.Text(Control::Text2).isEmpty(), "the clock showed before START");
        QVERIFY2((counters(st) == Counters{0, 15, 1, 0}), qPrintable(describe(counters(st))));

        tk.clickAt(75.01, Control::Command1);
        tk.closeWindowAt(75.2);
        tk.runUntil(80.0);
        QVERIFY2(!seen.empty(), "no frame ran");
        QVERIFY2((seen.front().first == Counters{0, 15, 1, 0}), "START reset the clock");
        QCOMPARE(seen.front().second, QString());
        // Ticks at 75.05, 75.10, 75.15 and 75.20, before the close at the same moment.
        QVERIFY2((counters(st) == Counters{4, 15, 1, 0}), qPrintable(describe(counters(st))));
        QCOMPARE(tk.Text(Control::Text2), QStringLiteral("01"));
    }
};

QTEST_GUILESS_MAIN(TestQuizClock)
#include "test_quiz_clock.moc"
