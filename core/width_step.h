// The stepping rule of the two width spinners. Inch widths move by half an
// inch and snap their whole tenths to multiples of 5; millimetre widths (50
// and above) move by 5 mm, snap their whole millimetres to multiples of 5 and
// stop at 500. No platform code.
#pragma once

#include <cstddef>

constexpr double kStepUnitThreshold = 50;  // 50 and above steps as mm
constexpr double kStepMm = 5;
constexpr double kStepMmCeiling = 500;
constexpr double kStepInch = 0.5;
constexpr double kStepInchFloor = 0;

// Size of the text StepWidthText writes, NUL included.
constexpr std::size_t kStepTextSize = 256;

// Steps a width text down when delta < 0, up otherwise; the size of delta is
// ignored. The result is "%.0f" for millimetres, "%.1f" for inches.
//   inches up:   "6.5" -> "7.0"  "7.3" -> "7.5"  "49.7" -> "50.0"  "" -> "0.5"
//   inches down: "7.3" -> "6.5"  "0.2" -> "0.0"  "0" -> "0.0"
//   boundary:    "50" up -> "55", down -> "45";  "45" up -> "45.5"
//   millimetres: "203" up -> "205", down -> "195";  "498" up -> "500"
//                "500" up -> "500";  "57.5" up -> "61" (60.5 rounded)
//   far out:     "1e10" up -> "500";  "-1e10" up -> "0.0"
// Writes at most kStepTextSize bytes, NUL included.
void StepWidthText(const char* text, int delta, char (&out)[kStepTextSize]);
