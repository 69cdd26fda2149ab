// A tyre size, and what it tells: where the sidewall stands on a given rim,
// the tyre's outer diameter, and the two other ways in which a new tyre
// fails the Japanese inspection (車検) beside protrusion: the speedometer
// and the load. No platform code.
//
// Sources:
//   ISO 4000-1 (passenger car tyres and rims: the metric series of tyres)
//     and UN Regulation No. 30 (pneumatic tyres for motor vehicles) for the
//     size designation, the theoretical rim (the nominal width times a
//     factor x that depends on the aspect ratio), the section width on
//     another rim (UN R30 §6.1.1.1: S = S1 + K (A - A1), K = 0.4) and the
//     design outer diameter (UN R30 §6.1.2: D = d + 2 H, H = S1 × ratio);
//     the factors x are those of ISO 4000-1's table of the ratio of the
//     measuring rim to the nominal section width, and the measuring rims
//     they give are the ones the tyre makers publish (Tire Rack's
//     "Measuring Rim Width": 225/45R17 7.5", 225/40R18 8.0", 225/50R15
//     7.0", 225/60R15 6.5", 225/75R15 6.0", P175/75R14 5.0");
//   ISO 4000-1 Annex, and JATMA's year book, for the load index table;
//   道路運送車両の保安基準 第46条 and 細目告示 第148条 / 第226条 for the
//     speedometer's limits;
//   自動車検査業務等実施要領 (審査事務規程) for the load rule: each tyre
//     carries at least half the axle load of the 車検証.
//
// Sizes read (ParseTyreSize), blanks and letter case free, full-width
// forms as a Japanese input method types them read as ASCII:
//   "225/45R17"  "225/45ZR17"  "225/45 R17"  "P225/45R17"  "２２５／４５Ｒ１７"
//   "225/45R17 91W"  "225/45R17 91 W"  "225/45R17 91W XL"  "225/45R17 XL 91W"
//   "225/45R17 91Y EXTRA LOAD"  (XL, RF, REINF, REINFORCED, EXTRA LOAD)
// and refused: "225/45-17" "225/45R17.5" "2255/45R17" "225/4R17" "225/45R9"
// "225/45R27" "225/45R17 91WW" "225/45R17 foo" "225/15R17" (no factor x for
// a ratio outside 20 to 95) and anything else.
//
// Worked examples:
//   225/45R17: measuring rim 7.5 (0.85 × 225 / 25.4 = 7.53); on an 8 J rim
//     (203.2 mm) the section width is 225 + 0.4 × (203.2 - 190.5) = 230.08
//     ("230.1 ﾐﾘ") and the sidewall stands 230.08 / 2 - 101.6 - 12.7 =
//     0.74 mm beyond the rim's outer face; its outer diameter is
//     17 × 25.4 + 2 × 101.25 = 634.3 mm.
//   against 215/45R17 (625.3 mm): 40 × 634.3 / 625.3 = 40.58 km/h at a
//     shown 40 ("40.6 km/h", "+1.4 %"), within 30.9 to 42.55: passes.
//   245/45R18 (677.7 mm) against 215/45R17: 43.35 km/h, over 42.55 for a
//     vehicle made from 2007, within 44.44 for one made before.
//   load index 91: 615 kg, enough for an axle load of 900 kg (450 a tyre).
#pragma once

#include <cstddef>

#include "core/protrusion.h"

// Each rim flange stands this far beyond the rim width on either side: the
// rim width is measured between the flanges' inner faces, and a passenger
// wheel with J flanges (ISO 4000-2, the rim contours of the JATMA and ETRTO
// manuals) measures about one inch more over its lips than its rim width.
constexpr double kFlangeLipMm = 12.7;

// UN R30 §6.1.1.1: how much of a change of rim width the section width follows.
constexpr double kSectionPerRimWidth = 0.4;

// The smallest and largest rim diameter code read, in inches.
constexpr int kSmallestRimCode = 10;
constexpr int kLargestRimCode = 26;

struct TyreSize {
    bool Valid;
    int Width;        // nominal section width, mm (3 digits)
    int Aspect;       // aspect ratio, percent (2 digits, 20 to 95)
    int Rim;          // rim diameter code, inches (10 to 26)
    bool HasLoadIndex;
    int LoadIndex;    // 2 or 3 digits
    char Speed;       // speed symbol, or '\0' without one
    bool Reinforced;  // XL, RF, REINF, REINFORCED, EXTRA LOAD
};

// Reads a tyre size from UTF-8 text; an invalid TyreSize (Valid false)
// for anything that is not one. At most kFieldSize - 1 bytes are read.
TyreSize ParseTyreSize(const char* text);

