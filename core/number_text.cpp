#include "core/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "core/float_chars.h"

namespace num {
namespace {

// The exact midpoint between two doubles has at most 767 significant
// decimal digits, so the first 800 digits plus one sticky digit standing for
// everything after them round exactly like the whole digit string.
constexpr int kMaxSignificantDigits = 800;

// Exponents are saturated here while reading; anything this far out is far
// beyond the double range whatever the digit count.
constexpr long long kExponentSaturation = 1000000000LL;

// With the value written as 0.d1d2d3... x 10^E (d1 not 0): from E = 310 on it
// is at least 1e309, past the largest double; up to E = -324 it is below
// 1e-324, under half the smallest subnormal (about 4.94e-324).
constexpr long long kOverflowExponent = 310;
constexpr long long kUnderflowExponent = -324;

// "-0." + digits + sticky digit + "e" + sign + exponent digits + slack.
constexpr std::size_t kNormalisedSize = kMaxSignificantDigits + 32;

// Seventeen significant digits tell every double apart: one before the point
// and sixteen after it in scientific notation.
constexpr int kSignificantDigits = 17;
constexpr int kMaxDecimals = 17;

// Scratch sizes: the longest fixed text (the exponent form is far shorter);
// a 64-bit number in decimal; an int32 with its sign.
constexpr std::size_t kFixedScratchSize = kFixedMaxChars;
constexpr std::size_t kUnsignedDigitsSize = 24;
constexpr std::size_t kIntTextSize = 16;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

double SignedZero(bool negative) {
    return negative ? -0.0 : 0.0;
}

double SignedInfinity(bool negative) {
    return negative ? -HUGE_VAL : HUGE_VAL;
}

// Writes the non-negative number n in decimal at out, returns the char count.
std::size_t WriteUnsigned(long long n, char* out) {
    char digits[kUnsignedDigitsSize];
    std::size_t count = 0;
    do {
        digits[count++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = digits[count - 1 - i];
    }
    return count;
}

// Copies text (length len) into out, cut to size - 1 bytes and NUL-ended.
std::size_t CopyCut(const char* text, std::size_t len, char* out, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::size_t n = len < size - 1 ? len : size - 1;
    std::memcpy(out, text, n);
    out[n] = '\0';
    return n;
}

// A decimal digit string R[0..count) whose first digit has the place value
// 10^lead. count 0 stands for zero.
struct Digits {
    char r[kMaxDecimals + 2];
    int count;
    int lead;
};

// The 17 significant digits of |value| (finite) and the place of the first.
void SeventeenDigits(double value, char (&d)[kSignificantDigits], int& exponent) {
    char text[detail::kScientificSize];
    const char* end = text + detail::WriteScientific17(std::fabs(value), text);
    // text is "d.dddddddddddddddde[+-]xx..."
    const char* p = text;
    d[0] = *p++;
    ++p;  // the point
    for (int i = 1; i < kSignificantDigits; ++i) {
        d[i] = *p++;
    }
    ++p;  // 'e'
    bool negative = *p == '-';
    ++p;
    int e = 0;
    for (; p < end; ++p) {
        e = e * 10 + (*p - '0');
    }
    exponent = negative ? -e : e;
}

// Keeps the first `keep` of the 17 digits d (first place 10^exponent), the
// next digit of 5 or more raising the kept ones. keep may be any int.
Digits RoundDigits(const char (&d)[kSignificantDigits], int exponent, int keep) {
    Digits out{};
    out.lead = exponent;
    if (keep >= kSignificantDigits) {
        std::memcpy(out.r, d, kSignificantDigits);
        out.count = kSignificantDigits;
        return out;
    }
    if (keep < 0) {
        return out;  // zero
    }
    bool up = d[keep] >= '5';
    std::memcpy(out.r, d, static_cast<std::size_t>(keep));
    out.count = keep;
    if (!up) {
        return out;
    }
    int i = keep - 1;
    while (i >= 0 && out.r[i] == '9') {
        out.r[i] = '0';
        --i;
    }
    if (i >= 0) {
        ++out.r[i];
    } else {
        // Every kept digit carried over (or none was kept): one unit at the
        // place just above the first kept digit.
        out.r[0] = '1';
        out.count = 1;
        out.lead = exponent + 1;
    }
    return out;
}

char DigitAt(const Digits& digits, int place) {
    int index = digits.lead - place;
    if (index < 0 || index >= digits.count) {
        return '0';
    }
    return digits.r[index];
}

// The significant digits of a number being read, written as "0.<digits>"
// for detail::ReadNormalised; the value is that times 10^pointExponent.
struct Mantissa {
    char normal[kNormalisedSize];
    std::size_t n;
    int kept;
    bool sticky;
    bool sawDigit;
    long long pointExponent;
};

void TakeDigit(Mantissa& m, char c, bool beforePoint) {
    m.sawDigit = true;
    if (m.kept == 0 && c == '0') {
        // Leading zeros only move the point, and only after it.
        if (!beforePoint && m.pointExponent > -kExponentSaturation) {
            --m.pointExponent;
        }
        return;
    }
    if (beforePoint && m.pointExponent < kExponentSaturation) {
        ++m.pointExponent;
    }
    if (m.kept < kMaxSignificantDigits) {
        m.normal[m.n++] = c;
        ++m.kept;
    } else if (c != '0') {
        m.sticky = true;
    }
}

}  // namespace

double atof(const char* text) {
    if (text == nullptr) {
        return 0.0;
    }
    const char* p = text;
    while (IsBlank(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }

    Mantissa m{};
    m.normal[m.n++] = '0';
    m.normal[m.n++] = '.';
    while (IsDigit(*p)) {
        TakeDigit(m, *p++, true);
    }
    if (*p == '.' && (m.sawDigit || IsDigit(p[1]))) {
        ++p;
        while (IsDigit(*p)) {
            TakeDigit(m, *p++, false);
        }
    }
    if (!m.sawDigit) {
        return 0.0;  // no number at all
    }

    long long exponent = 0;
    if (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D') {
        const char* q = p + 1;
        bool expNegative = false;
        if (*q == '+' || *q == '-') {
            expNegative = *q == '-';
            ++q;
        }
        if (IsDigit(*q)) {
            while (IsDigit(*q)) {
                if (exponent < kExponentSaturation) {
                    exponent = exponent * 10 + (*q - '0');
                }
                ++q;
            }
            if (expNegative) {
                exponent = -exponent;
            }
        }
    }

    if (m.kept == 0) {
        return SignedZero(negative);
    }
    long long total = m.pointExponent + exponent;
    if (total >= kOverflowExponent) {
        return SignedInfinity(negative);
    }
    if (total <= kUnderflowExponent) {
        return SignedZero(negative);
    }
    if (m.sticky) {
        m.normal[m.n++] = '1';
    }
    m.normal[m.n++] = 'e';
    if (total < 0) {
        m.normal[m.n++] = '-';
        total = -total;
    }
    m.n += WriteUnsigned(total, m.normal + m.n);

    double value = 0.0;
    const detail::FloatRead read = detail::ReadNormalised(m.normal, m.normal + m.n, value);
    if (read == detail::FloatRead::kOutOfRange) {
        // No value comes back: decide by the exponent, which is never 0 here
        // for a value that can be out of range.
        value = m.pointExponent + exponent > 0 ? HUGE_VAL : 0.0;
    } else if (read != detail::FloatRead::kOk) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::int32_t TruncateToInt32(double value) {
    // Compared as doubles before the cast: both bounds are exact doubles, and
    // NaN fails both comparisons.
    constexpr double kBelowInt32 = -2147483649.0;
    constexpr double kAboveInt32 = 2147483648.0;
    if (!(value > kBelowInt32 && value < kAboveInt32)) {
        return INT32_MIN;
    }
    return static_cast<std::int32_t>(value);
}

std::size_t FormatFixed(double value, int decimals, char* out, std::size_t size) {
    if (decimals < 0) {
        decimals = 0;
    }
    if (decimals > kMaxDecimals) {
        decimals = kMaxDecimals;
    }
    if (std::isnan(value)) {
        return CopyCut("nan", 3, out, size);
    }
    bool negative = std::signbit(value);
    if (std::isinf(value)) {
        return negative ? CopyCut("-inf", 4, out, size) : CopyCut("inf", 3, out, size);
    }

    char d[kSignificantDigits];
    int exponent = 0;
    SeventeenDigits(value, d, exponent);

    char text[kFixedScratchSize];
    std::size_t n = 0;
    if (negative) {
        text[n++] = '-';
    }

    Digits fixed = RoundDigits(d, exponent, exponent + decimals + 1);
    int intDigits = (fixed.count > 0 && fixed.lead > 0) ? fixed.lead + 1 : 1;
    std::size_t fixedLength = n + static_cast<std::size_t>(intDigits) +
                              (decimals > 0 ? 1 + static_cast<std::size_t>(decimals) : 0);
    if (fixedLength <= kFixedMaxChars) {
        for (int place = intDigits - 1; place >= 0; --place) {
            text[n++] = DigitAt(fixed, place);
        }
        if (decimals > 0) {
            text[n++] = '.';
            for (int place = -1; place >= -decimals; --place) {
                text[n++] = DigitAt(fixed, place);
            }
        }
        return CopyCut(text, n, out, size);
    }

    // Exponent form: one digit, the decimals, e, sign, at least two digits.
    Digits mant = RoundDigits(d, exponent, decimals + 1);
    text[n++] = DigitAt(mant, mant.lead);
    if (decimals > 0) {
        text[n++] = '.';
        for (int i = 1; i <= decimals; ++i) {
            text[n++] = DigitAt(mant, mant.lead - i);
        }
    }
    text[n++] = 'e';
    text[n++] = mant.lead < 0 ? '-' : '+';
    long long e = mant.lead < 0 ? -static_cast<long long>(mant.lead) : mant.lead;
    if (e < 10) {
        text[n++] = '0';
    }
    n += WriteUnsigned(e, text + n);
    return CopyCut(text, n, out, size);
}

std::size_t FormatInt(std::int32_t value, char* out, std::size_t size) {
    char text[kIntTextSize];
    std::to_chars_result res = std::to_chars(text, text + sizeof text, value);
    return CopyCut(text, static_cast<std::size_t>(res.ptr - text), out, size);
}

}  // namespace num
