// The fitment diagram's geometry and palette, the one place for both
// editions: the desktop paints from it with GDI (diagram.cpp), the browser
// edition's WebAssembly interface hands it to the page's canvas. Client
// coordinates of the main dialog, x to the right and y downwards; the layout
// is made for a client area as large as the background picture, 369 by 230
// pixels. Half scale: one pixel for 2 mm across the wheel. No platform code.
//
// It lives with the painting rather than in core/: it is the picture's
// layout, not the fitment arithmetic, and it changes when the picture does.
//
//   ReferenceColumns(10, 177.79999999999998)        -> 207 .. 295
//   TargetColumns(50, 50.7, 203.2)                  -> 199 .. 300
//   TargetColumns(30, 50.7, 203.2)                  -> 209 .. 310
//   ColumnInsideFender(-0.7)                        -> 300 (-0.35 truncates to 0)
//   ColumnInsideFender(1e300), ColumnInsideFender(NaN) -> kColumnFarLeft
#pragma once

#include <cstdint>

#include "core/fitment.h"

constexpr int kPictureWidth = 369;
constexpr int kPictureHeight = 230;

constexpr int kFenderX = 300;          // the fender line; smaller x is inboard
constexpr int kFenderTop = 30;
constexpr int kFenderBottom = 170;     // end point, not drawn
// The dotted fender pen as Wine draws PS_DOT: runs of three pixels of ink
// and three of the context's white background, from the line's first pixel.
constexpr int kFenderDotRun = 3;
constexpr int kOverflowX = 170;        // a wheel reaching left of this overflows

constexpr int kWheelTop = 50;
constexpr int kWheelBottom = 150;
constexpr int kWheelChamfer = 5;
constexpr double kPixelsPerMm = 0.5;

// Drawable column range. A wheel column further out is drawn and recorded at
// this bound (any column left of the client area erases and draws alike);
// a column that leaves the 32-bit range altogether, or comes from a NaN,
// is taken as kColumnFarLeft, so that such a wheel counts as overflowing.
constexpr int kColumnFarLeft = -16384;
constexpr int kColumnFarRight = 16384;

// Regions the refresh invalidates (right and bottom exclusive). The wheel
// band starts at kOverflowX, or further left after an overflow.
constexpr int kWheelBandTop = 50;
constexpr int kWheelBandRight = 500;
constexpr int kWheelBandBottom = 152;
constexpr int kValueBandLeft = 220;
constexpr int kValueBandTop = 160;
constexpr int kValueBandRight = 500;
constexpr int kValueBandBottom = 400;

// Link underline under label 1010 at the dialog unit of 7/4 by 12/8 pixel.
// Under other font metrics it follows the label's real place: from one
// column left of the label to its right edge less one (end point, not
// drawn), one row below its bottom edge (rectangle edges exclusive).
constexpr int kUnderlineLeft = 60;
constexpr int kUnderlineRight = 157;   // end point, not drawn
constexpr int kUnderlineY = 165;
constexpr int kUnderlineLeftShift = -1;   // from the label's left edge
constexpr int kUnderlineRightShift = -1;  // from the label's right edge
constexpr int kUnderlineDrop = 1;         // below the label's bottom edge

struct Point {
    int X;
    int Y;
};

// The five texts under the wheels, in the order they are drawn, each at its
// top-left corner in a font whose character cell is kTextCellHeight high:
// two rows, the captions in the first column, the values in the others.
constexpr int kTextCaptionX = 160;
constexpr int kTextInnerX = 240;
constexpr int kTextOuterX = 320;
constexpr int kTextRow1Y = 170;
constexpr int kTextRow2Y = 185;
constexpr int kTextCellHeight = 10;
enum DiagramText { kCaptionCurrent, kInnerValue, kOuterValue, kCaptionFender, kFenderValue, kDiagramTextCount };
constexpr Point kTextPositions[kDiagramTextCount] = {
    {kTextCaptionX, kTextRow1Y},  // "現状との差異"
    {kTextInnerX, kTextRow1Y},    // inner change
    {kTextOuterX, kTextRow1Y},    // outer change
    {kTextCaptionX, kTextRow2Y},  // "ﾌｪﾝﾀﾞｰとの差"
    {kTextOuterX, kTextRow2Y},    // fender difference
};

