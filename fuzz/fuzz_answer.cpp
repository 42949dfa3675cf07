// libFuzzer target: reads any text as a typed answer and judges it, checking
// what must hold for every text. The input bytes are read twice: as UTF-8,
// the way typed text arrives, and as raw UTF-16, which also reaches lone
// surrogates and other code units UTF-8 cannot carry.
#include "answer/answer_check.h"
#include "toolkit/numbers.h"
#include "toolkit/sim/sim_toolkit.h"
#include "window/description.h"
#include "window/quiz_state.h"

#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace tervalin;

namespace {

// Texts up to this length are also read by the plain reference reader below.
constexpr qsizetype kReferenceLimit = 8192;

void require(bool holds, const char* what, const QString& text) {
    if (holds)
        return;
    std::fprintf(stderr, "violated: %s\ntext (%lld code units): %s\n", what,
                 static_cast<long long>(text.size()), text.left(200).toUtf8().constData());
    std::abort();
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

QString withoutBlanks(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!isBlank(c))
            out += c;
    return out;
}

// A second reading of a text without blanks, written the plain way: find the
// longest prefix that is a number, then let the C library convert it.
double referenceVal(const QString& stripped) {
    std::string s;
    for (QChar c : stripped) {
        if (c.unicode() > 0x7F || c.unicode() == 0)
            break; // stops any number
        s += char(c.unicode());
    }
    if (s.size() >= 2 && s[0] == '&' &&
        (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        const bool hex = s[1] == 'H' || s[1] == 'h';
        std::size_t end = 2;
        while (end < s.size() && (hex ? std::isxdigit(static_cast<unsigned char>(s[end]))
                                      : (s[end] >= '0' && s[end] <= '7')))
            ++end;
        const std::string digits = s.substr(2, end - 2);
        const std::size_t first = digits.find_first_not_of('0');
        const std::size_t significant = first == std::string::npos ? 0 : digits.size() - first;
        if (significant * (hex ? 4 : 3) > 63)
            return std::nan(""); // beyond what strtoull reads exactly: not compared
        return double(std::strtoull(digits.c_str(), nullptr, hex ? 16 : 8));
    }
    if (!s.empty() && s[0] == '&')
        return 0.0;

    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && isDigit(s[i]); ++i)
            ++digits;
    if (digits == 0)
        return 0.0;
    std::string number = s.substr(0, i);
    if (i < s.size() && std::strchr("eEdD", s[i]) != nullptr) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            number += 'e' + s.substr(i + 1, j - i - 1);
        }
    }
    return std::strtod(number.c_str(), nullptr);
}

void judge(const QString& text, std::int16_t expected) {
    SimToolkit tk;
    QuizState st;
    tk.setVisible(Control::Text1, true);
    tk.setVisible(Control::Command2, true);
    tk.setText(Control::Text1, text);
    tk.Line({0, 0}, {100, 100});
    Command2_Click(tk, st);
    require(st.OTVET == expected, "OTVET is the rounded reading", text);
    require(tk.messages().size() == 1, "exactly one verdict", text);
    const Messages& verdicts = windowDescription().messages;
    require(tk.messages().front().text ==
                toQString(expected == 0 ? verdicts.rightAnswer : verdicts.wrongAnswer),
            "the verdict matches OTVET", text);
    require(tk.Text(Control::Text1) == text, "the answer box keeps its text", text);
    require(!tk.isEnabled(Control::Text1) && !tk.isVisible(Control::Command2),
            "the answer controls are put away", text);
    require(tk.surface().items.empty(), "the window is cleared", text);
}

void check(const QString& text) {
    const double v = Val(text);
    require(!std::isnan(v), "never NaN", text);
    require(sameBits(Val(withoutBlanks(text)), v), "blanks count nowhere", text);
    require(sameBits(Val(text + QStringLiteral("\r9")), v), "reading stops at a carriage return",
            text);

    const QString stripped = withoutBlanks(text);
    if (stripped.size() <= kReferenceLimit) {
        const double ref = referenceVal(stripped);
        require(std::isnan(ref) || sameBits(v, ref), "agrees with the reference reading", text);
    }

    const std::int16_t o = CInt(v);
    if (v >= 32767.5)
        require(o == 32767, "clamped at the top", text);
    else if (v <= -32768.5)
        require(o == -32768, "clamped at the bottom", text);
    else if (std::fabs(v - o) == 0.5)
        require(o % 2 == 0, "halves go to the even neighbour", text);
    else
        require(std::fabs(v - o) < 0.5, "rounded to the nearest", text);
    require((o == 0) == (std::fabs(v) <= 0.5), "zero exactly when within a half of it", text);

    judge(text, o);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    std::u16string units(size / 2, u'\0');
    std::memcpy(units.data(), data, units.size() * 2);
    check(QString::fromUtf16(units.data(), qsizetype(units.size())));
    return 0;
}
