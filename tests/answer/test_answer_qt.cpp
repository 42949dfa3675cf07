// The answer check on real widgets (offscreen): typing into the answer box,
// giving the answer by mouse or keyboard, closing the verdict's box with
// Return, and the greyed box that is left.
#include "answer/answer_check.h"
#include "support/box_closer.h"
#include "support/last_leg.h"
#include "support/shown_window.h"
#include "window/quiz_state.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace tervalin;
using namespace tervalin::test;
using enum Control;

namespace {

// Types `text` into `widget` key by key; unlike QTest::keyClicks it takes
// any character, Cyrillic included.
void type(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

enum class How { Click, ReturnInBox, EnterInBox };

void give(How how, QLineEdit* box, QPushButton* button) {
    if (how == How::Click)
        QTest::mouseClick(button, Qt::LeftButton);
    else if (how == How::ReturnInBox)
        QTest::keyClick(box, Qt::Key_Return);
    else
        QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
}

} // namespace

Q_DECLARE_METATYPE(How)

class TestAnswerQt : public QObject {
    Q_OBJECT
private slots:
    void judgesWhatWasTyped_data() {
        QTest::addColumn<How>("how");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("otvet");
        QTest::addColumn<bool>("right");
        QTest::newRow("0") << How::Click << "0" << 0 << true;
        QTest::newRow("-0.5") << How::Click << "-0.5" << 0 << true;
        QTest::newRow("12") << How::Click << "12" << 12 << false;
        QTest::newRow("blanks inside") << How::Click << "1 e 2" << 100 << false;
        QTest::newRow("Cyrillic") << How::Click << "три" << 0 << true;
        QTest::newRow("out of range") << How::Click << "99999" << 32767 << false;
        QTest::newRow("Return in the box") << How::ReturnInBox << "2" << 2 << false;
        QTest::newRow("keypad Enter in the box") << How::EnterInBox << "0" << 0 << true;
    }

    void judgesWhatWasTyped() {
        QFETCH(How, how);
        QFETCH(QString, typed);
        QFETCH(int, otvet);
        QFETCH(bool, right);

        ShownWindow w;
        QVERIFY2(w.exposed(), "the window is shown");
        QtToolkit& tk = w.tk();
        QuizState st;
        tk.onClick(Command2, [&] { Command2_Click(tk, st); });
        showAnswerControls(tk);
        tk.Line({100, 100}, {2000, 100});
        tk.Print(3);

        QLineEdit* box = w.form().textBox(Text1);
        QPushButton* button = w.form().button(Command2);
        QSignalSpy presses(button, &QPushButton::clicked);
        type(box, typed);
        QCOMPARE(box->text(), typed);

        BoxCloser closer;
        give(how, box, button);
        QTRY_VERIFY2(closer.shown() == 1, "the verdict's box opens");
        QTRY_VERIFY2(!button->isVisible(), "the answer button is put away");

        QCOMPARE(presses.size(), 1);
        QCOMPARE(closer.texts.value(0), right ? kRightVerdict : kWrongVerdict);
        QCOMPARE(closer.title, QStringLiteral("Tervalin"));
        QVERIFY2(closer.icon == QMessageBox::NoIcon, "no icon");
        QVERIFY2(closer.buttons == 1 && closer.okIsTheButton, "OK only");
        QVERIFY2(st.OTVET == otvet, qPrintable(QString::number(st.OTVET)));
        QVERIFY2(tk.surface().items.empty(), "the track and leg numbers are wiped");
        QVERIFY2(box->isVisible() && !box->isEnabled(), "the answer box stays, greyed");
        QCOMPARE(box->text(), typed);

        // Answered on the last leg, the run loop shows the answer button
        // again and asks for the focus on every frame; the greyed box takes
        // neither the focus nor typing nor Return.
        tk.setVisible(Command2, true);
        tk.SetFocus(Text1);
        QVERIFY2(QApplication::focusWidget() != box, "the greyed box has the focus");
        type(box, "5");
        give(how == How::Click ? How::ReturnInBox : how, box, button);
        QCoreApplication::processEvents();
        QCOMPARE(box->text(), typed);
        QVERIFY2(closer.shown() == 1 && presses.size() == 1, "the greyed box judged again");
    }
};

QTEST_MAIN(TestAnswerQt)
#include "test_answer_qt.moc"
