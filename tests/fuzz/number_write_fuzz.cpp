// Fuzz target: num::FormatFixed, num::FormatInt and num::TruncateToInt32.
//
// Input layout (missing bytes count as 0):
//   bytes 0-7    the double's bit pattern, little-endian (any: NaN, infinities,
//                subnormals, -0)
//   byte 8       decimals: the byte modulo 18; the raw byte as a signed value
//                also checks the clamping of out-of-range counts
//   byte 9       a buffer size 0-255 for the cut-text checks
//   bytes 10-13  an int32 for FormatInt, little-endian
//
// Properties: the text is NUL-terminated and nothing past its NUL is
// touched (guard bytes, for small sizes too); a short buffer holds the
// first size - 1 characters of the whole text; the shape is exact (sign
// from the sign bit, exactly `decimals` decimals, exponent form only when
// the fixed text would be too long); reading the text back gives the
// original within half a unit of the last shown digit, plus one unit in the
// 17th significant digit (the 17-digit step), plus half a unit in the last
// place of the double (reading back a rounded text lands on the nearest
// double, which may be the neighbour of the original); when all 17
// significant digits are shown it reads back bit for bit; same input, same
// text; and the text is exactly what rounding glibc's 17 significant digits
// ("%.16e", the slow reference) at the last shown place gives, a following
// digit of 5 or more raising the magnitude.
#include <charconv>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr int kMaxDecimals = 17;
constexpr int kDecimalChoices = kMaxDecimals + 1;
constexpr std::size_t kGuardBytes = 32;
constexpr int kSignificantDigits = 17;

// Input layout.
constexpr std::size_t kDoubleAt = 0;
constexpr std::size_t kDecimalsAt = 8;
constexpr std::size_t kCutSizeAt = 9;
constexpr std::size_t kIntAt = 10;
constexpr std::size_t kInputBytes = 14;

// Room for "-2147483648" and its NUL.
constexpr std::size_t kIntBufferSize = 12;

// Place of the first significant digit of |v| (finite), taken from the
// standard library's shortest-free scientific form with 17 digits.
int DecimalExponent(double v) {
    char text[40];
    std::to_chars_result res =
        std::to_chars(text, text + sizeof text, std::fabs(v), std::chars_format::scientific, kSignificantDigits - 1);
    const char* e = static_cast<const char*>(std::memchr(text, 'e', static_cast<std::size_t>(res.ptr - text)));
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), res.ptr, exponent);
    return exponent;
}

long double UnitInLastPlace(double v) {
    double a = std::fabs(v);
    if (a < DBL_MIN) {
        return std::ldexp(1.0L, -1074);
    }
    return std::ldexp(1.0L, std::ilogb(a) - (DBL_MANT_DIG - 1));
}

// Parsed shape of a finite number's text.
struct Shape {
    bool ok;
    bool negative;
    bool exponentForm;
    int textExponent;
};

Shape ParseShape(const char* text, int decimals) {
    Shape s{};
    const char* p = text;
    s.negative = *p == '-';
    if (s.negative) {
        ++p;
    }
    const char* intStart = p;
    while (fuzz::IsDigitChar(*p)) {
        ++p;
    }
    std::size_t intDigits = static_cast<std::size_t>(p - intStart);
    if (intDigits == 0 || (intDigits > 1 && *intStart == '0')) {
        return s;
    }
    if (decimals > 0) {
        if (*p != '.') {
            return s;
        }
        ++p;
        for (int i = 0; i < decimals; ++i) {
            if (!fuzz::IsDigitChar(*p)) {
                return s;
            }
            ++p;
        }
    }
    if (*p == '\0') {
        s.ok = true;
        return s;
    }
    // Exponent form: one non-zero digit before the point, e, sign, two or
    // more digits without needless zeros.
    if (*p != 'e' || intDigits != 1 || *intStart == '0') {
        return s;
    }
    ++p;
    if (*p != '+' && *p != '-') {
        return s;
    }
    bool negativeExponent = *p == '-';
    ++p;
    const char* expStart = p;
    int exponent = 0;
    while (fuzz::IsDigitChar(*p)) {
        exponent = exponent * 10 + (*p - '0');
        ++p;
        if (exponent > 100000) {
            return s;
        }
    }
    std::size_t expDigits = static_cast<std::size_t>(p - expStart);
    if (*p != '\0' || expDigits < 2 || (expDigits > 2 && *expStart == '0')) {
        return s;
    }
    s.exponentForm = true;
    s.textExponent = negativeExponent ? -exponent : exponent;
    s.ok = true;
    return s;
}

