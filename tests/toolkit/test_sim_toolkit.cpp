#include "app/handlers.h"
#include "support/last_leg.h"
#include "toolkit/sim/sim_toolkit.h"
#include "window/quiz_state.h"

#include <QTest>

using namespace tervalin;

class TestSimToolkit : public QObject {
    Q_OBJECT
private slots:
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
