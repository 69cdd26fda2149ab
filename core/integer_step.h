// The stepping rule of the three integer spinners (reference offset, outer
// clearance, target offset), as the desktop's up-down control with the
// buddy-integer style steps them: measured under Wine with the end-to-end
// driver, row by row (tests/shared/expectations.txt, "spin"). No platform
// code.
//
// The control keeps a position from -512 to 512 of its own. Before a step it
// reads its field:
//   - it looks at the first 19 characters only (its 20-character buffer,
//     NUL included), counted as UTF-16 units (a 4-byte UTF-8 sequence
//     counts two), and drops every comma (a thousands separator);
//   - if that text is a whole number from -512 to 512 (blanks before it,
//     ideographic space U+3000 included, and one sign allowed; nothing
//     after it; an empty text is 0), the position becomes that number;
//   - otherwise the position stays where the last step left it (0 at the
//     start).
// Then it moves the position by one, up for delta >= 0, down for delta < 0,
// and stops at -512 and 512. Only a move writes the new position into the
// field, as "%d"; a step that the range stops writes nothing.
//
//   "31"   up   -> "32"
//   "abc"  up, from position 0 -> "1"       (not a number: from the position)
//   "30.5" up, from position 1 -> "2"
//   " 7"   up   -> "8"                      (blanks before are allowed)
//   "7 "   up, from position 8 -> "9"       (nothing may follow)
//   "1,0"  up   -> "11"                     (the comma is dropped)
//   ""     down -> "-1"                     (empty is 0)
//   "0000000000000000000012" up -> "1"      (19 zeros read: 0)
//   "512"  up   -> nothing written          (the range stops it)
//   "abc"  up, from position 512 -> nothing written, "abc" stays
// Texts are UTF-8, as the browser edition hands them in.
#pragma once

#include <cstddef>

#include "core/fitment.h"

constexpr int kIntegerStepMin = -512;
constexpr int kIntegerStepMax = 512;

struct IntegerStep {
    bool Wrote;    // the position moved and the field holds its new number
    int Position;  // where the control stands after the step
};

// Steps `field` (NUL-terminated, at most kFieldSize - 1 bytes) in place from
// the control's last `position` (taken into -512 .. 512 first). Writes at most kFieldSize bytes, NUL
// included, and only when it returns Wrote.
IntegerStep StepIntegerText(char (&field)[kFieldSize], int delta, int position);
