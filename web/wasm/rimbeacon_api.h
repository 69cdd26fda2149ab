// The WebAssembly interface of Rimbeacon's core: every number the browser
// edition shows comes through these functions; the page itself computes
// none, and this interface only marshals: the rules are the core's
// (core/) and the picture's (diagram/diagram_geometry.h). The same
// functions build natively for the differential check (tools/web diff),
// which holds the two builds to the same results.
//
// In: the page writes the texts a call reads into the input slots
// (rb_input), UTF-8, NUL-terminated, at most kFieldSize - 1 = 255 bytes
// (the page cuts them at a character boundary). Out: each call returns a
// JSON text in a buffer of the module, valid until the next call. No call
// depends on an earlier one.
#pragma once

#if defined(__EMSCRIPTEN__)
#include <emscripten/emscripten.h>
#define RB_EXPORT extern "C" EMSCRIPTEN_KEEPALIVE
#else
#define RB_EXPORT extern "C"
#endif

// The input slots. A text that is no number reads 0, as in every field.
enum InputSlot {
    kSlotInRim,      // the five wheel fields, in the desktop's order
    kSlotInOffset,
    kSlotInIn,
    kSlotOutRim,
    kSlotOutOffset,  // the target offset box as it is
    kSlotOverride,   // the target offset to keep; "" shows the optimal one
    kSlotSpacer,     // mm
    kSlotBulge,      // mm, the tyre beyond the rim's outer face
    kSlotVehicle,    // "passenger", or anything else for cargo and other
    kSlotTyre,       // the new tyre's size, "225/45R17 91W" (core/tyre.h)
    kSlotRefTyre,    // the current tyre's size
    kSlotMade,       // "before2007", or anything else for a vehicle made from 2007
    kSlotAxle,       // the axle load of the 車検証, kg; no number for none
    kSlotInnerClear, // mm from the current tyre's inner sidewall to the suspension; "" for unknown
    kSlotCount
};

// The 256-byte buffer of input `slot`, or null for another number.
RB_EXPORT char* rb_input(int slot);

// The desktop's refresh on the input slots: the five fields read,
// ComputeOffset with the override, the fields read again, then the diagram
// and the protrusion check at the target's effective offset (its offset
// less the spacer), and what the tyre sizes tell. Computed whatever the
// validity; the page draws a wheel only when it is valid. The bulge is the
// one typed, or else the new tyre's estimate on the target rim (BulgeFor).
//   {"valid": {"reference": true, "target": true, "storable": true,
//              "fields": [true, true, true, true, true]},
//    "targetOffset": "50",               the target offset box's new text
//    "optimalOffset": "404959999999999a", its double, 16 hex digits (50.7)
//    "reference": {"inner": 207, "outer": 295, "outline": [[212, 50], ...]},
//    "target": {"inner": 199, "outer": 300, "outline": [...]},
//    "differences": ["14.7 ﾐﾘ", "10.7 ﾐﾘ", "0.7 ﾐﾘ"],   inner, outer, fender
//    "check": {"verdict": "wheel-out", "judged": true, "wheel": "0.7 ﾐﾘ",
//              "tyre": "9.7 ﾐﾘ", "margin": "0.7 ﾐﾘ", "effective": "",
//              "answers": ["51", "51"]},
//    "tyres": {...}}
// for 7 / 48 / 10 / 8, no override, spacer 0, bulge 9, passenger, no tyre
// sizes. The verdict is "wheel-out", "tyre-out", "tyre-tolerated", "ok", or
// "" when a length is not finite; "judged": the wheels are valid and there
// is a verdict; "effective" is "" without a spacer; an answer is "" when
// there is none. A wheel whose tyre size is known has its sidewall faces,
//    "tyre": {"outer": [[295, 50], [297, 100], [295, 150]], "inner": [...]}
// and null otherwise. "tyres", for 225/45R17 91W on the 8 J target against
// 215/45R17 87W, made from 2007, axle load 900:
//    {"target": {"measuringRim": "7.5J", "section": "230.1 ﾐﾘ",
//                "diameter": "634.3 ﾐﾘ", "reinforced": false},
//     "reference": {"measuringRim": "7.5J", ...},   null for an unknown size
//     "bulge": {"value": "0.7 ﾐﾘ", "estimated": true, "outermost": "tyre"},
//     "speedometer": {"verdict": "ok", "speedAt40": "40.6 km/h", "change": "+1.4 %",
//                     "slowest": "30.9 km/h", "fastest": "42.6 km/h"},
//     "load": {"verdict": "ok", "capacity": "615 kg", "current": "545 kg",
//              "withAxle": true, "required": "450 kg"},
//     "shaken": {"verdict": "ok", "protrusion": "ok", "speedometer": "ok", "load": "ok"}}
// A verdict of the speedometer is "" while a size is missing; of the load
// "unknown" when it cannot be told; of the 車検 and its parts "incomplete"
// while something is missing. A capacity is "" when unknown. Then the inner
// side and what fits (core/fits.h):
//    "inner": {"given": true, "gap": "3.5 ﾐﾘ", "verdict": "ok", "currentKnown": true},
//    "fits": {"shown": true, "rows": [{"width": "6.5", "flush": "37", "min": "38",
//             "max": "67", "fits": true}, ...]}
// The inner verdict is "ok" above 0, "ng" otherwise, "" without InnerClear;
// a row's "min" or "max" is "" when there is none (no "max" without
// InnerClear); "rows" is empty when the table is not shown.
RB_EXPORT const char* rb_refresh();

// The stepper of wheel field `slot` (0 to 4) on its text: the width rule
// for 0 and 3, the integer spinner's for the others, which starts from the
// control's last `position` when the field holds no whole number in its
// range (core/integer_step.h).
//   {"text": "32", "wrote": true, "position": 32}     "31" up
//   {"text": "512", "wrote": false, "position": 512}  "512" up
// A width stepper always writes; its position is 0. "null" for another slot.
RB_EXPORT const char* rb_step(int slot, int delta, int position);

// The program's reading of the text in `slot`: its number, as 16 hex digits
// of the double, and whether a field holding it is valid.
//   {"number": "401a000000000000", "valid": true}      "6.5"
RB_EXPORT const char* rb_read(int slot);

// The diagram's fixed geometry and palette (diagram/diagram_geometry.h):
//   {"picture": {"width": 369, "height": 230},
//    "fender": {"x": 300, "top": 30, "bottom": 170, "dotRun": 3},
//    "underline": {"left": 60, "right": 157, "y": 165},
//    "strokes": [[0, 0], [1, 0], [1, 1]],
//    "texts": {"cell": 10, "positions": [[160, 170], ...]},
//    "palette": {"link": [150, 0, 0], ...}}
RB_EXPORT const char* rb_geometry();
