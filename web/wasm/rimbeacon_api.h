// The WebAssembly interface of Rimbeacon's core: every number the browser
// edition shows comes through these functions; the page itself computes
// none. The same functions build natively for tools/web-diff, which holds
// the two builds to the same results.
//
// Texts are UTF-8, NUL-terminated, in buffers that the module owns: the page
// writes a field's bytes into rb_field(i) (at most kFieldSize - 1 = 255
// bytes, cut at a character boundary by the page) and reads them back from
// there. Field indices: 0 InRim, 1 InOffset, 2 InIn, 3 OutRim, 4 OutOffset,
// and for the protrusion check 5 Spacer and 6 Bulge (millimetres; a text
// that is no number reads 0, as in every field).
//
// A refresh, as the desktop program does it:
//   write the fields; rb_validity();               (store the inputs if bit 4)
//   copy the override into rb_scratch(); rb_compute_offset(1 or 0);
//   read field 4 back into the target offset box; rb_validity() again;
//   rb_draw(); rb_column(k), rb_difference(k);
//   rb_check(vehicle); rb_check_text(k), rb_answer(k).
#pragma once

#include <cstdint>

#if defined(__EMSCRIPTEN__)
#include <emscripten/emscripten.h>
#define RB_EXPORT extern "C" EMSCRIPTEN_KEEPALIVE
#else
#define RB_EXPORT extern "C"
#endif

// Bits of rb_validity().
constexpr int kRefValidBit = 1;         // InRim, InOffset, InIn valid
constexpr int kOutValidBit = 2;         // and OutRim, OutOffset valid
constexpr int kInputsStorableBit = 4;   // InRim, InOffset, InIn, OutRim valid

// Indices of rb_column().
constexpr int kGreyInner = 0;
constexpr int kGreyOuter = 1;
constexpr int kRedInner = 2;
constexpr int kRedOuter = 3;

// Indices of rb_difference().
constexpr int kDifferenceInner = 0;
constexpr int kDifferenceOuter = 1;
constexpr int kDifferenceFender = 2;

// Fields of the protrusion check.
constexpr int kSpacerField = 5;
constexpr int kBulgeField = 6;

// rb_check()'s vehicle and its results.
constexpr int kVehiclePassenger = 0;
constexpr int kVehicleOther = 1;
constexpr int kVerdictNone = 0;
constexpr int kVerdictWheelOut = 1;
constexpr int kVerdictTyreOut = 2;
constexpr int kVerdictTyreTolerated = 3;
constexpr int kVerdictOk = 4;

// Indices of rb_check_text().
constexpr int kCheckWheel = 0;      // the rim beyond the fender line
constexpr int kCheckTyre = 1;       // the tyre beyond the fender line
constexpr int kCheckMargin = 2;     // the distance to the rule's next step
constexpr int kCheckEffective = 3;  // the offset with the spacer; "" without one

// Indices of rb_answer().
constexpr int kAnswerInside = 0;      // the rim inside the fender
constexpr int kAnswerWithinRule = 1;  // and the tyre within the rule

// The 256-byte buffer of field `index`, or null for another index.
RB_EXPORT char* rb_field(int index);

// A 256-byte buffer for a text handed in: the override, a text to read.
RB_EXPORT char* rb_scratch();

// EvaluateValidity of the five fields, as the bits above.
RB_EXPORT int rb_validity();

// ComputeOffset with the scratch text as the override (withOverride 1) or
// the empty one (0): field 4 becomes the override or the optimal offset's
// integer part.
RB_EXPORT void rb_compute_offset(int withOverride);

// OptimalOffset of the last rb_compute_offset.
RB_EXPORT double rb_optimal_offset();

// The diagram's numbers for the current fields and the last optimal
// offset, the target at its effective offset (the spacer's thickness
// less; a spacer of 0 changes nothing): the wheels' columns as the desktop draws them (fender line at
// column 300, 2 mm a pixel, clamped to -16384..16384, a column out of the
// 32-bit range at -16384) and the three difference texts, such as
// "14.7 ﾐﾘ". Computed whatever the validity; the page draws a wheel only
// when its bit is set.
RB_EXPORT void rb_draw();
RB_EXPORT std::int32_t rb_column(int index);
RB_EXPORT const char* rb_difference(int index);

// The protrusion check for the current fields and the last optimal offset,
// with the spacer and the bulge of fields 5 and 6, for kVehiclePassenger or
// kVehicleOther (any other value counts as other). Returns the verdict,
// kVerdictNone when a length is not finite; then the texts are "nan ﾐﾘ".
// Texts as the diagram's: "-1.3 ﾐﾘ" and so on; the answers are whole
// offsets, "51", or "" when there is none.
//   7 / 48 / 10 / 8 at 52, bulge 9, passenger: kVerdictTyreTolerated,
//   wheel "-1.3 ﾐﾘ", tyre "7.7 ﾐﾘ", margin "1.3 ﾐﾘ", answers "51" "51"
//   the same, spacer 15 at 60: kVerdictWheelOut, wheel "5.7 ﾐﾘ",
//   effective offset "45.0 ﾐﾘ", answers "66" "66"
RB_EXPORT int rb_check(int vehicle);
RB_EXPORT const char* rb_check_text(int index);
RB_EXPORT const char* rb_answer(int index);

// The width stepper of field `index` (0 or 3): StepWidthText of the
// field's text, written back into the field. delta < 0 steps down.
RB_EXPORT void rb_step_width(int index, int delta);

// The integer stepper of field `index` (1, 2 or 4), as the desktop's
// up-down control does it under Wine. It starts from the field's number
// when the field's first 19 characters, with every comma taken out, are a
// whole number from -512 to 512: blanks before it and one sign allowed,
// nothing after it, an empty text is 0. Otherwise it starts from where
// that stepper stood after its last step (0 at first). It moves by one,
// up for delta >= 0, and stops at -512 and 512; only a move writes the new
// number into the field. Returns 1 when it wrote.
//   "31" up -> "32"   "abc" up from 0 -> "1"   " 7" up -> "8"
//   "1,0" up -> "11"  "" down -> "-1"          "512" up -> nothing
RB_EXPORT int rb_step_integer(int index, int delta);

// num::atof and IsFieldValid of the scratch text.
RB_EXPORT double rb_read_number();
RB_EXPORT int rb_number_valid();
