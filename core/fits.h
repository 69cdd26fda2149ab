// What fits: for the tyre a user wants, every rim width near its measuring
// rim with the whole offsets that keep the wheel within the 車検's
// protrusion rule and, when the room to the suspension is known, clear of
// it on the inner side. No platform code.
//
// The inner side. InnerClear is the gap from the current tyre's inner
// sidewall to the nearest part of the suspension (strut, spring seat,
// knuckle) at the tightest point, wheels straight. A new wheel and tyre
// leave
//   gap = InnerClear - inner change - (b_new - b_current)
// where the inner change is the desktop's (FitDifferences), taken at the
// spacer's effective offset, and b is how far each tyre's sidewall stands
// beyond its rim's flange (core/tyre.h). Without the current tyre's size
// b_current is taken as b_new: the tyre term drops out.
//   7 / 48 / 10 / 8 at 52, no spacer, InnerClear 15, 225/45R17 on the 8 J
//   (b 0.74) against 215/45R17 on the 7 J (b 5.9): inner change 16.7, gap
//   15 - 16.7 - (0.74 - 5.9) = 3.46 mm: clear.
//
// The table. Six rim widths, from the measuring rim less 1 inch to the
// measuring rim and 1.5 inches more in half-inch steps; for each:
//   the flush offset: the optimal offset's whole part, as the desktop shows
//     it for that width ("最適ｵﾌｾｯﾄ値取得");
//   Min: the smallest whole offset within the protrusion rule with that
//     width's sidewall estimate and the spacer (SmallestOffsetWithinRule);
//   Max, with InnerClear: the largest whole offset whose inner gap is above
//     0 with that width's estimate;
//   Fits: some whole offset meets both.
// Each answer is checked against the rule itself at its own offset: Min
// passes and Min - 1 does not; the gap at Max is above 0 and at Max + 1
// is not.
//   7 / 48 / 10, 225/45R17 (measuring rim 7.5), 215/45R17, passenger,
//   InnerClear 15: 6.5 J .. 9.0 J; the 8.0 J row's Min is 51, the answer of
//   the check for 8 J.
#pragma once

#include <cstddef>

#include "core/fitment.h"
#include "core/protrusion.h"
#include "core/tyre.h"

constexpr int kFitRows = 6;
constexpr double kFitsBelowMeasuringRim = 1;   // inches: the first row
constexpr double kFitRowStep = 0.5;            // inches between rows

// The inner side's gap, in mm, for the fields as they are.
struct InnerGap {
    bool Given;         // InnerClear holds a valid field text
    double Gap;         // mm; above 0 is clear
    Outcome Result;     // Pass above 0, Fail otherwise, Missing when not Given
    bool CurrentKnown;  // the current tyre's size was known
};
InnerGap CheckInnerGap(const WheelFields& fields, const FitResult& fit, double spacerMm, const char* innerClear,
                       const Bulge& next, const TyreSize& current);

struct FitRow {
    double RimInches;
    char WidthText[kTyreTextSize];  // "8.0", as the width field takes it
    char FlushOffset[kFieldSize];   // the optimal offset's whole part, "50"
    OffsetAnswer Min;
    OffsetAnswer Max;               // not Found without InnerClear
    bool Fits;
};

struct FitTable {
    bool Shown;  // the new tyre's size and the reference wheel are valid
    FitRow Rows[kFitRows];
};

FitTable WhatFits(const WheelFields& fields, double spacerMm, const char* innerClear, const TyreSize& next,
                  const TyreSize& current, Vehicle vehicle);
