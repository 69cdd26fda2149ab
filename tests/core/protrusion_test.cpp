#include "core/protrusion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "core/number_text.h"
#include "tests/support/test_text.h"

namespace {

using test::kInf;
using test::SetField;
const auto Text = test::DifferenceNumber;

struct Case {
    double wheel;
    double bulge;
    Vehicle vehicle;
    Verdict verdict;
    const char* tyre;
    const char* margin;
};

TEST(CheckProtrusion, VerdictsAndTheirBoundaries) {
    const Vehicle P = Vehicle::Passenger;
    const Vehicle O = Vehicle::Other;
    const Case cases[] = {
        // On the fender line is not beyond it; a tyre of exactly 10 mm is not
        // less than 10 mm; a tyre of exactly 0 does not stand out.
        {0, 0, P, Verdict::Ok, "0.0", "0.0"},
        {0, 0, O, Verdict::Ok, "0.0", "0.0"},
        {0, 10, P, Verdict::TyreOut, "10.0", "0.0"},
        {0, 10, O, Verdict::TyreOut, "10.0", "10.0"},
        {0, 9.9, P, Verdict::TyreTolerated, "9.9", "0.0"},
        {-10, 10, P, Verdict::Ok, "0.0", "0.0"},
        {-10, 10, O, Verdict::Ok, "0.0", "0.0"},
        {-10, 6, O, Verdict::Ok, "-4.0", "4.0"},
        {-10, 10.5, O, Verdict::TyreOut, "0.5", "0.5"},
        {0.01, -5, P, Verdict::WheelOut, "-5.0", "0.0"},
        // A rim standing out is refused whatever the tyre does.
        {0.7, 9, P, Verdict::WheelOut, "9.7", "0.7"},
        // The tolerated tyre's margin: whichever step comes first.
        {-5, 12, P, Verdict::TyreTolerated, "7.0", "3.0"},
        {-1.25, 9, P, Verdict::TyreTolerated, "7.8", "1.3"},
        // A tyre inside its rim: the rim is the outermost part.
        {-3, -2, P, Verdict::Ok, "-5.0", "3.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("f " + std::to_string(c.wheel) + ", b " + std::to_string(c.bulge) +
                     (c.vehicle == P ? ", passenger" : ", other"));
        const Protrusion p = CheckProtrusion(c.wheel, c.bulge, c.vehicle);
        EXPECT_EQ(c.verdict, p.Result);
        EXPECT_EQ(c.tyre, Text(p.Tyre));
        EXPECT_EQ(c.margin, Text(p.Margin));
    }
    EXPECT_EQ(Verdict::None, CheckProtrusion(kInf, 0, P).Result);
    EXPECT_EQ(Verdict::None, CheckProtrusion(-1, -kInf, P).Result);
    EXPECT_EQ(Verdict::None, CheckProtrusion(-kInf, kInf, O).Result);
    EXPECT_TRUE(std::isnan(CheckProtrusion(1e308, 1e308, O).Margin));
}

TEST(ProtrusionWithSpacer, ZeroSpacerChangesNoBitAndFifteenMovesTheWheelOut) {
    WheelFields fields;
    SetField(fields.InRim, "7");
    SetField(fields.InOffset, "48");
    SetField(fields.InIn, "10");
    SetField(fields.OutRim, "8");
    FitResult fit{};
    for (const char* target : {"50", "-0", "1e999", "abc", "52.35"}) {
        SCOPED_TRACE(target);
        ComputeOffset(fields, target, fit);
        const Differences plain = FitDifferences(fields, fit);
        for (double spacer : {0.0, -0.0}) {
            const Differences with = FitDifferencesWithSpacer(fields, fit, spacer);
            EXPECT_EQ(0, std::memcmp(&plain, &with, sizeof plain));
        }
    }
    ComputeOffset(fields, "60", fit);
    EXPECT_EQ("-9.3", Text(FitDifferences(fields, fit).Fender));
    EXPECT_EQ("5.7", Text(FitDifferencesWithSpacer(fields, fit, 15).Fender));
    EXPECT_EQ(45, EffectiveOffset(60, 15));
}

TEST(ProtrusionAnswers, SmallestWholeOffsets) {
    const double optimal = 48 + 8 * 25.4 * 0.5 - 7 * 25.4 * 0.5 - 10;  // ~50.7, as 7 / 48 / 10 / 8 gives
    EXPECT_EQ(51, SmallestOffsetInside(optimal, 0).Offset);
    EXPECT_EQ(66, SmallestOffsetInside(optimal, 15).Offset);
    EXPECT_EQ(51, SmallestOffsetWithinRule(optimal, 0, 9, Vehicle::Passenger).Offset);
    EXPECT_EQ(60, SmallestOffsetWithinRule(optimal, 0, 9, Vehicle::Other).Offset);
    EXPECT_EQ(65, SmallestOffsetWithinRule(optimal, 5, 9, Vehicle::Other).Offset);
    EXPECT_EQ(52, SmallestOffsetWithinRule(optimal, 0, 11, Vehicle::Passenger).Offset);  // tyre 9.7 at 52
    EXPECT_EQ(48, SmallestOffsetInside(48, 0).Offset);                                    // f = 0 is inside
    EXPECT_EQ(50, SmallestOffsetWithinRule(48, 0, 11, Vehicle::Passenger).Offset);        // at 49 the tyre is 10

    // "-0" would be an invalid field: zero is offered as 0.
    const OffsetAnswer zero = SmallestOffsetInside(-0.5, 0);
    EXPECT_TRUE(zero.Found);
    EXPECT_FALSE(std::signbit(zero.Offset));

    for (double absurd : {kInf, -kInf, 1e300, 9007199254740992.0}) {
        SCOPED_TRACE(absurd);
        EXPECT_FALSE(SmallestOffsetInside(absurd, 0).Found);
        EXPECT_FALSE(SmallestOffsetWithinRule(0, 0, absurd, Vehicle::Other).Found);
    }
    EXPECT_FALSE(SmallestOffsetWithinRule(1, kInf, -kInf, Vehicle::Passenger).Found);
}

// Each answer, typed into the target offset, gives a verdict it was meant
// to reach, and one millimetre less does not: also where the sums land on
// a whole number only by rounding (0.1 + 0.2 and the like).
TEST(ProtrusionAnswers, AgreeWithTheVerdictAtTheirOwnOffset) {
    int checked = 0;
    for (int o = -300; o <= 300; o += 7) {
        for (int s = 0; s <= 30; s += 3) {
            for (int b = -20; b <= 150; b += 13) {
                const double optimal = o / 10.0;
                const double spacer = s / 10.0 * 3;
                const double bulge = b / 10.0;
                // The offset as the button writes it into the field, read back.
                const auto verdict = [&](double offset, Vehicle v) {
                    char text[num::kFixedBufferSize];
                    num::FormatFixed(offset, 0, text, sizeof text);
                    return CheckProtrusion(optimal - EffectiveOffset(num::atof(text), spacer), bulge, v).Result;
                };
                const OffsetAnswer inside = SmallestOffsetInside(optimal, spacer);
                ASSERT_TRUE(inside.Found);
                EXPECT_NE(Verdict::WheelOut, verdict(inside.Offset, Vehicle::Passenger));
                EXPECT_EQ(Verdict::WheelOut, verdict(inside.Offset - 1, Vehicle::Passenger));
                for (Vehicle v : {Vehicle::Passenger, Vehicle::Other}) {
                    const OffsetAnswer rule = SmallestOffsetWithinRule(optimal, spacer, bulge, v);
                    ASSERT_TRUE(rule.Found);
                    const Verdict at = verdict(rule.Offset, v);
                    const Verdict below = verdict(rule.Offset - 1, v);
                    EXPECT_TRUE(at == Verdict::Ok || at == Verdict::TyreTolerated)
                        << optimal << " " << spacer << " " << bulge << " at " << rule.Offset;
                    EXPECT_TRUE(below == Verdict::WheelOut || below == Verdict::TyreOut)
                        << optimal << " " << spacer << " " << bulge << " at " << rule.Offset - 1;
                    EXPECT_GE(rule.Offset, inside.Offset);
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 3000);
}

}  // namespace
