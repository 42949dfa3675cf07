// The answer check on real widgets (offscreen): typing into the answer box,
// pressing the answer button, closing the verdict's box with Return.
#include "answer/answer_check.h"
#include "support/box_closer.h"
#include "toolkit/qt/qt_toolkit.h"
#include "window/quiz_state.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tervalin;
using enum Control;

namespace {

// Types `text` into `widget` key by key; unlike QTest::keyClicks it takes
// any character, Cyrillic included.
void type(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class TestAnswerQt : public QObject {
    Q_OBJECT
private slots:
    void judgesWhatWasTyped_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("otvet");
        QTest::addColumn<bool>("right");
        QTest::newRow("0") << "0" << 0 << true;
        QTest::newRow("-0.5") << "-0.5" << 0 << true;
        QTest::newRow("12") << "12" << 12 << false;
        QTest::newRow("blanks inside") << "1 e 2" << 100 << false;
        QTest::newRow("Cyrillic") << "три" << 0 << true;
        QTest::newRow("out of range") << "99999" << 32767 << false;
    }

    void judgesWhatWasTyped() {
        QFETCH(QString, typed);
        QFETCH(int, otvet);
        QFETCH(bool, right);

        QtToolkit tk;
        QuizState st;
        tk.onClick(Command2, [&] { Command2_Click(tk, st); });
        MainForm& form = tk.form();
        form.show();
        QVERIFY2(QTest::qWaitForWindowExposed(&form), "the window is shown");
        // What the last leg of a run does: the answer controls appear, the box
        // gets the focus, the track is on the window.
        tk.setVisible(Label1, true);
        tk.setVisible(Text1, true);
        tk.setVisible(Command2, true);
        tk.SetFocus(Text1);
        tk.Line({100, 100}, {2000, 100});
        tk.Print(3);

        QLineEdit* box = form.textBox(Text1);
        QPushButton* button = form.button(Command2);
        type(box, typed);
        QCOMPARE(box->text(), typed);

        test::BoxCloser closer;
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY2(closer.shown() == 1, "the verdict's box opens");
        QTRY_VERIFY2(!button->isVisible(), "the answer button is put away");

        QCOMPARE(closer.texts.value(0), right ? kRightAnswer : kWrongAnswer);
        QCOMPARE(closer.title, QStringLiteral("Tervalin"));
        QVERIFY2(closer.icon == QMessageBox::NoIcon, "no icon");
        QVERIFY2(closer.buttons == 1 && closer.okIsTheButton, "OK only");
        QVERIFY2(st.OTVET == otvet, qPrintable(QString::number(st.OTVET)));
        QVERIFY2(tk.surface().items().empty(), "the track and leg numbers are wiped");
        QVERIFY2(box->isVisible() && !box->isEnabled(), "the answer box stays, greyed");
        QCOMPARE(box->text(), typed);

        // The run loop asks again for the focus on every frame of the last
        // leg; the greyed box neither takes it nor takes typing.
        tk.SetFocus(Text1);
        QVERIFY2(QApplication::focusWidget() != box, "the greyed box has no focus");
        type(box, "5");
        QCOMPARE(box->text(), typed);
        QVERIFY2(closer.shown() == 1, "no further box");
    }
};

QTEST_MAIN(TestAnswerQt)
#include "test_answer_qt.moc"
