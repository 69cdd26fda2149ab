#include "core/integer_step.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_text.h"

namespace {

// The target offset's spinner as the desktop's up-down control steps it
// under Wine, one step after the other from a fresh start: the rows that
// the end-to-end driver measured and both editions are held to.
TEST(IntegerStepping, TheRowsMeasuredUnderWine) {
    const auto rows = test::SharedRows("spin");
    ASSERT_GE(rows.size(), 10u);
    int position = 0;
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 3u);
        SCOPED_TRACE("[" + row[0] + "] " + row[1] + " from position " + std::to_string(position));
        char field[kFieldSize];
        test::SetField(field, row[0]);
        const IntegerStep step = StepIntegerText(field, row[1] == "up" ? 1 : -1, position);
        EXPECT_EQ(row[2], std::string(field));
        EXPECT_EQ(row[2] != row[0], step.Wrote);
        position = step.Position;
    }
    // The range's other end; a position from outside the range stands at
    // its end.
    char field[kFieldSize];
    test::SetField(field, "-512");
    EXPECT_FALSE(StepIntegerText(field, -1, 0).Wrote);
    test::SetField(field, "x");
    const IntegerStep beyond = StepIntegerText(field, 1, 100000);
    EXPECT_FALSE(beyond.Wrote);
    EXPECT_EQ(512, beyond.Position);
    EXPECT_EQ("x", std::string(field));
}

}  // namespace