// The reference text of a finite value: glibc's 17 significant digits,
// rounded half away from zero at the last shown place, digit by digit.
std::string ReferenceText(double v, int decimals) {
    char sci[48];
    std::snprintf(sci, sizeof sci, "%.16e", std::fabs(v));
    std::vector<int> d;
    const char* p = sci;
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            d.push_back(*p - '0');
        }
    }
    int e = std::atoi(p + 1);
    if (std::fabs(v) == 0) {
        e = 0;
    }
    auto digitAt = [&](int place) {
        int index = e - place;
        return index >= 0 && index < static_cast<int>(d.size()) ? d[static_cast<std::size_t>(index)] : 0;
    };
    std::string sign = std::signbit(v) ? "-" : "";
    // Fixed: places from max(e, 0) + 1 (room for a carry) down to -decimals.
    int top = (e > 0 ? e : 0) + 1;
    std::vector<int> fixed;
    for (int place = top; place >= -decimals; --place) {
        fixed.push_back(digitAt(place));
    }
    if (digitAt(-decimals - 1) >= 5) {
        std::size_t i = fixed.size();
        while (i > 0 && fixed[i - 1] == 9) {
            fixed[--i] = 0;
        }
        ++fixed[i - 1];  // the carry place on top is 0, so i > 0 here
    }
    std::string text = sign;
    std::size_t intDigits = static_cast<std::size_t>(top + 1);
    std::size_t first = 0;
    while (first + 1 < intDigits && fixed[first] == 0) {
        ++first;
    }
    for (std::size_t i = first; i < intDigits; ++i) {
        text += static_cast<char>('0' + fixed[i]);
    }
    if (decimals > 0) {
        text += '.';
        for (std::size_t i = intDigits; i < fixed.size(); ++i) {
            text += static_cast<char>('0' + fixed[i]);
        }
    }
    if (text.size() <= num::kFixedMaxChars) {
        return text;
    }
    // Exponent form: decimals + 1 significant digits.
    std::vector<int> mant(d.begin(), d.begin() + (decimals + 1 < 17 ? decimals + 1 : 17));
    while (static_cast<int>(mant.size()) < decimals + 1) {
        mant.push_back(0);
    }
    int exponent = e;
    if (decimals + 1 < 17 && d[static_cast<std::size_t>(decimals + 1)] >= 5) {
        std::size_t i = mant.size();
        while (i > 0 && mant[i - 1] == 9) {
            mant[--i] = 0;
        }
        if (i == 0) {
            mant.insert(mant.begin(), 1);
            mant.pop_back();
            ++exponent;
        } else {
            ++mant[i - 1];
        }
    }
    text = sign;
    text += static_cast<char>('0' + mant[0]);
    if (decimals > 0) {
        text += '.';
        for (std::size_t i = 1; i < mant.size(); ++i) {
            text += static_cast<char>('0' + mant[i]);
        }
    }
    char exp[16];
    std::snprintf(exp, sizeof exp, "e%c%02d", exponent < 0 ? '-' : '+', exponent < 0 ? -exponent : exponent);
    return text + exp;
}

void Fail(const char* what, double v, int decimals, const char* text) {
    fuzz::ReportDouble("value", v);
    std::fprintf(stderr, "  decimals = %d\n", decimals);
    fuzz::ReportText("text", text);
    FUZZ_CHECK(false, what);
}

