#include "toolkit/val.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tervalin {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}
bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Walks through a text one character at a time, passing over the blanks the
// reading skips. At the end it shows a NUL, which continues no number.
class Cursor {
public:
    explicit Cursor(QStringView text) : text_(text) { skipBlanks(); }

    char16_t peek() const { return at_ < text_.size() ? text_[at_].unicode() : u'\0'; }
    void next() {
        ++at_;
        skipBlanks();
    }

private:
    void skipBlanks() {
        while (at_ < text_.size() && isBlank(text_[at_].unicode()))
            ++at_;
    }

    QStringView text_;
    qsizetype at_ = 0;
};

// The significant digits of a decimal number, up to as many as a correctly
// rounded double can depend on; of the digits beyond, only whether any is
// non-zero counts. The number is digits x 10^scale.
class DecimalDigits {
public:
    void integerDigit(char16_t c) {
        if (count_ == 0 && c == u'0')
            return; // a leading zero
        if (!keep(c))
            ++scale_;
    }
    void fractionDigit(char16_t c) {
        if (count_ == 0 && c == u'0') {
            --scale_; // a zero between the point and the first significant digit
            return;
        }
        if (keep(c))
            --scale_;
    }

    double value(bool negative, std::int64_t exponent) const {
        const double zero = negative ? -0.0 : 0.0;
        if (count_ == 0)
            return zero;
        const std::int64_t scale = scale_ + exponent;
        // The number lies in [10^(magnitude-1), 10^magnitude).
        const std::int64_t magnitude = count_ + scale;
        const double huge = negative ? -kInfinity : kInfinity;
        if (magnitude > std::numeric_limits<double>::max_exponent10 + 1)
            return huge;
        if (magnitude < std::numeric_limits<double>::min_exponent10 - 20)
            return zero;

        std::array<char, kMaxDigits + 24> text{};
        char* end = std::copy_n(digits_.begin(), count_, text.begin());
        std::int64_t written = scale;
        if (dropped_) {
            *end++ = '1'; // stands for the dropped digits, for rounding
            --written;
        }
        *end++ = 'e';
        end = std::to_chars(end, text.data() + text.size(), written).ptr;
        double v = 0;
        const auto [ptr, ec] = std::from_chars(text.data(), end, v);
        (void)ptr;
        if (ec == std::errc::result_out_of_range)
            return magnitude > 0 ? huge : zero;
        return negative ? -v : v;
    }

private:
    // 767 significant digits decide the rounding of any double.
    static constexpr int kMaxDigits = 800;

    bool keep(char16_t c) {
        if (count_ < kMaxDigits) {
            digits_[count_++] = char(c);
            return true;
        }
        dropped_ = dropped_ || c != u'0';
        return false;
    }

    std::array<char, kMaxDigits> digits_{};
    int count_ = 0;
    bool dropped_ = false; // a non-zero digit beyond the kept ones
    std::int64_t scale_ = 0;
};

// The digits of an exponent, saturating far beyond any double's range and
// any text's length: however many digits stand before it, a saturated
// exponent keeps the number out of range.
std::int64_t readExponent(Cursor& in) {
    bool negative = false;
    if (in.peek() == u'+' || in.peek() == u'-') {
        negative = in.peek() == u'-';
        in.next();
    }
    constexpr std::int64_t limit = 1'000'000'000'000'000;
    std::int64_t e = 0;
    for (; isDigit(in.peek()); in.next())
        e = std::min(limit, e * 10 + (in.peek() - u'0'));
    return negative ? -e : e;
}

double readDecimal(Cursor& in) {
    bool negative = false;
    if (in.peek() == u'+' || in.peek() == u'-') {
        negative = in.peek() == u'-';
        in.next();
    }
    DecimalDigits digits;
    bool anyDigit = false;
    for (; isDigit(in.peek()); in.next()) {
        digits.integerDigit(in.peek());
        anyDigit = true;
    }
    if (in.peek() == u'.') {
        in.next();
        for (; isDigit(in.peek()); in.next()) {
            digits.fractionDigit(in.peek());
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0.0;
    std::int64_t exponent = 0;
    const char16_t letter = in.peek();
    if (letter == u'E' || letter == u'e' || letter == u'D' || letter == u'd') {
        in.next();
        // Without digits the letter is not part of the number, and the
        // reading ends at it anyway.
        exponent = readExponent(in);
    }
    return digits.value(negative, exponent);
}

int radixDigit(char16_t c, int bitsPerDigit) {
    int d = 16;
    if (isDigit(c))
        d = c - u'0';
    else if (c >= u'A' && c <= u'F')
        d = c - u'A' + 10;
    else if (c >= u'a' && c <= u'f')
        d = c - u'a' + 10;
    return d < (1 << bitsPerDigit) ? d : -1;
}

// Hexadecimal or octal digits as the non-negative number they write,
// correctly rounded: the leading 64 bits are kept, of the bits below only
// whether any is set.
double readRadix(Cursor& in, int bitsPerDigit) {
    std::uint64_t top = 0;
    std::int64_t shift = 0;
    bool dropped = false;
    for (int d; (d = radixDigit(in.peek(), bitsPerDigit)) >= 0; in.next()) {
        if (std::countl_zero(top) >= bitsPerDigit) {
            top = top << bitsPerDigit | std::uint64_t(d);
        } else {
            dropped = dropped || d != 0;
            shift += bitsPerDigit;
        }
    }
    constexpr int mantissaBits = std::numeric_limits<double>::digits;
    const int width = std::bit_width(top);
    if (width > mantissaBits) {
        const int cut = width - mantissaBits;
        const std::uint64_t rest = top & ((std::uint64_t(1) << cut) - 1);
        const std::uint64_t half = std::uint64_t(1) << (cut - 1);
        top >>= cut;
        shift += cut;
        if (rest > half || (rest == half && (dropped || (top & 1))))
            ++top; // 2^53 at most, still exact
    }
    // ldexp saturates to infinity long before this bound.
    return std::ldexp(double(top), int(std::min<std::int64_t>(shift, 100'000)));
}

} // namespace

double Val(QStringView text) {
    Cursor in(text);
    if (in.peek() != u'&')
        return readDecimal(in);
    in.next();
    const char16_t prefix = in.peek();
    if (prefix == u'H' || prefix == u'h') {
        in.next();
        return readRadix(in, 4);
    }
    if (prefix == u'O' || prefix == u'o') {
        in.next();
        return readRadix(in, 3);
    }
    return 0.0;
}

} // namespace tervalin
