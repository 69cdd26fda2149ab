#include "core/fitment.h"
#include "core/number_text.h"

#include <gtest/gtest.h>

#include "tests/support/test_text.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

using test::Bits;
using test::Difference;
using test::kInf;
using test::kNaN;
using test::SetField;
const std::string& kMm = test::kMmCp932;
using test::MakeFields;

std::string TwoDecimals(double value) {
    char out[num::kFixedBufferSize];
    num::FormatFixed(value, 2, out, sizeof out);
    return out;
}

TEST(WidthToMm, InchesBelowOrAt100MillimetresAbove) {
    struct Case {
        const char* text;
        double expected;
    };
    const Case cases[] = {
        {"6.5", 165.1},
        {"7", 177.79999999999998},
        {"8", 203.2},
        {"225", 225},
        {"100", 2540},
        {"100.5", 100.5},
        {"1d2", 2540},
        {"", 0},
        {"abc", 0},
        {"-3", -76.19999999999999},
        {"\x82\x57", 0},  // full-width 8
        {"1e999", kInf},
        {"-1e999", -kInf},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Bits(WidthToMm(c.text)), Bits(c.expected)) << "\"" << c.text << "\"";
    }
    // 7 inches is 7 * 25.4 in double precision, not the double nearest 177.8.
    EXPECT_NE(Bits(WidthToMm("7")), Bits(177.8));
}

TEST(FieldValidity, ZeroTextsAndNonZeroNumbers) {
    const char* valid[] = {"0", "0.0", "-3", "7x", "1d2", " 5", "1e999", "-1e999", ".5", "\t5", "0.5", "5e-324"};
    for (const char* t : valid) {
        EXPECT_EQ(IsFieldValid(t), 1) << "\"" << t << "\"";
    }
    const char* invalid[] = {"",  "abc", "00",   "0.00", "-0",  "0x10",  "inf", "nan",  " 0",
                             "0 ", "+0", "0.",  ".0",   "0e5", "1e-999", "-.", "\x82\x54", "\x82\x4F"};
    for (const char* t : invalid) {
        EXPECT_EQ(IsFieldValid(t), 0) << "\"" << t << "\"";
    }
}

TEST(FieldValidity, Flags) {
    struct Case {
        WheelFields fields;
        int ref;
        int out;
        int storable;
    };
    const Case cases[] = {
        {MakeFields("7", "48", "10", "8", "50"), 1, 1, 1},
        {MakeFields("7", "48", "10", "8", ""), 1, 0, 1},       // target offset plays no part in storing
        {MakeFields("7", "48", "10", "8", "abc"), 1, 0, 1},
        {MakeFields("7", "48", "10", "8", "0"), 1, 1, 1},
        {MakeFields("7", "48", "10", "", "50"), 1, 0, 0},
        {MakeFields("", "48", "10", "8", "50"), 0, 0, 0},
        {MakeFields("7", "", "10", "8", "50"), 0, 0, 0},
        {MakeFields("7", "48", "00", "8", "50"), 0, 0, 0},
        {MakeFields("0", "0.0", "0", "0.0", "0"), 1, 1, 1},
        {MakeFields("7", "-0", "10", "8", "50"), 0, 0, 0},
    };
    for (std::size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        Validity v = EvaluateValidity(cases[i].fields);
        EXPECT_EQ(v.RefValid, cases[i].ref) << "case " << i;
        EXPECT_EQ(v.OutValid, cases[i].out) << "case " << i;
        EXPECT_EQ(v.InputsStorable, cases[i].storable) << "case " << i;
    }
}

TEST(ComputeOffset, SevenToEightInches) {
    WheelFields f = MakeFields("7", "48", "10", "8", "999");
    FitResult fit{};
    ComputeOffset(f, "", fit);
    EXPECT_EQ(Bits(fit.InWidthMm), Bits(177.79999999999998));
    EXPECT_EQ(Bits(fit.OutWidthMm), Bits(203.2));
    EXPECT_EQ(Bits(fit.OptimalOffset), Bits(50.7));
    EXPECT_STREQ(f.OutOffset, "50");

    Differences d = FitDifferences(f, fit);
    EXPECT_EQ(Difference(d.Inner), "14.7" + kMm);
    EXPECT_EQ(Difference(d.Outer), "10.7" + kMm);
    EXPECT_EQ(Difference(d.Fender), "0.7" + kMm);
    EXPECT_EQ(EvaluateValidity(f).OutValid, 1);
}

