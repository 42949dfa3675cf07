#include "toolkit/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tervalin {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEFabcdef";

// Reads a text with the blanks taken out. Only ASCII characters can continue
// a number, so the text is kept up to its first other character.
class Reader {
public:
    explicit Reader(QStringView text) {
        for (const QChar c : text) {
            if (c.unicode() == 0 || c.unicode() > 0x7F)
                break;
            if (!QStringView(u" \t\n").contains(c))
                text_ += char(c.unicode());
        }
    }

    // The characters from here on that are in `set`, at most `most` of them.
    std::string take(std::string_view set, std::size_t most = std::string::npos) {
        const std::size_t from = at_;
        while (at_ < text_.size() && at_ - from < most && set.find(text_[at_]) != set.npos)
            ++at_;
        return text_.substr(from, at_ - from);
    }

private:
    std::string text_;
    std::size_t at_ = 0;
};

// Octal digits rewritten as hexadecimal ones: three bits each, regrouped by four.
std::string octalAsHex(std::string_view octal) {
    std::string hex;
    unsigned bits = 0;
    int count = int((4 - octal.size() * 3 % 4) % 4); // leading zero bits
    for (const char c : octal) {
        bits = bits << 3 | unsigned(c - '0');
        for (count += 3; count >= 4; count -= 4)
            hex += kHexDigits[(bits >> (count - 4)) & 0xF];
        bits &= (1u << count) - 1;
    }
    return hex;
}

// A number too large or too small for a double reads as an infinity or a zero
// of its sign: `large` tells which.
double convert(const std::string& text, std::chars_format format, bool negative,
               [[maybe_unused]] bool large) {
    double value = 0;
#ifdef __EMSCRIPTEN__
    // Emscripten's libc++ reads no floating point; its C library's (musl's)
    // strtod, whose decimal point is '.' in every locale, reads the same text
    // and goes to an infinity or towards zero itself.
    value = std::strtod((format == std::chars_format::hex ? "0x" + text : text).c_str(), nullptr);
#else
    if (std::from_chars(text.data(), text.data() + text.size(), value, format).ec ==
        std::errc::result_out_of_range)
        value = large ? std::numeric_limits<double>::infinity() : 0.0;
#endif
    return negative ? -value : value;
}

double readDecimal(Reader& in) {
    const std::string sign = in.take("+-", 1), whole = in.take("0123456789");
    const std::string fraction = in.take(".", 1).empty() ? "" : in.take("0123456789");
    if (whole.empty() && fraction.empty())
        return 0.0;
    // An exponent letter that no digit follows is not part of the number,
    // and the reading ends at it anyway.
    std::string exponentSign, exponent;
    if (!in.take("EeDd", 1).empty()) {
        exponentSign = in.take("+-", 1);
        exponent = in.take("0123456789");
    }
    // Out of range, the number is too large when its first significant
    // digit stands left of the point, exponent included.
    const std::size_t first = whole.find_first_not_of('0');
    // An exponent is kept to 10^15: far beyond any double's range and any
    // text's length, so the sum below neither overflows nor changes sign.
    constexpr long long kFar = 1'000'000'000'000'000;
    long long e = 0;
    if (std::from_chars(exponent.data(), exponent.data() + exponent.size(), e).ec ==
            std::errc::result_out_of_range ||
        e > kFar)
        e = kFar;
    const long long at = (first != whole.npos ? (long long)(whole.size() - first)
                                              : -(long long)fraction.find_first_not_of('0')) +
                         (exponentSign == "-" ? -e : e);
    const std::string number =
        whole + '.' + fraction + (exponent.empty() ? "" : 'e' + exponentSign + exponent);
    return convert(number, std::chars_format::general, sign == "-", at > 0);
}

} // namespace

double Val(QStringView text) {
    Reader in(text);
    if (in.take("&", 1).empty())
        return readDecimal(in);
    std::string digits;
    if (!in.take("Hh", 1).empty())
        digits = in.take(kHexDigits);
    else if (!in.take("Oo", 1).empty())
        digits = octalAsHex(in.take("01234567"));
    return digits.empty() ? 0.0 : convert(digits, std::chars_format::hex, false, true);
}

std::int16_t CInt(double value) {
    if (std::isnan(value))
        return 0;
    // nearbyint rounds halves to even in the default rounding mode.
    return static_cast<std::int16_t>(std::clamp(std::nearbyint(value), -32768.0, 32767.0));
}

QString Format(int number, QStringView pattern) {
    if (pattern != u"0#")
        throw std::invalid_argument("Format knows only the pattern 0#");
    const QString digits = QString::number(std::abs(number)).rightJustified(2, u'0');
    return number < 0 ? u'-' + digits : digits;
}

} // namespace tervalin
