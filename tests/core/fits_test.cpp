#include "core/fits.h"

#include <gtest/gtest.h>

#include <string>

#include "core/number_text.h"
#include "tests/support/test_text.h"

namespace {

// What the check says for a row's width at a whole offset, as the page
// computes it once the row's button has put them into the target fields
// (an empty bulge box: the width's estimate).
struct AtOffset {
    bool Passes;  // within the protrusion rule
    double Gap;   // the inner side's gap
};

AtOffset CheckedAt(const WheelFields& reference, const std::string& width, double offset, double spacer,
                   const char* innerClear, const TyreSize& next, const TyreSize& current, Vehicle vehicle) {
    char text[num::kFixedBufferSize];
    num::FormatFixed(offset, 0, text, sizeof text);
    WheelFields fields = reference;
    test::SetField(fields.OutRim, width);
    test::SetField(fields.OutOffset, text);
    FitResult fit{};
    ComputeOffset(fields, text, fit);
    const Bulge bulge = BulgeFor("", next, WidthToMm(fields.OutRim));
    const Verdict verdict = CheckTarget(fields, fit, spacer, bulge.Mm, vehicle).Check.Result;
    return AtOffset{verdict == Verdict::Ok || verdict == Verdict::TyreTolerated,
                    CheckInnerGap(fields, fit, spacer, innerClear, bulge, current).Gap};
}

// Each row's limits, checked at their own offsets: the smallest passes and
// one less does not; the largest is clear of the suspension and one more
// is not. Over a grid of wheels, tyres, spacers and clearances, and the
// worked example's rows by hand.
TEST(WhatFits, EachRowsLimitsHoldAtTheirOwnOffsetsAndOneMillimetreBeyondThemDoNot) {
    const WheelFields example = test::MakeFields("7", "48", "10", "8", "52");
    const FitTable table = WhatFits(example, 0, "15", ParseTyreSize("225/45R17"), ParseTyreSize("215/45R17"),
                                    Vehicle::Passenger);
    ASSERT_TRUE(table.Shown);
    const char* widths[kFitRows] = {"6.5", "7.0", "7.5", "8.0", "8.5", "9.0"};
    for (int k = 0; k < kFitRows; ++k) EXPECT_EQ(std::string(widths[k]), table.Rows[k].WidthText);
    // 6.5 J: flush 31 (optimal 31.65), the sidewall 12.17 beyond the rim:
    // from 34 (f < -2.17), clear to 63 (inner change < 15 - 6.27).
    EXPECT_EQ("31", std::string(table.Rows[0].FlushOffset));
    EXPECT_EQ(34, table.Rows[0].Min.Offset);
    EXPECT_EQ(63, table.Rows[0].Max.Offset);
    EXPECT_EQ(51, table.Rows[3].Min.Offset);  // the check's own answer for 8 J
    EXPECT_EQ(55, table.Rows[3].Max.Offset);
    EXPECT_FALSE(table.Rows[4].Fits);          // 8.5 J: from 58, clear only to 52
    EXPECT_FALSE(WhatFits(test::MakeFields("7", "", "10", "8"), 0, "15", ParseTyreSize("225/45R17"),
                          ParseTyreSize(""), Vehicle::Passenger).Shown);

    int checked = 0;
    for (const char* reference : {"6.5", "7", "8.5", "215"}) {
        for (const char* tyre : {"195/65R15", "225/45R17", "255/35R18", "165/55R14"}) {
            for (const char* current : {"215/45R17", ""}) {
                for (double spacer : {0.0, 5.0, 12.5}) {
                    for (const char* innerClear : {"15", "4.5", "30", ""}) {
                        for (Vehicle vehicle : {Vehicle::Passenger, Vehicle::Other}) {
                            const WheelFields fields = test::MakeFields(reference, "45", "12.3", "7");
                            const TyreSize next = ParseTyreSize(tyre);
                            const TyreSize now = ParseTyreSize(current);
                            const FitTable fits = WhatFits(fields, spacer, innerClear, next, now, vehicle);
                            ASSERT_TRUE(fits.Shown);
                            for (const FitRow& row : fits.Rows) {
                                SCOPED_TRACE(std::string(reference) + " " + tyre + " [" + current + "] " +
                                             std::to_string(spacer) + " [" + innerClear + "] " + row.WidthText);
                                ASSERT_TRUE(row.Min.Found);
                                const auto at = [&](double offset) {
                                    return CheckedAt(fields, row.WidthText, offset, spacer, innerClear, next, now, vehicle);
                                };
                                EXPECT_TRUE(at(row.Min.Offset).Passes);
                                EXPECT_FALSE(at(row.Min.Offset - 1).Passes);
                                if (innerClear[0] == '\0') {
                                    EXPECT_FALSE(row.Max.Found);
                                    EXPECT_TRUE(row.Fits);
                                    continue;
                                }
                                ASSERT_TRUE(row.Max.Found);
                                EXPECT_GT(at(row.Max.Offset).Gap, 0);
                                EXPECT_LE(at(row.Max.Offset + 1).Gap, 0);
                                EXPECT_EQ(row.Min.Offset <= row.Max.Offset, row.Fits);
                                ++checked;
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 1000);
}

}  // namespace