TEST(ComputeOffset, OverrideKeepsTheUsersOffset) {
    WheelFields f = MakeFields("7", "48", "10", "8", "50");
    FitResult fit{};
    ComputeOffset(f, "30", fit);
    EXPECT_EQ(Bits(fit.OptimalOffset), Bits(50.7));
    EXPECT_STREQ(f.OutOffset, "30");

    Differences d = FitDifferences(f, fit);
    EXPECT_EQ(Difference(d.Inner), "-5.3" + kMm);
    EXPECT_EQ(Difference(d.Outer), "30.7" + kMm);
    EXPECT_EQ(Difference(d.Fender), "20.7" + kMm);
}

TEST(ComputeOffset, StoredDefaults) {
    WheelFields f = MakeFields("6.5", "45", "20", "7");
    FitResult fit{};
    ComputeOffset(f, nullptr, fit);  // null counts as empty
    EXPECT_EQ(TwoDecimals(fit.OptimalOffset), "31.35");
    EXPECT_STREQ(f.OutOffset, "31");
}

TEST(ComputeOffset, TyreWidths) {
    struct Case {
        const char* inIn;
        const char* target;  // override, "" for the computed text
        const char* offsetText;
        const char* optimal;  // two decimals
        const char* inner;
        const char* outer;
        const char* fender;
    };
    const Case cases[] = {
        {"0", "5", "5", "5.00", "10.0", "0.0", "0.0"},
        {"0", "", "5", "5.00", "10.0", "0.0", "0.0"},
        {"5.6", "", "0", "-0.60", "5.0", "5.0", "-0.6"},
        {"10.25", "", "-5", "-5.25", "0.0", "10.0", "-0.3"},  // an exact half away from zero
    };
    for (const Case& c : cases) {
        WheelFields f = MakeFields("215", "0", c.inIn, "225", "");
        FitResult fit{};
        ComputeOffset(f, c.target, fit);
        EXPECT_EQ(Bits(fit.InWidthMm), Bits(215.0));
        EXPECT_EQ(Bits(fit.OutWidthMm), Bits(225.0));
        EXPECT_EQ(TwoDecimals(fit.OptimalOffset), c.optimal) << c.inIn;
        EXPECT_STREQ(f.OutOffset, c.offsetText) << c.inIn;
        EXPECT_EQ(EvaluateValidity(f).OutValid, 1) << c.inIn;
        Differences d = FitDifferences(f, fit);
        EXPECT_EQ(Difference(d.Inner), c.inner + kMm) << c.inIn;
        EXPECT_EQ(Difference(d.Outer), c.outer + kMm) << c.inIn;
        EXPECT_EQ(Difference(d.Fender), c.fender + kMm) << c.inIn;
    }
}

TEST(ComputeOffset, TruncatesTowardsZero) {
    struct Case {
        const char* inIn;
        const char* expected;
    };
    // 215 against 215: the optimal offset is -InIn.
    const Case cases[] = {
        {"3.7", "-3"},
        {"-3.7", "3"},
        {"0.9", "0"},
        {"-0.9", "0"},
        {"48.9", "-48"},
        {"-48.9", "48"},
        {"-2147483647.5", "2147483647"},
        {"-2147483648", "-2147483648"},
        {"2147483648.5", "-2147483648"},
        {"1e300", "-2147483648"},
        {"1e999", "-2147483648"},
    };
    for (const Case& c : cases) {
        WheelFields f = MakeFields("215", "0", c.inIn, "215");
        FitResult fit{};
        ComputeOffset(f, "", fit);
        EXPECT_STREQ(f.OutOffset, c.expected) << c.inIn;
    }
}

TEST(ComputeOffset, InfiniteWidthsGiveNaN) {
    WheelFields f = MakeFields("1e999", "0", "0", "1e999");
    FitResult fit{};
    ComputeOffset(f, "", fit);
    EXPECT_TRUE(std::isnan(fit.OptimalOffset));
    EXPECT_STREQ(f.OutOffset, "-2147483648");
    EXPECT_EQ(EvaluateValidity(f).OutValid, 1);
    Differences d = FitDifferences(f, fit);
    EXPECT_EQ(Difference(d.Inner), "nan" + kMm);
    EXPECT_EQ(Difference(d.Outer), "nan" + kMm);
    EXPECT_EQ(Difference(d.Fender), "nan" + kMm);
}

