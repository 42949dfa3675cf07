#include "app/handlers.h"
#include "toolkit/sim/sim_toolkit.h"
#include "window/quiz_state.h"

#include <QTest>

using namespace tervalin;

class TestSimToolkit : public QObject {
    Q_OBJECT
private slots:
    void wholeRunEndsAtTheTimeLimit() {
        SimToolkit tk;
        QuizState st;
        wireHandlers(tk, st);
        tk.clickAt(1.0, Control::Command1);
        tk.runUntil(600);
        QVERIFY(tk.Ended());
        QCOMPARE(tk.messages().size(), 1u);
        QCOMPARE(tk.messages().front().text, QStringLiteral(" ВРЕМЯ   ИСТЕКЛО !"));
        QCOMPARE(st.NUMBER_OF_POVOROT, std::optional<std::int16_t>(7));
    }
};

QTEST_GUILESS_MAIN(TestSimToolkit)
#include "test_sim_toolkit.moc"