// A wheel outline: a rectangle with chamfered corners, nine points from the
// top-left chamfer round and back to it, drawn once at each stroke offset
// for a line about two pixels thick.
constexpr int kWheelPoints = 9;
constexpr int kStrokeCount = 3;
constexpr Point kStrokeOffsets[kStrokeCount] = {{0, 0}, {1, 0}, {1, 1}};

struct WheelOutline {
    Point Points[kWheelPoints];
};

// A wheel's inner and outer column as drawn and recorded, and whether it
// reached left of kOverflowX.
struct WheelColumns {
    int Inner;
    int Outer;
    bool Overflow;
};

// Both wheels for the fields as they are: the reference wheel InIn mm inside
// the fender line, the target wheel at targetOffset against the last
// OptimalOffset, each with its width converted afresh from its field.
struct DiagramWheels {
    WheelColumns Reference;
    WheelColumns Target;
};

// Colours as red, green and blue.
struct Rgb {
    std::uint8_t Red;
    std::uint8_t Green;
    std::uint8_t Blue;
};

constexpr Rgb kLinkColour{150, 0, 0};          // the link label, and its underline
constexpr Rgb kHeadingColour{0, 0, 100};       // the two headings over the fields
constexpr Rgb kFenderInkColour{0, 0, 0};
constexpr Rgb kFenderGapColour{255, 255, 255};  // the context's default background
constexpr Rgb kReferenceColour{100, 100, 100};
constexpr Rgb kTargetColour{255, 0, 0};
constexpr Rgb kTextColour{70, 70, 70};

// The fender column less a distance in millimetres at half scale:
// kFenderX - truncate(mm * 0.5). A column outside the 32-bit range (or one
// from a NaN) becomes kColumnFarLeft; others are clamped to the drawable range.
int ColumnInsideFender(double mm);

// A column clamped to kColumnFarLeft .. kColumnFarRight.
int ClampColumn(int column);

// The reference wheel: outer edge clearanceMm inside the fender line,
// widthMm wide.
WheelColumns ReferenceColumns(double clearanceMm, double widthMm);

// The target wheel at targetOffset: its outer edge on the fender line at
// the optimal offset, inboard for a larger offset, outboard for a smaller.
WheelColumns TargetColumns(double targetOffset, double optimalOffset, double widthMm);

// ReferenceColumns(atof(InIn), WidthToMm(InRim)) and
// TargetColumns(targetOffset, OptimalOffset, WidthToMm(OutRim)).
DiagramWheels WheelsFor(const WheelFields& fields, const FitResult& fit, double targetOffset);

// A tyre's sidewall face beside its wheel, for the browser edition: a
// quadratic curve from the rim's edge at the wheel band's top to its edge at
// the bottom, out to the face's column at the middle row (its control point
// lies twice as far out), drawn as a thin line in the wheel's colour.
struct SidewallFace {
    Point From;
    Point Control;
    Point To;
};

// Both faces of a tyre whose sidewall stands bulgeMm beyond its rim on
// either side (negative: inside, a stretched tyre), the columns as the
// wheel's own, at half scale.
//   reference 10 mm inside, 8 J (203.2 mm), bulge 0.74: the outer face's
//   middle at column 296 (9.26 mm inside: 300 - 4), the rim's edge at 295;
//   the inner face's middle at 194, the rim's own column (213.94 and
//   213.2 mm both truncate to 106 px)
struct TyreFaces {
    SidewallFace Outer;
    SidewallFace Inner;
};
TyreFaces ReferenceTyre(double clearanceMm, double widthMm, double bulgeMm);
TyreFaces TargetTyre(double targetOffset, double optimalOffset, double widthMm, double bulgeMm);

// The outline between the clamped columns innerX and outerX, rows 50 to
// 150. No check is made that innerX < outerX: a wheel narrower than 10
// pixels gives crossing chamfers.
WheelOutline OutlineOf(int innerX, int outerX);