TEST(ComputeOffset, OverrideTexts) {
    FitResult fit{};

    WheelFields f = MakeFields("7", "48", "10", "8", "50");
    ComputeOffset(f, "abc", fit);
    EXPECT_STREQ(f.OutOffset, "abc");
    EXPECT_EQ(EvaluateValidity(f).OutValid, 0);

    ComputeOffset(f, " 0", fit);
    EXPECT_STREQ(f.OutOffset, " 0");
    EXPECT_EQ(EvaluateValidity(f).OutValid, 0);

    ComputeOffset(f, " -12", fit);
    EXPECT_EQ(EvaluateValidity(f).OutValid, 1);

    const std::string full = "\x82\x54\x82\x4F";  // full-width 50
    ComputeOffset(f, full.c_str(), fit);
    EXPECT_EQ(std::string(f.OutOffset), full);
    EXPECT_EQ(EvaluateValidity(f).OutValid, 0);

    // The field's own text as the override survives unchanged.
    SetField(f.OutOffset, "42");
    ComputeOffset(f, f.OutOffset, fit);
    EXPECT_STREQ(f.OutOffset, "42");

    // Longer overrides are cut to 255 bytes.
    const std::string longText(300, '7');
    ComputeOffset(f, longText.c_str(), fit);
    EXPECT_EQ(std::string(f.OutOffset), longText.substr(0, kOverrideMaxChars));
    const std::string exact(kOverrideMaxChars, '8');
    ComputeOffset(f, exact.c_str(), fit);
    EXPECT_EQ(std::string(f.OutOffset), exact);
}

TEST(FitDifferences, UsesFreshWidthsAndTheLastOptimum) {
    WheelFields f = MakeFields("7", "48", "10", "8", "50");
    FitResult fit{};
    ComputeOffset(f, "50", fit);
    // Widths recorded in fit are not used; the fields are converted again.
    fit.InWidthMm = 0;
    fit.OutWidthMm = 0;
    Differences d = FitDifferences(f, fit);
    EXPECT_EQ(Difference(d.Inner), "14.7" + kMm);
    // The optimum is not recomputed from the fields.
    fit.OptimalOffset = 60;
    d = FitDifferences(f, fit);
    EXPECT_EQ(Bits(d.Fender), Bits(10.0));
    EXPECT_EQ(Bits(d.Outer), Bits(20.0));
}

TEST(FormatDifference, OneDecimalAndMillimetres) {
    struct Case {
        double value;
        const char* number;
    };
    const Case cases[] = {
        {14.7, "14.7"},
        {-0.25, "-0.3"},
        {0.25, "0.3"},
        {0.35, "0.3"},
        {-0.04, "-0.0"},
        {-0.0, "-0.0"},
        {0.0, "0.0"},
        {9.96, "10.0"},
        {1e300, "1.0e+300"},
        {-1e300, "-1.0e+300"},
        {DBL_MAX, "1.8e+308"},
        {-DBL_MAX, "-1.8e+308"},
        {std::numeric_limits<double>::denorm_min(), "0.0"},
        {-std::numeric_limits<double>::denorm_min(), "-0.0"},
        {kInf, "inf"},
        {-kInf, "-inf"},
        {kNaN, "nan"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Difference(c.value), c.number + kMm) << c.value;
    }
}

TEST(FormatDifference, LongestTextsStayInsideTheBuffer) {
    const double values[] = {-9.9e236, -1e237, 9.9e237, -DBL_MAX, -kInf, kNaN};
    for (double v : values) {
        char out[kDifferenceTextSize];
        std::memset(out, 'Z', sizeof out);
        std::size_t len = FormatDifference(v, out);
        ASSERT_LT(len, kDifferenceTextSize) << v;
        EXPECT_EQ(out[len], '\0') << v;
        EXPECT_EQ(std::strlen(out), len) << v;
        EXPECT_EQ(std::string(out + len - kMm.size()), kMm) << v;
    }
    char out[kDifferenceTextSize];
    EXPECT_EQ(FormatDifference(-9.9e236, out), 243u);  // "-990...0.0 ﾐﾘ": 240 + 3
}

}  // namespace
