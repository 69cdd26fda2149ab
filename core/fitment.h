// Fitment arithmetic: how a width text becomes millimetres, when a field is
// valid, the offset that puts the target wheel's outer edge on the fender
// line, and the three differences the diagram prints. No platform code.
//
// Geometry, in millimetres across the wheel, outward meaning towards the
// fender: a wheel of width W and offset E has its outer edge W/2 - E outboard
// of the hub face and its inner edge W/2 + E inboard of it. The reference
// wheel's outer edge lies InIn millimetres inside the fender line.
#pragma once

#include <cstddef>

// Size of every field text, NUL included.
constexpr std::size_t kFieldSize = 256;

// The five field texts, each mirroring one edit control (ids 1002 to 1006).
// NUL-terminated, code page 932. The first four are stored in the settings
// file; OutOffset never is.
struct WheelFields {
    char InRim[kFieldSize];      // reference width: inches, or mm above 100
    char InOffset[kFieldSize];   // reference offset, mm
    char InIn[kFieldSize];       // reference outer clearance to the fender, mm
    char OutRim[kFieldSize];     // target width
    char OutOffset[kFieldSize];  // target offset, mm
};

struct FitResult {
    double InWidthMm;
    double OutWidthMm;
    double OptimalOffset;
};

struct Validity {
    int RefValid;        // InRim, InOffset and InIn are valid
    int OutValid;        // RefValid, and OutRim and OutOffset are valid
    bool InputsStorable;  // InRim, InOffset, InIn and OutRim are valid
};

struct Differences {
    double Inner;   // > 0: the target's inner edge reaches further inboard
    double Outer;   // > 0: the target's outer edge reaches further outboard
    double Fender;  // > 0: the target's outer edge stands beyond the fender line
};

// Width text to millimetres: above 100 the text is already millimetres (a
// tyre width), otherwise inches (a rim width) times 25.4.
//   "6.5" -> 165.1   "7" -> 7 * 25.4 == 177.79999999999998   "225" -> 225
//   "100" -> 2540    "100.5" -> 100.5   "1d2" -> 2540   "" -> 0
double WidthToMm(const char* text);

// 1 when the text is exactly "0" or "0.0", or its leading number is not 0.
//   valid:   "0" "0.0" "-3" "7x" "1d2" " 5" "1e999"
//   invalid: "" "abc" "00" "0.00" "-0" "0x10" "inf" "nan" " 0"
int IsFieldValid(const char* text);

Validity EvaluateValidity(const WheelFields& fields);

// Longest override text that ComputeOffset takes, NUL excluded.
constexpr std::size_t kOverrideMaxChars = kFieldSize - 1;

// Sets all three values of fit and replaces fields.OutOffset:
//   OptimalOffset = (OutWidthMm * 0.5 - (InWidthMm * 0.5 - atof(InOffset))) - atof(InIn)
// OutOffset becomes overrideText when that is not empty (cut to 255 bytes),
// otherwise OptimalOffset truncated towards zero as "%d" ("-2147483648" when
// out of the 32-bit range or NaN). Runs whatever the fields' validity.
//   7 / 48 / 10 / 8, override "":   OptimalOffset ~50.7, OutOffset "50"
//   7 / 48 / 10 / 8, override "30": OutOffset "30"
//   6.5 / 45 / 20 / 7:              OptimalOffset ~31.35, OutOffset "31"
// A null overrideText counts as empty.
void ComputeOffset(WheelFields& fields, const char* overrideText, FitResult& fit);

// The differences for the current fields; the widths are converted afresh
// from the fields, OptimalOffset comes from the last ComputeOffset.
//   t = OptimalOffset - atof(OutOffset)
//   Inner = ((OutWidthMm - InWidthMm) - t) - atof(InIn)
//   Outer = atof(InIn) + t
//   Fender = t
Differences FitDifferences(const WheelFields& fields, const FitResult& fit);

// FitDifferences with targetOffset in place of atof(OutOffset).
Differences FitDifferencesAt(const WheelFields& fields, const FitResult& fit, double targetOffset);

// Size of the buffer FormatDifference writes into, NUL included.
constexpr std::size_t kDifferenceTextSize = 256;

// "%.01f ﾐﾘ": one decimal with the program's rounding, a blank and the
// half-width katakana ﾐﾘ (CP932 bytes D0 D8). Writes at most
// kDifferenceTextSize bytes, NUL included; returns the length without it.
//   14.7 -> "14.7 ﾐﾘ"   -0.25 -> "-0.3 ﾐﾘ"   -0.04 -> "-0.0 ﾐﾘ"
// Absurd values never overrun the buffer: magnitudes from about 1e238 up
// show in exponent form ("1.0e+300 ﾐﾘ"), infinities as "inf ﾐﾘ" and
// "-inf ﾐﾘ", NaN as "nan ﾐﾘ".
std::size_t FormatDifference(double value, char (&out)[kDifferenceTextSize]);

// FormatDifference for the browser edition, whose texts are UTF-8: the
// same number, with ﾐﾘ as U+FF90 U+FF98 (EF BE 90 EF BE 98).
//   14.7 -> "14.7 ﾐﾘ"
constexpr std::size_t kDifferenceUtf8Size = kDifferenceTextSize + 4;
std::size_t FormatDifferenceUtf8(double value, char (&out)[kDifferenceUtf8Size]);
