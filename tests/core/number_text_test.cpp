#include "core/number_text.h"

#include <gtest/gtest.h>

#include "tests/support/test_text.h"

#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

using test::Bits;
using test::FromBits;
using test::kInf;
using test::kNaN;
const double kDenormMin = FromBits(1);
const double kLargestSubnormal = FromBits(0x000FFFFFFFFFFFFFULL);

struct ReadCase {
    std::string text;
    double expected;
};

// Reading compares bit patterns, so 0 and -0 differ and no tolerance hides a
// misrounded last bit.
void ExpectReads(const ReadCase* cases, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        double got = num::atof(cases[i].text.c_str());
        EXPECT_EQ(Bits(got), Bits(cases[i].expected))
            << "text \"" << cases[i].text << "\" read " << got << ", expected " << cases[i].expected;
    }
}

TEST(NumberReading, Grammar) {
    const ReadCase cases[] = {
        {"6.5", 6.5},
        {"7", 7},
        {"225", 225},
        {"7x", 7},
        {"1.5.5", 1.5},
        {"1,5", 1},
        {".5", 0.5},
        {"+.5", 0.5},
        {"-.5", -0.5},
        {"5.", 5},
        {"5.x", 5},
        {"-3", -3},
        {"+3", 3},
        {"0", 0.0},
        {"00", 0.0},
        {"0.00", 0.0},
        {"-0", -0.0},
        {"-0.0", -0.0},
        {"007.25", 7.25},
        {".", 0.0},
        {"-.", 0.0},
        {"+", 0.0},
        {"-", 0.0},
        {"+-5", 0.0},
        {"--5", 0.0},
        {"- 5", 0.0},
        {"", 0.0},
        {"abc", 0.0},
        {"x7", 0.0},
    };
    ExpectReads(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberReading, LeadingWhiteSpace) {
    const ReadCase cases[] = {
        {"  5", 5},
        {"\t-3", -3},
        {" \t\n\v\f\r7.5", 7.5},
        {"5  ", 5},
        {"\x81\x40" "5", 0.0},  // full-width space is not white space
        {"\xA0" "5", 0.0},
    };
    ExpectReads(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberReading, Exponents) {
    const ReadCase cases[] = {
        {"1d2", 100},
        {"1D2", 100},
        {"1e2", 100},
        {"1E2", 100},
        {"1D-2", 0.01},
        {"2.5e+1", 25},
        {"-1.5d1", -15},
        {".5e1", 5},
        {"5.e1", 50},
        {"1e", 1},
        {"1e+", 1},
        {"1e-", 1},
        {"1d", 1},
        {"1ex", 1},
        {"1e+x", 1},
        {"1e2.5", 100},
        {"1 e2", 1},
        {"1e 2", 1},
        {".e5", 0.0},
        {"e5", 0.0},
        {"1e0000000000000000000000005", 1e5},
        {"0.001e311", 1e308},
        {"1000e-326", 1e-323},
        {"12345678901234567890e-20", 0.1234567890123456789},
    };
    ExpectReads(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberReading, NoHexadecimalInfinityOrNaNWords) {
    const ReadCase cases[] = {
        {"0x10", 0.0},
        {"0X1p3", 0.0},
        {"inf", 0.0},
        {"-inf", 0.0},
        {"INFINITY", 0.0},
        {"nan", 0.0},
        {"NaN", 0.0},
        {"-nan(1)", 0.0},
    };
    ExpectReads(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberReading, FullWidthDigitsAreNotDigits) {
    const ReadCase cases[] = {
        {"\x82\x54", 0.0},                  // full-width 5
        {"\x82\x50\x82\x51", 0.0},          // full-width 12
        {"\x82\x4F", 0.0},                  // full-width 0
        {"5\x82\x54", 5},                   // stops at the full-width digit
        {"\x81\x7C" "5", 0.0},              // full-width minus
        {"1\x81\x44" "5", 1},               // full-width point
    };
    ExpectReads(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberReading, OverflowAndUnderflow) {
    const ReadCase cases[] = {
        {"1e999", kInf},
        {"-1e999", -kInf},
        {"1d999", kInf},
        {"1e-999", 0.0},
        {"-1e-999", -0.0},
        {"1e99999999999999999999", kInf},
        {"-1e99999999999999999999", -kInf},
        {"1e-99999999999999999999", 0.0},
        {"0e99999999999999999999", 0.0},
        {"0.0000e-99999999999999999999", 0.0},
        {"1.7976931348623157e308", DBL_MAX},
        {"1.7976931348623158e308", DBL_MAX},   // below the midpoint to 2^1024
        {"1.7976931348623159e308", kInf},      // above it
        {"-1.7976931348623159e308", -kInf},
        {"179769313486231580793728971405303e276", DBL_MAX},  // the 33 digits just below
        {"179769313486231580793728971405304e276", kInf},     // and just above the midpoint
        {"2.2250738585072014e-308", DBL_MIN},
        {"2.2250738585072009e-308", kLargestSubnormal},
        {"4.9406564584124654e-324", kDenormMin},
        {"5e-324", kDenormMin},
        {"-5e-324", -kDenormMin},
        {"2.4703282292062328e-324", kDenormMin},  // just above half the smallest
        {"2.4703282292062327e-324", 0.0},         // just below it
        {"2e-324", 0.0},
        {"-2e-324", -0.0},
        {"1e-323", 1e-323},
    };
    ExpectReads(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberReading, LongDigitStrings) {
    // 1 + 2^-53, the exact midpoint between 1 and the next double.
    const std::string half = "1.00000000000000011102230246251565404236316680908203125";
    const double next = std::nextafter(1.0, 2.0);
    const ReadCase cases[] = {
        {"1" + std::string(254, '0'), 1e254},
        {std::string(255, '9'), 1e255},
        {std::string(400, '9'), kInf},
        {"-" + std::string(400, '9'), -kInf},
        {std::string(500, '0') + "7", 7},
        {"0." + std::string(300, '0') + "1", 1e-301},
        {"0." + std::string(400, '0') + "1", 0.0},
        {"1" + std::string(300, '0') + "e-300", 1},
        {"0." + std::string(1000, '0') + "1e1001", 1},
        {half, 1.0},                                       // tie to even
        {half + std::string(1000, '0'), 1.0},
        {half + std::string(1000, '0') + "1", next},       // past the midpoint, 1000 digits on
        {"1.00000000000000011102230246251565404236316680908203124" + std::string(1000, '9'), 1.0},
    };
    ExpectReads(cases, sizeof cases / sizeof cases[0]);
}

// Every finite double written in its shortest form reads back bit for bit,
// also with the exponent letter D and with padding zeros that move the point.
TEST(NumberReading, ShortestTextsReadBackExactly) {
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;  // fixed seed: the same doubles every run
    constexpr int kSamples = 20000;
    for (int i = 0; i < kSamples; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        double v = FromBits(state);
        if (!std::isfinite(v)) {
            continue;
        }
        char buf[64];
        std::to_chars_result res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
        std::string text(buf, res.ptr);
        ASSERT_EQ(Bits(num::atof(text.c_str())), Bits(v)) << text;

        std::string withD = text;
        withD[withD.find('e')] = 'D';
        ASSERT_EQ(Bits(num::atof(withD.c_str())), Bits(v)) << withD;

        // "-1.5e-300" as "-0001.5000e-300x" and "-.0015e-297"
        std::size_t e = text.find('e');
        std::size_t digitsStart = text[0] == '-' ? 1 : 0;
        std::string sign = text.substr(0, digitsStart);
        std::string mantissa = text.substr(digitsStart, e - digitsStart);
        int exponent = std::stoi(text.substr(e + 1));
        std::string padded = sign + "000" + mantissa + (mantissa.find('.') == std::string::npos ? ".000" : "000") +
                             "e" + std::to_string(exponent) + "x";
        ASSERT_EQ(Bits(num::atof(padded.c_str())), Bits(v)) << padded;
        std::string digits = mantissa;
        if (digits.size() > 1) {
            digits.erase(1, 1);  // drop the point
        }
        std::string shifted = sign + ".00" + digits + "e" + std::to_string(exponent + 3);
        ASSERT_EQ(Bits(num::atof(shifted.c_str())), Bits(v)) << shifted;
    }
}

TEST(NumberReading, NullAndNeverNaN) {
    EXPECT_EQ(Bits(num::atof(nullptr)), Bits(0.0));
    const char* texts[] = {"nan", "1e999e999", "-1e999", "inf-inf", "0e999", "1e-999"};
    for (const char* t : texts) {
        EXPECT_FALSE(std::isnan(num::atof(t))) << t;
    }
}

struct TruncCase {
    double value;
    std::int32_t expected;
};

TEST(Truncation, TowardsZeroInRange) {
    const TruncCase cases[] = {
        {48.9, 48},
        {-3.7, -3},
        {0.9, 0},
        {-0.9, 0},
        {0.0, 0},
        {-0.0, 0},
        {kDenormMin, 0},
        {-kDenormMin, 0},
        {2147483647.0, INT32_MAX},
        {2147483647.9, INT32_MAX},
        {std::nextafter(2147483648.0, 0.0), INT32_MAX},
        {-2147483648.0, INT32_MIN},
        {-2147483648.9, INT32_MIN},
        {std::nextafter(-2147483649.0, 0.0), INT32_MIN},
        {-2147483647.5, -2147483647},
    };
    for (const TruncCase& c : cases) {
        EXPECT_EQ(num::TruncateToInt32(c.value), c.expected) << c.value;
    }
}

TEST(Truncation, OutOfRangeGivesInt32Min) {
    const double cases[] = {
        2147483648.0,
        std::nextafter(2147483648.0, kInf),
        -2147483649.0,
        std::nextafter(-2147483649.0, -kInf),
        4294967296.0,
        1e10,
        -1e10,
        1e300,
        DBL_MAX,
        -DBL_MAX,
        kInf,
        -kInf,
        kNaN,
        -kNaN,
    };
    for (double v : cases) {
        EXPECT_EQ(num::TruncateToInt32(v), INT32_MIN) << v;
    }
}

struct WriteCase {
    double value;
    int decimals;
    const char* expected;
};

void ExpectWrites(const WriteCase* cases, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        char buf[num::kFixedBufferSize];
        std::size_t len = num::FormatFixed(cases[i].value, cases[i].decimals, buf, sizeof buf);
        EXPECT_EQ(std::string(buf), cases[i].expected)
            << "value " << cases[i].value << " with " << cases[i].decimals << " decimals";
        EXPECT_EQ(len, std::strlen(cases[i].expected));
    }
}

TEST(NumberWriting, HalvesRoundAwayFromZero) {
    const WriteCase cases[] = {
        {0.25, 1, "0.3"},
        {-0.25, 1, "-0.3"},
        {60.5, 0, "61"},
        {210.5, 0, "211"},
        {0.5, 0, "1"},
        {-0.5, 0, "-1"},
        {1.5, 0, "2"},
        {2.5, 0, "3"},
        {-2.5, 0, "-3"},
        {0.125, 2, "0.13"},
        {0.375, 2, "0.38"},
        {1000000000000000.5, 0, "1000000000000001"},
    };
    ExpectWrites(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberWriting, SeventeenDigitStringDecides) {
    const WriteCase cases[] = {
        {0.35, 1, "0.3"},    // 3.4999999999999998e-01
        {9.95, 1, "9.9"},    // 9.9499999999999993
        {0.45, 1, "0.5"},    // 4.5000000000000001e-01
        {0.15, 1, "0.1"},    // 1.4999999999999999e-01
        {1.005, 2, "1.00"},  // 1.0049999999999999
        {2.675, 2, "2.67"},  // 2.6749999999999998
        {std::nextafter(0.5, 0.0), 0, "0"},
        {std::nextafter(0.25, 1.0), 1, "0.3"},
        {0.1, 17, "0.10000000000000001"},
        {1.0 / 3.0, 17, "0.33333333333333331"},
        {1e23, 0, "99999999999999992000000"},  // digits past the 17th are zeros
        {123456789012345678.0, 0, "123456789012345680"},
    };
    ExpectWrites(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberWriting, CarriesThroughNines) {
    const WriteCase cases[] = {
        {9.96, 1, "10.0"},
        {99.95, 1, "100.0"},   // 99.950000000000003
        {-9.96, 1, "-10.0"},
        {999.5, 0, "1000"},
        {0.96, 1, "1.0"},
        {0.999, 2, "1.00"},
        {9.9999, 0, "10"},
        {0.05, 1, "0.1"},
        {0.095, 1, "0.1"},
    };
    ExpectWrites(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberWriting, NegativeZeroKeepsSign) {
    const WriteCase cases[] = {
        {-0.04, 1, "-0.0"},
        {-0.0, 1, "-0.0"},
        {-0.0, 0, "-0"},
        {-0.4, 0, "-0"},
        {-0.004, 2, "-0.00"},
        {-kDenormMin, 1, "-0.0"},
        {0.0, 1, "0.0"},
        {0.0, 0, "0"},
        {0.04, 1, "0.0"},
        {kDenormMin, 3, "0.000"},
        {0.0004, 3, "0.000"},
        {0.0005, 3, "0.001"},
    };
    ExpectWrites(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberWriting, PlainValues) {
    const WriteCase cases[] = {
        {14.7, 1, "14.7"},
        {165.1, 1, "165.1"},
        {177.79999999999998, 1, "177.8"},
        {-5.3, 1, "-5.3"},
        {7, 1, "7.0"},
        {500, 0, "500"},
        {123.456, 5, "123.45600"},
        {2147483648.0, 0, "2147483648"},
        {0.5, -3, "1"},                    // decimals clamp to 0
        {0.1, 40, "0.10000000000000001"},  // and to 17
    };
    ExpectWrites(cases, sizeof cases / sizeof cases[0]);
}

TEST(NumberWriting, ExponentFormBeyondFixedWidth) {
    const WriteCase cases[] = {
        {1e300, 1, "1.0e+300"},
        {-1e250, 1, "-1.0e+250"},
        {1e300, 0, "1e+300"},
        {DBL_MAX, 1, "1.8e+308"},
        {-DBL_MAX, 1, "-1.8e+308"},
        {DBL_MAX, 17, "1.79769313486231570e+308"},
        {9.96e300, 1, "1.0e+301"},
        {9.94e300, 1, "9.9e+300"},
        {1.25e300, 1, "1.3e+300"},  // 1.2500000000000001e+300
        {1.35e300, 1, "1.3e+300"},  // 1.3499999999999999e+300
        {1e238, 1, "1.0e+238"},     // 239 integer digits and ".0": 241 characters
        {-std::nextafter(1e237, kInf), 1, "-1.0e+237"},
        {1e240, 0, "1e+240"},
    };
    ExpectWrites(cases, sizeof cases / sizeof cases[0]);
}

std::string Zeros(std::size_t n) {
    return std::string(n, '0');
}

TEST(NumberWriting, WidestFixedTexts) {
    // Up to 240 characters stay in fixed notation; digits past the 17th are
    // zeros. 1e237's double is 9.9999999999999994e+236, the next one up is
    // 1.0000000000000001e+237.
    const double above1e237 = std::nextafter(1e237, kInf);
    struct Case {
        double value;
        int decimals;
        std::string expected;
    };
    const Case cases[] = {
        {above1e237, 1, "10000000000000001" + Zeros(221) + ".0"},
        {-1e237, 1, "-99999999999999994" + Zeros(220) + ".0"},
        {std::nextafter(1e238, 0.0), 1, "99999999999999990" + Zeros(221) + ".0"},
        {std::nextafter(1e239, kInf), 0, "10000000000000001" + Zeros(223)},
        {-1e239, 0, "-99999999999999999" + Zeros(222)},
        {-DBL_MIN, 17, "-0.00000000000000000"},
    };
    for (const Case& c : cases) {
        char buf[num::kFixedBufferSize];
        std::size_t len = num::FormatFixed(c.value, c.decimals, buf, sizeof buf);
        EXPECT_EQ(std::string(buf), c.expected) << c.value;
        EXPECT_EQ(len, c.expected.size()) << c.value;
        EXPECT_LE(len, num::kFixedMaxChars) << c.value;
    }
}

TEST(NumberWriting, InfinityAndNaN) {
    const WriteCase cases[] = {
        {kInf, 1, "inf"},
        {-kInf, 1, "-inf"},
        {kInf, 0, "inf"},
        {kNaN, 1, "nan"},
        {-kNaN, 1, "nan"},
        {kNaN, 17, "nan"},
    };
    ExpectWrites(cases, sizeof cases / sizeof cases[0]);
}

constexpr unsigned char kGuard = 0xA5;
constexpr std::size_t kGuardedSize = 32;

// Writes into the first `size` bytes of a guard-filled buffer and checks the
// cut text, its NUL, and that no byte from `size` on was touched.
template <typename Write>
void ExpectCut(const std::string& whole, std::size_t size, Write write) {
    unsigned char buf[kGuardedSize];
    std::memset(buf, kGuard, sizeof buf);
    std::size_t len = write(reinterpret_cast<char*>(buf), size);
    std::size_t expectedLen = size == 0 ? 0 : std::min(whole.size(), size - 1);
    EXPECT_EQ(len, expectedLen) << "size " << size;
    if (size > 0) {
        EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), expectedLen), whole.substr(0, expectedLen))
            << "size " << size;
        EXPECT_EQ(buf[expectedLen], 0) << "size " << size;
    }
    for (std::size_t i = size; i < sizeof buf; ++i) {
        EXPECT_EQ(buf[i], kGuard) << "byte " << i << " touched with size " << size;
    }
}

TEST(NumberWriting, CutsToTheBufferSize) {
    const std::string whole = "-123.46";
    for (std::size_t size = 0; size <= whole.size() + 2; ++size) {
        ExpectCut(whole, size, [](char* out, std::size_t n) { return num::FormatFixed(-123.456, 2, out, n); });
    }
    for (std::size_t size = 0; size <= 5; ++size) {
        ExpectCut("-inf", size, [](char* out, std::size_t n) { return num::FormatFixed(-kInf, 1, out, n); });
        ExpectCut("nan", size, [](char* out, std::size_t n) { return num::FormatFixed(kNaN, 1, out, n); });
    }
    for (std::size_t size = 0; size <= 10; ++size) {
        ExpectCut("1.0e+300", size, [](char* out, std::size_t n) { return num::FormatFixed(1e300, 1, out, n); });
    }
    // A null buffer with size 0 is never written.
    EXPECT_EQ(num::FormatFixed(1.5, 1, nullptr, 0), 0u);
    EXPECT_EQ(num::FormatInt(15, nullptr, 0), 0u);
}

TEST(IntegerWriting, Decimal) {
    struct IntCase {
        std::int32_t value;
        const char* expected;
    };
    const IntCase cases[] = {
        {0, "0"},
        {5, "5"},
        {-3, "-3"},
        {50, "50"},
        {INT32_MAX, "2147483647"},
        {INT32_MIN, "-2147483648"},
    };
    for (const IntCase& c : cases) {
        char buf[16];
        std::size_t len = num::FormatInt(c.value, buf, sizeof buf);
        EXPECT_EQ(std::string(buf), c.expected);
        EXPECT_EQ(len, std::strlen(c.expected));
    }
    for (std::size_t size = 0; size <= 13; ++size) {
        ExpectCut("-2147483648", size, [](char* out, std::size_t n) { return num::FormatInt(INT32_MIN, out, n); });
    }
}

}  // namespace
