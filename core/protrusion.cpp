#include "core/protrusion.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/number_text.h"

namespace {

// From 2^53 up, neighbouring doubles lie more than 1 apart: no whole
// offset can be stepped to there, and none is offered.
constexpr double kLargestStepped = 9007199254740992.0;
// The estimate of an answer is at most this many whole millimetres off
// after rounding; it is walked to the exact answer.
constexpr int kAdjustSteps = 4;
constexpr double kOneMm = 1;

double Limit(Vehicle vehicle) {
    return vehicle == Vehicle::Passenger ? kTyreAllowanceMm : 0;
}

bool TyreOverLimit(double tyre, Vehicle vehicle) {
    return vehicle == Vehicle::Passenger ? tyre >= kTyreAllowanceMm : tyre > 0;
}

enum class Demand { RimInside, WithinRule };

bool Meets(double offset, double optimalOffset, double spacerMm, double bulgeMm, Vehicle vehicle, Demand demand) {
    const Protrusion p = CheckProtrusion(optimalOffset - EffectiveOffset(offset, spacerMm), bulgeMm, vehicle);
    if (demand == Demand::RimInside) {
        return p.Result != Verdict::None && p.Result != Verdict::WheelOut;
    }
    return p.Result == Verdict::Ok || p.Result == Verdict::TyreTolerated;
}

// Walks a whole estimate to the smallest whole offset that meets the
// demand; the demand is monotone in the offset (a larger offset never
// moves the wheel outboard).
OffsetAnswer SmallestMeeting(double estimate, double optimalOffset, double spacerMm, double bulgeMm, Vehicle vehicle,
                             Demand demand) {
    const OffsetAnswer none{false, 0};
    double t = estimate;
    if (!(std::fabs(t) < kLargestStepped)) return none;  // NaN too
    for (int k = 0; k < kAdjustSteps && !Meets(t, optimalOffset, spacerMm, bulgeMm, vehicle, demand); ++k) {
        t += kOneMm;
    }
    for (int k = 0; k < kAdjustSteps && Meets(t - kOneMm, optimalOffset, spacerMm, bulgeMm, vehicle, demand); ++k) {
        t -= kOneMm;
    }
    if (!Meets(t, optimalOffset, spacerMm, bulgeMm, vehicle, demand)) return none;
    // + 0 turns -0 into 0: "-0" is not a valid field text, "0" is.
    return OffsetAnswer{true, t + 0.0};
}

}  // namespace

double EffectiveOffset(double rimOffset, double spacerMm) {
    return spacerMm == 0 ? rimOffset : rimOffset - spacerMm;
}

double EffectiveTargetOffset(const WheelFields& fields, double spacerMm) {
    return EffectiveOffset(num::atof(fields.OutOffset), spacerMm);
}

Differences FitDifferencesWithSpacer(const WheelFields& fields, const FitResult& fit, double spacerMm) {
    return FitDifferencesAt(fields, fit, EffectiveTargetOffset(fields, spacerMm));
}

Protrusion CheckProtrusion(double wheel, double bulge, Vehicle vehicle) {
    const double tyre = wheel + bulge;
    if (!std::isfinite(wheel) || !std::isfinite(tyre)) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        return Protrusion{Verdict::None, nan, nan, nan};
    }
    // Margins are written 0.0 - x, not -x, so that a zero margin is +0
    // and shows as "0.0", never "-0.0".
    if (wheel > 0) return Protrusion{Verdict::WheelOut, wheel, tyre, wheel};
    if (TyreOverLimit(tyre, vehicle)) return Protrusion{Verdict::TyreOut, wheel, tyre, tyre - Limit(vehicle)};
    if (tyre > 0) {
        return Protrusion{Verdict::TyreTolerated, wheel, tyre, std::min(0.0 - wheel, kTyreAllowanceMm - tyre)};
    }
    return Protrusion{Verdict::Ok, wheel, tyre, 0.0 - std::max(wheel, tyre)};
}

OffsetAnswer SmallestOffsetInside(double optimalOffset, double spacerMm) {
    const double estimate = std::ceil(optimalOffset + spacerMm);
    return SmallestMeeting(estimate, optimalOffset, spacerMm, 0, Vehicle::Passenger, Demand::RimInside);
}

OffsetAnswer SmallestOffsetWithinRule(double optimalOffset, double spacerMm, double bulgeMm, Vehicle vehicle) {
    const double inside = std::ceil(optimalOffset + spacerMm);
    // Passenger: t > optimal + spacer + bulge - 10; Other: t >= optimal + spacer + bulge.
    const double reach = optimalOffset + spacerMm + bulgeMm;
    const double tyre = vehicle == Vehicle::Passenger ? std::floor(reach - kTyreAllowanceMm) + kOneMm : std::ceil(reach);
    return SmallestMeeting(std::max(inside, tyre), optimalOffset, spacerMm, bulgeMm, vehicle, Demand::WithinRule);
}

std::size_t FormatAnswer(const OffsetAnswer& answer, char (&out)[num::kFixedBufferSize]) {
    out[0] = '\0';
    return answer.Found ? num::FormatFixed(answer.Offset, 0, out, sizeof out) : 0;
}

TargetCheck CheckTarget(const WheelFields& fields, const FitResult& fit, double spacerMm, double bulgeMm,
                        Vehicle vehicle) {
    const Differences d = FitDifferencesWithSpacer(fields, fit, spacerMm);
    const Protrusion check = CheckProtrusion(d.Fender, bulgeMm, vehicle);
    const bool judged = EvaluateValidity(fields).OutValid != 0 && check.Result != Verdict::None;
    return TargetCheck{check, judged, spacerMm != 0,
                       EffectiveTargetOffset(fields, spacerMm), SmallestOffsetInside(fit.OptimalOffset, spacerMm),
                       SmallestOffsetWithinRule(fit.OptimalOffset, spacerMm, bulgeMm, vehicle)};
}
