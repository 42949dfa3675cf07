// Reading the typed answer and judging it: what number a text reads as, what
// OTVET becomes, and which verdict the user is shown.
#include "answer/answer_check.h"
#include "support/last_leg.h"
#include "toolkit/numbers.h"
#include "toolkit/sim/sim_toolkit.h"
#include "window/quiz_state.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace tervalin;

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();

QString describe(double v) {
    return QString::number(v, 'g', 17);
}

constexpr qsizetype kMB = 1 << 20;

} // namespace

class TestAnswerJudging : public QObject {
    Q_OBJECT
private slots:
    void readsAndJudgesTheTypedAnswer_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("otvet");
        QTest::addColumn<bool>("right");

        auto row = [](const char* name, const QString& text, double value, int otvet, bool right) {
            QTest::newRow(name) << text << value << otvet << right;
        };
        // The cases a teacher would try first.
        row("0", "0", 0, 0, true);
        row("00", "00", 0, 0, true);
        row("blank then 0", " 0", 0, 0, true);
        row("-0", "-0", -0.0, 0, true);
        row("empty", "", 0, 0, true);
        row("0.4", "0.4", 0.4, 0, true);
        row("0.5 rounds to even 0", "0.5", 0.5, 0, true);
        row("0.6", "0.6", 0.6, 1, false);
        row("1.5 rounds to even 2", "1.5", 1.5, 2, false);
        row("2.5 rounds to even 2", "2.5", 2.5, 2, false);
        row("-0.5 rounds to even 0", "-0.5", -0.5, 0, true);
        row("-0.6", "-0.6", -0.6, -1, false);
        row("1", "1", 1, 1, false);
        row("-3", "-3", -3, -3, false);
        row("+5", "+5", 5, 5, false);
        row("comma is no decimal point", "0,7", 0, 0, true);
        row("2 then a word", "2 нарушения", 2, 2, false);
        row("blanks only", "   ", 0, 0, true);
        row("letters", "abc", 0, 0, true);
        row("sign only", "-", 0, 0, true);
        row("two signs", "--1", 0, 0, true);
        row("point only", ".", 0, 0, true);
        row("leading point", ".6", 0.6, 1, false);
        row("trailing point", "7.", 7, 7, false);
        row("second point stops", "0.4.9", 0.4, 0, true);
        // Blanks, tabs and line feeds count nowhere; other white space stops.
        row("blank between digits", "1 2", 12, 12, false);
        row("blank after sign", "- 3", -3, -3, false);
        row("blanks around point", "0 . 4", 0.4, 0, true);
        row("tab and line feed", "\t1\n0", 10, 10, false);
        row("carriage return stops", "1\r2", 1, 1, false);
        row("non-breaking space stops", QStringLiteral("1\u00A02"), 1, 1, false);
        row("ideographic space stops", QStringLiteral("\u30001"), 0, 0, true);
        // Exponents.
        row("exponent", "1e2", 100, 100, false);
        row("exponent with minus", "4e-1", 0.4, 0, true);
        row("upper-case exponent", "5E-1", 0.5, 0, true);
        row("D exponent", "1d2", 100, 100, false);
        row("upper-case D with minus", "25D-1", 2.5, 2, false);
        row("exponent with plus", "3e+1", 30, 30, false);
        row("blanks inside exponent", "1 e 2", 100, 100, false);
        row("exponent letter alone", "2e", 2, 2, false);
        row("exponent sign alone", "0e+", 0, 0, true);
        row("exponent then word", "3 ex", 3, 3, false);
        row("exponent on nothing", "e5", 0, 0, true);
        row("point then exponent", ".e5", 0, 0, true);
        row("zero to a huge power", "0e999999999999", 0, 0, true);
        // Hexadecimal and octal.
        row("hex", "&H10", 16, 16, false);
        row("lower-case hex", "&hff", 255, 255, false);
        row("hex zero", "&H0000", 0, 0, true);
        row("hex FFFF is not -1", "&HFFFF", 65535, 32767, false);
        row("hex with blanks", "& H 1 a", 26, 26, false);
        row("hex stops at G", "&H1G", 1, 1, false);
        row("hex without digits", "&H", 0, 0, true);
        row("octal", "&O17", 15, 15, false);
        row("octal stops at 8", "&o178", 15, 15, false);
        row("ampersand without letter", "&12", 0, 0, true);
        row("sign before prefix", "-&H1", 0, 0, true);
        // Beyond the 16-bit range: clamped, and wrong.
        row("32767", "32767", 32767, 32767, false);
        row("-32768", "-32768", -32768, -32768, false);
        row("halfway above the top", "32767.5", 32767.5, 32767, false);
        row("halfway below the bottom", "-32768.5", -32768.5, -32768, false);
        row("99999", "99999", 99999, 32767, false);
        row("-99999", "-99999", -99999, -32768, false);
        row("1e40", "1e40", 1e40, 32767, false);
        row("-1e400", "-1e400", -inf, -32768, false);
        row("1e-400", "1e-400", 0, 0, true);
        row("huge exponent", "1e99999999999999999999", inf, 32767, false);
        row("exponent near the 64-bit limit", "12e9223372036854775806", inf, 32767, false);
        row("tiny, exponent near the 64-bit limit", "0.001e-9223372036854775807", 0, 0, true);
        row("long hex", "&H" + QString(300, u'F'), inf, 32767, false);
        // Huge input.
        row("1 MB of digits", QString(kMB, u'7'), inf, 32767, false);
        row("1 MB of zeros", QString(kMB, u'0'), 0, 0, true);
        row("1 MB of zeros then 1", QString(kMB, u'0') + u'1', 1, 1, false);
        row("1 MB of fraction zeros", "0." + QString(kMB, u'0') + u'9', 0, 0, true);
        row("1 MB of blanks then 5", QString(kMB, u' ') + u'5', 5, 5, false);
        row("1 MB of hex zeros then F", "&H" + QString(kMB, u'0') + u'F', 15, 15, false);
        // Only the ASCII digits are digits.
        row("Cyrillic", "ноль", 0, 0, true);
        row("emoji", QStringLiteral("\U0001F600"), 0, 0, true);
        row("digit then emoji", QStringLiteral("4\U0001F600"), 4, 4, false);
        row("full-width digits", QStringLiteral("\uFF11\uFF12"), 0, 0, true);
        row("Arabic-Indic digit", QStringLiteral("\u0663"), 0, 0, true);
        row("superscript two", QStringLiteral("\u00B2"), 0, 0, true);
        row("lone surrogate", QString(QChar(0xD800)) + u'5', 0, 0, true);
    }

    void readsAndJudgesTheTypedAnswer() {
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(int, otvet);
        QFETCH(bool, right);

        const double read = Val(text);
        QVERIFY2(read == value,
                 qPrintable("reads " + describe(read) + ", expected " + describe(value)));

        SimToolkit tk;
        QuizState st;
        st.OTVET = 99; // an earlier answer, to be replaced
        tk.setVisible(Control::Text1, true);
        tk.setVisible(Control::Command2, true);
        tk.setText(Control::Text1, text);
        Command2_Click(tk, st);

        QVERIFY2(st.OTVET == otvet,
                 qPrintable(QStringLiteral("OTVET is %1, expected %2").arg(st.OTVET).arg(otvet)));
        QVERIFY2(tk.messages().size() == 1, "exactly one verdict");
        QVERIFY2(tk.messages().front().text == (right ? test::kRightVerdict : test::kWrongVerdict),
                 qPrintable("verdict: " + tk.messages().front().text));
    }

    // Numbers whose reading depends on every digit, or on digits far beyond
    // those that are kept, must still round correctly.
    void readsNumbersCorrectlyRounded_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");

        const QString zeros800(800, u'0');
        const QString zeros1000(1000, u'0');
        QTest::newRow("2^53+1 halfway, to even") << "9007199254740993" << 9007199254740992.0;
        QTest::newRow("2^53+1 and a far 1, up")
            << "9007199254740993." + zeros800 + "1" << 9007199254740994.0;
        QTest::newRow("2^53+1 and far zeros, to even")
            << "9007199254740993." + zeros800 << 9007199254740992.0;
        QTest::newRow("0.1 with its long tail") << "0.1000000000000000055511151231257827" << 0.1;
        QTest::newRow("many leading fraction zeros") << "0." + QString(400, u'0') + "1e401" << 1.0;
        QTest::newRow("many trailing integer zeros") << "1" + zeros1000 + "e-1001" << 0.1;
        QTest::newRow("largest double") << "1.7976931348623157e308" << 1.7976931348623157e308;
        QTest::newRow("just beyond the largest") << "1.8e308" << inf;
        QTest::newRow("smallest subnormal") << "4.9e-324" << 4.9e-324;
        QTest::newRow("below half the smallest") << "2e-324" << 0.0;
        QTest::newRow("hex 2^53+1 halfway, to even") << "&H20000000000001" << 9007199254740992.0;
        QTest::newRow("hex 2^53+3 halfway, to even") << "&H20000000000003" << 9007199254740996.0;
        QTest::newRow("hex halfway and a far 1, up")
            << "&H20000000000001" + QString(17, u'0') + "1" << std::ldexp(9007199254740994.0, 72);
        QTest::newRow("hex 2^64-1") << "&HFFFFFFFFFFFFFFFF" << 18446744073709551616.0;
        QTest::newRow("octal 2^63") << "&O1" + QString(21, u'0') << 9223372036854775808.0;
    }

    void readsNumbersCorrectlyRounded() {
        QFETCH(QString, text);
        QFETCH(double, value);
        const double read = Val(text);
        QVERIFY2(read == value,
                 qPrintable("reads " + describe(read) + ", expected " + describe(value)));
    }
};

QTEST_GUILESS_MAIN(TestAnswerJudging)
#include "test_answer_judging.moc"