void CheckReadBack(double v, int decimals, const char* text, const Shape& shape) {
    int e = DecimalExponent(v);
    int lastPlace = shape.exponentForm ? shape.textExponent - decimals : -decimals;
    bool allDigitsShown = shape.exponentForm ? decimals + 1 >= kSignificantDigits
                                             : lastPlace <= e - (kSignificantDigits - 1);
    double r = num::atof(text);
    if (allDigitsShown) {
        if (fuzz::Bits(r) != fuzz::Bits(v)) {
            fuzz::ReportDouble("read back", r);
            Fail("17 shown digits read back bit for bit", v, decimals, text);
        }
        return;
    }
    long double textError = 0.5L * std::pow(10.0L, lastPlace) + std::pow(10.0L, e - (kSignificantDigits - 1));
    // Slack for the long double arithmetic of the bound itself.
    constexpr long double kSlack = 1 + 1e-12L;
    if (std::isinf(r)) {
        // The text lies past the largest double (DBL_MAX shown as 2e+308).
        bool ok = std::signbit(r) == std::signbit(v) &&
                  static_cast<long double>(DBL_MAX) - std::fabs(static_cast<long double>(v)) <= textError * kSlack;
        if (!ok) {
            fuzz::ReportDouble("read back", r);
            Fail("only a text beyond the double range reads back as infinity", v, decimals, text);
        }
        return;
    }
    long double ulp = UnitInLastPlace(std::fabs(r) > std::fabs(v) ? r : v);
    long double bound = (textError + 0.5L * ulp) * kSlack;
    long double diff = std::fabs(static_cast<long double>(r) - static_cast<long double>(v));
    if (!(diff <= bound)) {
        fuzz::ReportDouble("read back", r);
        Fail("reads back within half a unit of the last shown digit", v, decimals, text);
    }
}

// The whole text in a roomy buffer: NUL-ended, nothing past the NUL touched.
std::size_t WriteWhole(double v, int decimals, char (&out)[num::kFixedBufferSize + kGuardBytes]) {
    std::memset(out, fuzz::kGuard, sizeof out);
    std::size_t n = num::FormatFixed(v, decimals, out, num::kFixedBufferSize);
    FUZZ_CHECK(n <= num::kFixedMaxChars, "the text fits kFixedMaxChars");
    FUZZ_CHECK(fuzz::BoundedLength(out, sizeof out) == n, "the returned length is the text's");
    FUZZ_CHECK(fuzz::GuardIntact(out, n + 1, sizeof out), "nothing past the NUL is touched");
    return n;
}

// The same text written into `size` bytes: its first size - 1 characters.
template <typename Writer>
void CheckCut(const char* whole, std::size_t wholeLength, std::size_t size, Writer write) {
    std::unique_ptr<char[]> guarded(new char[size + kGuardBytes]);
    std::memset(guarded.get(), fuzz::kGuard, size + kGuardBytes);
    std::size_t n = write(guarded.get(), size);
    if (size == 0) {
        FUZZ_CHECK(n == 0, "size 0 writes nothing");
        FUZZ_CHECK(fuzz::GuardIntact(guarded.get(), 0, kGuardBytes), "size 0 touches nothing");
    } else {
        std::size_t expected = wholeLength < size - 1 ? wholeLength : size - 1;
        FUZZ_CHECK(n == expected, "a short buffer holds size - 1 characters");
        FUZZ_CHECK(std::memcmp(guarded.get(), whole, n) == 0, "the cut text is the start of the whole");
        FUZZ_CHECK(guarded[n] == '\0', "the cut text is NUL-terminated");
        FUZZ_CHECK(fuzz::GuardIntact(guarded.get(), n + 1, size + kGuardBytes), "nothing past the NUL is touched");
    }
    // Exactly size bytes, so AddressSanitizer sees any byte past them.
    std::unique_ptr<char[]> exact(new char[size == 0 ? 1 : size]);
    std::size_t again = write(exact.get(), size);
    FUZZ_CHECK(again == n, "the same cut twice");
}

void CheckFixed(double v, int decimals, std::size_t cutSize) {
    char whole[num::kFixedBufferSize + kGuardBytes];
    std::size_t n = WriteWhole(v, decimals, whole);

    char again[num::kFixedBufferSize + kGuardBytes];
    std::size_t m = WriteWhole(v, decimals, again);
    FUZZ_CHECK(m == n && std::memcmp(whole, again, n + 1) == 0, "same value, same text");

    CheckCut(whole, n, cutSize, [&](char* out, std::size_t size) { return num::FormatFixed(v, decimals, out, size); });

    if (std::isnan(v)) {
        if (std::strcmp(whole, "nan") != 0) {
            Fail("NaN is nan", v, decimals, whole);
        }
        return;
    }
    if (std::isinf(v)) {
        if (std::strcmp(whole, v > 0 ? "inf" : "-inf") != 0) {
            Fail("infinity is inf or -inf", v, decimals, whole);
        }
        return;
    }
    Shape shape = ParseShape(whole, decimals);
    if (!shape.ok) {
        Fail("digits, a point and exactly `decimals` decimals", v, decimals, whole);
    }
    if (shape.negative != std::signbit(v)) {
        Fail("a minus sign exactly for a negative sign bit", v, decimals, whole);
    }
    // The fixed text would have at least E + 1 digits before the point.
    long long fixedLength = (shape.negative ? 1 : 0) + DecimalExponent(v) + 1 + (decimals > 0 ? decimals + 1 : 0);
    bool tooLong = v != 0 && fixedLength > static_cast<long long>(num::kFixedMaxChars);
    if (shape.exponentForm != tooLong) {
        Fail("exponent form exactly when the fixed text is too long", v, decimals, whole);
    }
    CheckReadBack(v, decimals, whole, shape);
    std::string reference = ReferenceText(v, decimals);
    if (reference != whole) {
        fuzz::ReportText("reference", reference.c_str());
        Fail("the text is the 17 digits rounded at the last shown place", v, decimals, whole);
    }
}

