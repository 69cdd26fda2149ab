// Fixed pixel geometry of the fitment diagram, in client coordinates of the
// main dialog (x to the right, y downwards). The layout is made for a client
// area as large as the background picture, 369 by 230 pixels. Half scale:
// one pixel for 2 mm across the wheel. No platform code.
#pragma once

constexpr int kPictureWidth = 369;
constexpr int kPictureHeight = 230;

constexpr int kFenderX = 300;          // the fender line; smaller x is inboard
constexpr int kFenderTop = 30;
constexpr int kFenderBottom = 170;     // end point, not drawn
constexpr int kOverflowX = 170;        // a wheel reaching left of this overflows

constexpr int kWheelTop = 50;
constexpr int kWheelBottom = 150;
constexpr int kWheelChamfer = 5;
constexpr double kPixelsPerMm = 0.5;
constexpr int kStrokeOffset = 1;       // the thickening strokes, right and down

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

// Difference texts (top-left corners)
constexpr int kTextCaptionX = 160;
constexpr int kTextInnerX = 240;
constexpr int kTextOuterX = 320;
constexpr int kTextRow1Y = 170;
constexpr int kTextRow2Y = 185;
constexpr int kTextCellHeight = 10;
