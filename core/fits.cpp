#include "core/fits.h"

#include <cmath>
#include <cstring>

#include "core/number_text.h"

namespace {

// From 2^53 up, neighbouring doubles lie more than 1 apart: no whole
// offset can be stepped to there, and none is offered.
constexpr double kLargestStepped = 9007199254740992.0;
// The estimate of an answer is at most this many whole millimetres off
// after rounding; it is walked to the exact answer.
constexpr int kAdjustSteps = 4;
constexpr double kOneMm = 1;
constexpr int kWidthDecimals = 1;

double Gap(double innerClearMm, double innerChangeMm, double bulgeNextMm, double bulgeCurrentMm) {
    return innerClearMm - innerChangeMm - (bulgeNextMm - bulgeCurrentMm);
}

// The current tyre's sidewall beyond its rim, or the new one's when its
// size is unknown.
double CurrentBulge(const TyreSize& current, double currentRimMm, double nextBulgeMm) {
    return current.Valid ? SidewallBeyondRimMm(current, currentRimMm) : nextBulgeMm;
}

// The wheel of one row: the fields with the row's width, and the optimal
// offset the desktop computes for it.
struct RowWheel {
    WheelFields Fields;
    FitResult Fit;
    double RimMm;
};

RowWheel WheelAt(const WheelFields& fields, const char* widthText) {
    RowWheel wheel{fields, {}, 0};
    std::memset(wheel.Fields.OutRim, 0, kFieldSize);
    std::memcpy(wheel.Fields.OutRim, widthText, std::strlen(widthText));
    ComputeOffset(wheel.Fields, nullptr, wheel.Fit);
    wheel.RimMm = WidthToMm(wheel.Fields.OutRim);
    return wheel;
}

// The inner gap of the row's wheel at a whole target offset, as the check
// computes it when that offset is typed.
struct GapAt {
    const RowWheel& Wheel;
    double SpacerMm;
    double InnerClearMm;
    double BulgeNextMm;
    double BulgeCurrentMm;

    bool Clear(double offset) const {
        const Differences d = FitDifferencesAt(Wheel.Fields, Wheel.Fit, EffectiveOffset(offset, SpacerMm));
        return Gap(InnerClearMm, d.Inner, BulgeNextMm, BulgeCurrentMm) > 0;
    }
};

// Walks a whole estimate to the largest whole offset whose gap is clear; a
// larger offset moves the wheel inboard and never widens the gap.
OffsetAnswer LargestClear(double estimate, const GapAt& gap) {
    const OffsetAnswer none{false, 0};
    double t = estimate;
    if (!(std::fabs(t) < kLargestStepped)) return none;  // NaN too
    for (int k = 0; k < kAdjustSteps && !gap.Clear(t); ++k) t -= kOneMm;
    for (int k = 0; k < kAdjustSteps && gap.Clear(t + kOneMm); ++k) t += kOneMm;
    if (!gap.Clear(t) || gap.Clear(t + kOneMm)) return none;
    // + 0 turns -0 into 0: "-0" is not a valid field text, "0" is.
    return OffsetAnswer{true, t + 0.0};
}

bool InnerClearGiven(const char* innerClear) {
    return innerClear != nullptr && IsFieldValid(innerClear) != 0 && std::isfinite(num::atof(innerClear));
}

}  // namespace

InnerGap CheckInnerGap(const WheelFields& fields, const FitResult& fit, double spacerMm, const char* innerClear,
                       const Bulge& next, const TyreSize& current) {
    const Differences d = FitDifferencesWithSpacer(fields, fit, spacerMm);
    const double currentBulge = CurrentBulge(current, WidthToMm(fields.InRim), next.Mm);
    const bool given = InnerClearGiven(innerClear);
    const double gap = Gap(num::atof(innerClear), d.Inner, next.Mm, currentBulge);
    const Outcome result = !given ? Outcome::Missing : gap > 0 ? Outcome::Pass : Outcome::Fail;
    return InnerGap{given, gap, result, current.Valid};
}

FitTable WhatFits(const WheelFields& fields, double spacerMm, const char* innerClear, const TyreSize& next,
                  const TyreSize& current, Vehicle vehicle) {
    FitTable table{};
    table.Shown = next.Valid && EvaluateValidity(fields).RefValid != 0;
    if (!table.Shown) return table;
    const bool withInner = InnerClearGiven(innerClear);
    const double innerClearMm = num::atof(innerClear);
    const double first = MeasuringRimInches(next) - kFitsBelowMeasuringRim;
    for (int k = 0; k < kFitRows; ++k) {
        FitRow& row = table.Rows[k];
        row.RimInches = first + k * kFitRowStep;
        num::FormatFixed(row.RimInches, kWidthDecimals, row.WidthText, sizeof row.WidthText);
        const RowWheel wheel = WheelAt(fields, row.WidthText);
        std::memcpy(row.FlushOffset, wheel.Fields.OutOffset, kFieldSize);
        const double bulge = SidewallBeyondRimMm(next, wheel.RimMm);
        row.Min = SmallestOffsetWithinRule(wheel.Fit.OptimalOffset, spacerMm, bulge, vehicle);
        row.Max = OffsetAnswer{false, 0};
        if (withInner) {
            const GapAt gap{wheel, spacerMm, innerClearMm, bulge,
                            CurrentBulge(current, WidthToMm(fields.InRim), bulge)};
            // Clear while inner change < InnerClear - (b_new - b_current); the
            // inner change grows with the target offset one for one.
            const Differences at0 = FitDifferencesAt(wheel.Fields, wheel.Fit, EffectiveOffset(0, spacerMm));
            const double room = Gap(innerClearMm, at0.Inner, gap.BulgeNextMm, gap.BulgeCurrentMm);
            row.Max = LargestClear(std::ceil(room) - kOneMm, gap);
        }
        row.Fits = row.Min.Found && (!withInner || (row.Max.Found && row.Min.Offset <= row.Max.Offset));
    }
    return table;
}
