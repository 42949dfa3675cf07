// The exercise from the keyboard, on the real widgets (offscreen): Return,
// keypad Enter and Space press the focused START and answer button, and
// Return and Enter in the answer box the answer button; each press starts
// or judges once, a key held down presses once, and with Ctrl, Shift, Alt
// or Meta held Return presses nothing. The answer box shows exactly what is
// judged.
#include "answer/answer_check.h"
#include "support/box_closer.h"
#include "support/last_leg.h"
#include "toolkit/qt/qt_toolkit.h"
#include "window/quiz_state.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <tuple>

using namespace tervalin;
using enum Control;

namespace {

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool held = false; // repeated by the keyboard before it is let go
};

// Each key and how often it presses.
const std::tuple<const char*, Key, int> kKeys[] = {
    {"Return", {Qt::Key_Return, Qt::NoModifier}, 1},
    {"Enter", {Qt::Key_Enter, Qt::KeypadModifier}, 1},
    {"Space", {Qt::Key_Space, Qt::NoModifier}, 1},
    {"Return held down", {Qt::Key_Return, Qt::NoModifier, true}, 1},
    {"Ctrl+Return", {Qt::Key_Return, Qt::ControlModifier}, 0},
    {"Shift+Return", {Qt::Key_Return, Qt::ShiftModifier}, 0},
    {"Alt+Return", {Qt::Key_Return, Qt::AltModifier}, 0},
    {"Meta+Return", {Qt::Key_Return, Qt::MetaModifier}, 0}};

// A key held down repeats three times, each repeat after the events before it.
void press(QWidget* w, const Key& k) {
    if (!k.held)
        return QTest::keyClick(w, k.key, k.modifiers);
    QTest::keyPress(w, k.key, k.modifiers);
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QTest::simulateEvent(w, true, k.key, k.modifiers, QString(), true);
    }
    QTest::keyRelease(w, k.key, k.modifiers);
}

bool showActive(MainForm& form) {
    form.show();
    form.activateWindow();
    return QTest::qWaitForWindowActive(&form);
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::clipboard()->clear(); }

    void keyPressesFocusedButtonOnce_data() {
        QTest::addColumn<Control>("focused");
        QTest::addColumn<Key>("key");
        QTest::addColumn<int>("presses");
        const std::pair<const char*, Control> sources[] = {
            {"START", Command1}, {"answer button", Command2}, {"answer box", Text1}};
        for (const auto& [name, focused] : sources)
            for (const auto& [keyName, key, presses] : kKeys)
                if (focused != Text1 || key.key != Qt::Key_Space) // a blank, in the box
                    QTest::addRow("%s, %s", name, keyName) << focused << key << presses;
    }

    // The handler presses the same key again while it runs, as a user who
    // presses twice before the first press is done: that second press is
    // dropped, like a second click.
    void keyPressesFocusedButtonOnce() {
        QFETCH(Control, focused);
        QFETCH(Key, key);
        QFETCH(int, presses);
        QtToolkit tk;
        QWidget* w = tk.form().control(focused);
        int runs = 0;
        tk.onClick(focused == Command1 ? Command1 : Command2, [&] {
            ++runs;
            QTest::keyClick(w, key.key, key.modifiers);
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
        });
        QVERIFY2(showActive(tk.form()), "the window becomes active");
        if (focused != Command1) {
            test::showAnswerControls(tk);
            w->setFocus(Qt::TabFocusReason);
        }
        QVERIFY2(QApplication::focusWidget() == w, "the control holds the focus");

        press(w, key);
        QTRY_VERIFY2(runs >= presses, "the key presses the button");
        QCoreApplication::processEvents();
        QVERIFY2(runs == presses, qPrintable(QStringLiteral("the handler ran %1 times").arg(runs)));
    }

    void answerBoxShowsWhatIsJudged_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("right");
        const auto row = [](const char* how, const char* name) -> QTestData& {
            return QTest::addRow("%s, %s", how, name) << QString::fromLatin1(how);
        };
        row("paste", "carriage return") << QStringLiteral("\r1") << "1" << false;
        row("paste", "SOH STX") << QStringLiteral("\u0001\u00021") << "1" << false;
        row("paste", "NUL") << QStringLiteral("\u00001") << "1" << false;
        row("paste", "DEL") << QStringLiteral("\u007f2") << "2" << false;
        row("paste", "C1 next line") << QStringLiteral("\u00853") << "3" << false;
        row("paste", "tab and line feed") << QStringLiteral("\t0\n") << "0" << true;
        row("paste", "control after the number") << QStringLiteral("0\u001b5") << "05" << false;
        row("paste", "Cyrillic") << QStringLiteral("пять") << QStringLiteral("пять") << true;
        row("paste", "full-width digit")
            << QStringLiteral("\uff15") << QStringLiteral("\uff15") << true;
        row("input method", "carriage return") << QStringLiteral("\r1") << "1" << false;
        row("input method", "Cyrillic") << QStringLiteral("пять") << QStringLiteral("пять") << true;
        QTest::newRow("paste, longest text")
            << QStringLiteral("paste") << QString(40000, u'0') << QString(32767, u'0') << true;
    }

    void answerBoxShowsWhatIsJudged() {
        QFETCH(QString, how);
        QFETCH(QString, input);
        QFETCH(QString, shown);
        QFETCH(bool, right);
        QtToolkit tk;
        QuizState st;
        tk.onClick(Command2, [&] { Command2_Click(tk, st); });
        QVERIFY2(showActive(tk.form()), "the window becomes active");
        test::showAnswerControls(tk);
        QLineEdit* box = tk.form().textBox(Text1);

        if (how == u"paste") {
            QApplication::clipboard()->setText(input);
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(input);
            QCoreApplication::sendEvent(box, &commit);
        }
        QCOMPARE(box->text(), shown);

        test::BoxCloser closer;
        press(box, {Qt::Key_Return, Qt::NoModifier});
        QTRY_COMPARE(closer.texts, QStringList{right ? test::kRightVerdict : test::kWrongVerdict});
        QCOMPARE(box->text(), shown);
    }

    // Typed control characters never enter the box (Ctrl+letter, Escape,
    // Backspace aside, the keys that carry them), and what is pasted into
    // the middle of a text leaves the cursor after it.
    void controlCharactersTypedOrPastedInsideAreDropped() {
        QtToolkit tk;
        QVERIFY2(showActive(tk.form()), "the window becomes active");
        test::showAnswerControls(tk);
        QLineEdit* box = tk.form().textBox(Text1);
        for (const QChar c : QStringView(u"1\x01\x1b\x7f\u009f2"))
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QCOMPARE(box->text(), QStringLiteral("12"));

        box->setCursorPosition(1);
        QApplication::clipboard()->setText(QStringLiteral("\u00013\r"));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QStringLiteral("132"));
        QCOMPARE(box->cursorPosition(), 2);
    }
};

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