// The measuring rim in inches: the nearest half inch to x × width / 25.4,
// a tie rounding up, with x by aspect ratio: 95-75 0.70, 70-60 0.75, 55-50
// 0.80, 45 0.85, 40-30 0.90, 25-20 0.92. Worked in whole numbers, so that a
// tie is a tie. 0 for an invalid size.
//   195/65R15 6   205/55R16 6.5   225/45R17 7.5   235/45R17 8
//   225/40R18 8   245/40R18 8.5   255/35R18 9     165/55R14 5
double MeasuringRimInches(const TyreSize& size);

// The section width on a rim rimWidthMm wide (a width field in mm, as
// WidthToMm gives it): width + 0.4 × (rimWidthMm - measuring rim × 25.4).
double SectionWidthMm(const TyreSize& size, double rimWidthMm);

// How far the sidewall stands beyond the rim's outer face (its flange) on
// that rim: S / 2 - rimWidthMm / 2 - 12.7. Negative: the rim is the
// outermost part (a stretched tyre).
double SidewallBeyondRimMm(const TyreSize& size, double rimWidthMm);

// The design outer diameter: rim × 25.4 + 2 × width × aspect / 100 mm.
double OuterDiameterMm(const TyreSize& size);

// The load a tyre of this index carries, in kg; 0 for an index outside the
// table (60 to 120).
//   60 250   75 387   87 545   91 615   100 800   110 1060   120 1400
int LoadCapacityKg(int loadIndex);

// ---------------------------------------------------------------- 車検

enum class Made {
    From2007,    // made from 1 January 2007: the newer upper limit
    Before2007,
};

enum class Outcome {
    Missing,  // a size or a number it needs is not given
    Pass,
    Fail,
};

// The speedometer with the new tyre: the true speed when the meter shows
// 40 km/h, taking the meter as true on the current tyre: 40 × D_new /
// D_current. It passes from 10 × (40 - 6) / 11 = 30.9 km/h up to 100 × 40 /
// 94 = 42.55 km/h (made from 2007), or to 100 × 40 / 90 = 44.44 km/h (made
// before) (細目告示 第148条 / 第226条).
struct Speedometer {
    Outcome Result;    // Missing unless both sizes are valid
    double TrueSpeed;  // km/h at a shown 40
    double ChangePercent;  // the outer diameter's change, percent
};
Speedometer CheckSpeedometer(const TyreSize& current, const TyreSize& next, Made made);

// The range of true speeds at a shown 40 km/h that passes, in km/h.
struct SpeedRange {
    double Slowest;
    double Fastest;
};
SpeedRange SpeedometerLimits(Made made);

// The load: with an axle load (kg, from the 車検証; 0 or less, or not
// finite, for none), the new tyre passes when it carries half of it. With
// none it is compared with the current tyre: at least as much passes; less
// cannot be judged without the axle load (Missing), nor can a tyre without
// a load index in the table.
struct Load {
    Outcome Result;
    int Capacity;         // kg, 0 when unknown
    int CurrentCapacity;  // kg, 0 when unknown
    bool WithAxle;        // judged against the axle load
    double Required;      // kg a tyre, half the axle load (0 without one)
};
Load CheckLoad(const TyreSize& current, const TyreSize& next, double axleLoadKg);

// The bulge that the protrusion check uses: a bulge typed into its box (a
// text that is not empty once blanks are left out) is a measurement and
// wins; otherwise the new tyre's sidewall on the target rim, estimated;
// with neither, 0.
struct Bulge {
    double Mm;
    bool Estimated;
};
Bulge BulgeFor(const char* typedBulge, const TyreSize& next, double rimWidthMm);

// Whether the tyre, not the rim, is the wheel's outermost part: its
// sidewall stands beyond the rim's flange.
bool TyreIsOutermost(const Bulge& bulge);

// All three for the 車検 at once: it fails when any of them fails, passes
// when all three pass (a tolerated tyre passes the protrusion rule), and is
// incomplete otherwise. The protrusion counts only when it was judged (the
// wheels' fields valid, the lengths finite).
struct Inspection {
    Outcome Result;
    Outcome Protrusion;
    Outcome Speed;
    Outcome LoadResult;
};
Inspection Inspect(const TargetCheck& protrusion, const Speedometer& speedometer, const Load& load);

// ---------------------------------------------------------------- texts

// Sizes of the texts below, NUL included.
constexpr std::size_t kTyreTextSize = 32;

// "7.5J"
std::size_t FormatRimInches(double inches, char (&out)[kTyreTextSize]);
// "40.6 km/h"
std::size_t FormatSpeed(double kmh, char (&out)[kTyreTextSize]);
// "+1.4 %", "-0.3 %", "+0.0 %"
std::size_t FormatPercentChange(double percent, char (&out)[kTyreTextSize]);
// "615 kg"
std::size_t FormatKg(double kg, char (&out)[kTyreTextSize]);
