#include "core/width_step.h"

#include <cstdint>

#include "core/number_text.h"

namespace {

constexpr std::int32_t kSnapDivisor = 5;
constexpr double kTenthsPerInch = 10;
constexpr int kMmDecimals = 0;
constexpr int kInchDecimals = 1;

// Remainder of the whole part by 5, with the sign of the dividend. The whole
// part is the 32-bit truncation, so a value out of range snaps by
// INT32_MIN % 5 == -3. (% by a positive divisor cannot overflow.)
double SnapRemainder(double value) {
    return static_cast<double>(num::TruncateToInt32(value) % kSnapDivisor);
}

}  // namespace

void StepWidthText(const char* text, int delta, char (&out)[kStepTextSize]) {
    double a = num::atof(text);
    if (a >= kStepUnitThreshold) {
        a = delta < 0 ? a - kStepMm : a + kStepMm;
        a = a - SnapRemainder(a);
        if (a > kStepMmCeiling) {
            a = kStepMmCeiling;
        }
        num::FormatFixed(a, kMmDecimals, out, kStepTextSize);
        return;
    }
    double c = (delta < 0 ? a - kStepInch : a + kStepInch) * kTenthsPerInch;
    c = c - SnapRemainder(c);
    c = c / kTenthsPerInch;
    if (c < kStepInchFloor) {
        c = kStepInchFloor;
    }
    num::FormatFixed(c, kInchDecimals, out, kStepTextSize);
}
