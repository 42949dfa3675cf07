#include "app/handlers.h"
#include "support/last_leg.h"
#include "toolkit/sim/sim_toolkit.h"
#include "window/quiz_state.h"

#include <QTest>

using namespace tervalin;

namespace {

// A scripted user clicks the answer button at 1.0 s and again at 1.5 s. The
// handler counts its runs and, while it runs, waits until 2.0 s, so the
// second click falls inside it.
struct ClickScript {
    SimToolkit tk;
    int runs = 0;

    explicit ClickScript(const QString& obstacle) {
        tk.setVisible(Control::Command2, true);
        tk.onClick(Control::Command2, [this, obstacle] {
            ++runs;
            if (obstacle == u"message box open")
                tk.MsgBox(QStringLiteral("box"));
            else
                tk.WaitEvents(2.0);
        });
        if (obstacle == u"hidden")
            tk.setVisible(Control::Command2, false);
        if (obstacle == u"disabled")
            tk.setEnabled(Control::Command2, false);
        if (obstacle == u"ended")
            tk.End();
        tk.setMessageBoxOpenFor(1.0);
        tk.clickAt(1.0, Control::Command2);
        tk.clickAt(1.5, Control::Command2);
        tk.runUntil(3.0);
    }
};

} // namespace

class TestSimToolkit : public QObject {
    Q_OBJECT
private slots:
    // The rule both toolkits share: a click runs its handler only when the
    // button can be clicked and its handler is not already running.
    void clickRunsItsHandlerOnlyWhenTheButtonTakesIt_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<int>("runs");
        QTest::newRow("second click while the handler waits") << "waiting" << 1;
        QTest::newRow("second click under its message box") << "message box open" << 1;
        QTest::newRow("hidden button") << "hidden" << 0;
        QTest::newRow("disabled button") << "disabled" << 0;
        QTest::newRow("after the end") << "ended" << 0;
    }
    void clickRunsItsHandlerOnlyWhenTheButtonTakesIt() {
        QFETCH(QString, obstacle);
        QFETCH(int, runs);
        const ClickScript script(obstacle);
        QVERIFY2(script.runs == runs,
                 qPrintable(QStringLiteral("%1 run(s), expected %2").arg(script.runs).arg(runs)));
    }

    // The answer box keeps control characters out, as the real one does, so
    // a scripted answer is judged as the real box would judge it.
    void answerBoxTakesNoControlCharacters_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("held");
        QTest::newRow("carriage return") << QStringLiteral("\r1") << QStringLiteral("1");
        QTest::newRow("NUL, DEL and C1")
            << QStringLiteral("\u0000\u007f\u00852") << QStringLiteral("2");
        QTest::newRow("Cyrillic and blanks")
            << QStringLiteral(" пять ") << QStringLiteral(" пять ");
    }
    void answerBoxTakesNoControlCharacters() {
        QFETCH(QString, typed);
        QFETCH(QString, held);
        SimToolkit tk;
        tk.setVisible(Control::Text1, true);
        tk.SetFocus(Control::Text1);
        tk.typeAt(1.0, typed);
        tk.runUntil(2.0);
        QCOMPARE(tk.Text(Control::Text1), held);
    }

    void nothingIsShownOnceTheProgramHasEnded() {
        SimToolkit tk;
        tk.End();
        tk.MsgBox(QStringLiteral("late"));
        tk.Show();
        QVERIFY2(tk.messages().empty(), "a message box opened after the end");
        QCOMPARE(tk.showRequests(), 0);
    }

    void wholeRunEndsAtTheTimeLimit() {
        SimToolkit tk;
        QuizState st;
        wireHandlers(tk, st);
        tk.clickAt(1.0, Control::Command1);
        tk.runUntil(600);
        QVERIFY(tk.Ended());
        QCOMPARE(tk.messages().size(), 1u);
        QCOMPARE(tk.messages().front().text, test::kTimeUp);
        QCOMPARE(st.NUMBER_OF_POVOROT, std::optional<std::int16_t>(7));
    }
};

QTEST_GUILESS_MAIN(TestSimToolkit)
#include "test_sim_toolkit.moc"
