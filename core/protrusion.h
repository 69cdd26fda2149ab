// The protrusion check of the Japanese vehicle inspection (車検): may the
// target wheel stand where it stands, and which target offsets keep it
// legal. No platform code.
//
// The rule, looked at with the wheels straight ahead, between 30 degrees in
// front of the axle and 50 degrees behind it:
//   - no part of the wheel (rim, cap, nut) may stand outboard of the body;
//   - on a passenger vehicle, a tyre that is the outermost part and stands
//     out by less than 10 mm counts as not standing out;
//   - cargo registrations and the excluded vehicles (10 or more seats, two-
//     and three-wheelers, trailers) get no such allowance.
//
// Lengths are millimetres across the wheel, outboard positive:
//   f  the rim's outer face beyond the fender line (the fender difference
//      of FitDifferences, with the effective target offset);
//   b  the tyre's sidewall beyond the rim's outer face (the bulge);
//   f + b  the tyre beyond the fender line.
#pragma once

#include <cstddef>

#include "core/fitment.h"
#include "core/number_text.h"

// The tyre's allowance on a passenger vehicle: a protrusion below this
// counts as none.
constexpr double kTyreAllowanceMm = 10;

enum class Vehicle {
    Passenger,  // 乗用: the 10 mm allowance applies
    Other,      // cargo registrations and the excluded vehicles
};

enum class Verdict {
    None,           // no verdict: a length is not finite
    WheelOut,       // f > 0
    TyreOut,        // f <= 0; f + b >= 10 (Passenger) or > 0 (Other)
    TyreTolerated,  // Passenger, f <= 0, 0 < f + b < 10
    Ok,             // f <= 0 and f + b <= 0
};

struct Protrusion {
    Verdict Result;
    double Wheel;   // f
    double Tyre;    // f + b
    // How far the rule's next step is, in mm, never negative for a finite
    // verdict:
    //   WheelOut       f: the wheel comes this far inboard to reach the line
    //   TyreOut        f + b - limit (10 or 0): the excess over the limit
    //   TyreTolerated  min(-f, 10 - (f + b)): this far further out and it fails
    //   Ok             -max(f, f + b): this far further out and something
    //                  stands out
    double Margin;
};

// The offset the target wheel has on the car: a spacer of spacerMm moves
// it outboard, as a smaller offset would. A spacer of 0 gives rimOffset
// exactly (also for -0 and for any rimOffset).
//   EffectiveOffset(60, 15) == 45   EffectiveOffset(52, 0) == 52
double EffectiveOffset(double rimOffset, double spacerMm);

// The offset the target wheel has on the car with the fields as they are:
// EffectiveOffset(atof(OutOffset), spacerMm).
double EffectiveTargetOffset(const WheelFields& fields, double spacerMm);

// The differences for the current fields with a spacer: FitDifferences with
// EffectiveOffset(atof(OutOffset), spacerMm) as the target offset. With a
// spacer of 0 every value is FitDifferences' own, bit for bit.
//   7 / 48 / 10 / 8 at 60, spacer 15: Fender ~5.7 (50.7 - 45)
Differences FitDifferencesWithSpacer(const WheelFields& fields, const FitResult& fit, double spacerMm);

// The verdict for the rim's position f and the bulge b.
//   f = 0.7, b = 9, Passenger:   WheelOut,      Margin 0.7
//   f = -1.3, b = 9, Passenger:  TyreTolerated, Tyre 7.7, Margin 1.3
//   f = -1.3, b = 9, Other:      TyreOut,       Margin 7.7
//   f = -1.3, b = 12, Passenger: TyreOut,       Tyre 10.7, Margin 0.7
//   f = -9.3, b = 5:             Ok,            Tyre -4.3, Margin 4.3
//   f = 0, b = 0:                Ok (on the line is not beyond it)
//   f = 0, b = 10, Passenger:    TyreOut (10 mm is not less than 10 mm)
// A NaN or infinite f or f + b gives None with NaN lengths.
Protrusion CheckProtrusion(double wheel, double bulge, Vehicle vehicle);

// A whole target offset, or none.
struct OffsetAnswer {
    bool Found;     // false: no finite answer (a NaN or infinite input)
    double Offset;  // a whole number of millimetres
};

// The smallest whole target offset t that keeps the rim inside the fender
// with the spacer: the verdict of f = optimalOffset - EffectiveOffset(t,
// spacerMm) is not WheelOut. That is optimalOffset + spacerMm rounded up;
// the answer is checked against CheckProtrusion itself, so that the offset
// offered never gives the verdict it avoids.
//   optimal 50.7, spacer 0  -> 51     optimal 50.7, spacer 15 -> 66
//   optimal 48, spacer 0    -> 48     optimal -3.5, spacer 0  -> -3
OffsetAnswer SmallestOffsetInside(double optimalOffset, double spacerMm);

// The smallest whole target offset that keeps the rim inside and the tyre
// within the rule: the verdict is Ok or TyreTolerated. For Passenger the
// smallest whole t >= optimalOffset + spacerMm with f + bulge < 10, for
// Other with f + bulge <= 0.
//   optimal 50.7, spacer 0, bulge 9, Passenger -> 51
//   optimal 50.7, spacer 0, bulge 9, Other     -> 60
//   optimal 50.7, spacer 5, bulge 9, Other     -> 65
OffsetAnswer SmallestOffsetWithinRule(double optimalOffset, double spacerMm, double bulgeMm, Vehicle vehicle);

// An answer as the target offset field takes it: "51", or "" for none.
std::size_t FormatAnswer(const OffsetAnswer& answer, char (&out)[num::kFixedBufferSize]);

// The whole check of the target wheel for the fields as they are and the
// last OptimalOffset, with the spacer and the bulge: the verdict, the
// effective offset (worth showing only with a spacer) and both answers.
//   7 / 48 / 10 / 8 at 52, bulge 9, Passenger: TyreTolerated, Tyre 7.7,
//     no spacer, answers 51 and 51
//   the same, spacer 15 at 60: WheelOut, Wheel 5.7, effective offset 45,
//     answers 66 and 66
struct TargetCheck {
    Protrusion Check;
    bool Judged;             // the wheels' fields are valid and the lengths finite
    bool HasSpacer;          // the spacer is not 0
    double EffectiveOffset;  // EffectiveTargetOffset
    OffsetAnswer Inside;     // SmallestOffsetInside
    OffsetAnswer WithinRule; // SmallestOffsetWithinRule
};
TargetCheck CheckTarget(const WheelFields& fields, const FitResult& fit, double spacerMm, double bulgeMm,
                        Vehicle vehicle);