void CheckClamping(double v, int raw) {
    int clamped = raw < 0 ? 0 : (raw > kMaxDecimals ? kMaxDecimals : raw);
    char a[num::kFixedBufferSize];
    char b[num::kFixedBufferSize];
    std::size_t n = num::FormatFixed(v, raw, a, sizeof a);
    std::size_t m = num::FormatFixed(v, clamped, b, sizeof b);
    FUZZ_CHECK(n == m && std::memcmp(a, b, n + 1) == 0, "out-of-range decimals are clamped");
}

void CheckInt(std::int32_t value, std::size_t cutSize) {
    char whole[kIntBufferSize + kGuardBytes];
    std::memset(whole, fuzz::kGuard, sizeof whole);
    std::size_t n = num::FormatInt(value, whole, kIntBufferSize);
    FUZZ_CHECK(n <= kIntBufferSize - 1, "an int32 takes at most 11 characters");
    FUZZ_CHECK(fuzz::BoundedLength(whole, sizeof whole) == n, "the returned length is the text's");
    FUZZ_CHECK(fuzz::GuardIntact(whole, n + 1, sizeof whole), "nothing past the NUL is touched");

    const char* p = whole;
    bool negative = *p == '-';
    if (negative) {
        ++p;
    }
    long long parsed = 0;
    std::size_t digits = 0;
    for (; fuzz::IsDigitChar(*p); ++p, ++digits) {
        parsed = parsed * 10 + (*p - '0');
    }
    FUZZ_CHECK(*p == '\0' && digits > 0, "only a sign and digits");
    FUZZ_CHECK(digits == 1 || whole[negative ? 1 : 0] != '0', "no leading zeros");
    FUZZ_CHECK(!(negative && parsed == 0), "no -0");
    FUZZ_CHECK((negative ? -parsed : parsed) == value, "the text reads back as the integer");

    CheckCut(whole, n, cutSize, [&](char* out, std::size_t size) { return num::FormatInt(value, out, size); });
}

void CheckTruncation(double v) {
    std::int32_t t = num::TruncateToInt32(v);
    FUZZ_CHECK(t == num::TruncateToInt32(v), "same value, same integer");
    if (v > -2147483649.0 && v < 2147483648.0) {
        FUZZ_CHECK(t == static_cast<std::int32_t>(std::trunc(v)), "in range: truncated towards zero");
    } else {
        FUZZ_CHECK(t == INT32_MIN, "out of range or NaN: INT32_MIN");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint8_t in[kInputBytes] = {};
    std::memcpy(in, data, size < kInputBytes ? size : kInputBytes);

    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) {
        bits = bits << 8 | in[kDoubleAt + static_cast<std::size_t>(i)];
    }
    double v = fuzz::FromBits(bits);
    int decimals = in[kDecimalsAt] % kDecimalChoices;
    int raw = static_cast<std::int8_t>(in[kDecimalsAt]);
    std::size_t cutSize = in[kCutSizeAt];
    std::uint32_t intBits = 0;
    for (int i = 3; i >= 0; --i) {
        intBits = intBits << 8 | in[kIntAt + static_cast<std::size_t>(i)];
    }
    std::int32_t integer = 0;
    std::memcpy(&integer, &intBits, sizeof integer);

    CheckFixed(v, decimals, cutSize);
    CheckClamping(v, raw);
    CheckClamping(v, -1);
    CheckClamping(v, kDecimalChoices);
    CheckInt(integer, cutSize % (kIntBufferSize + 2));
    CheckTruncation(v);
    return 0;
}
