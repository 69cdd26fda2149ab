// Painting of the main dialog's client area: the background picture, and
// over it a half-scale cross-section of both wheels against the fender line
// with the difference values. Reads the shared fields, flags, fit result and
// picture (common/shared_state.h) and records in Extent how far left the
// wheels reached.
#pragma once

#include <windows.h>

#include "diagram/diagram_geometry.h"

// Where the wheels' inner edges were last drawn, so that the next refresh
// invalidates far enough left to erase them. The diagram writes it; the
// refresh cycle reads it.
struct DiagramExtent {
    int RefInnerX;
    int OutInnerX;
    int RefOverflow;  // the reference wheel reached left of column 170
    int OutOverflow;  // the target wheel reached left of column 170
};

extern DiagramExtent Extent;  // all four start 0

// A colour of the palette as GDI takes it.
inline COLORREF ColourRef(const Rgb& rgb) {
    return RGB(rgb.Red, rgb.Green, rgb.Blue);
}

// WM_PAINT of the main dialog: blits the background picture at its own size
// from (0, 0) through a memory device context, then DrawFitment.
void PaintMainWindow(HWND window);

// Draws the overlay through GetDC(window): the link underline, the dotted
// fender line, the grey reference wheel (RefValid), the red target wheel and
// the difference texts (OutValid).
//
// Columns are 300 less the millimetres at half scale, truncated. Absurd
// inputs (1e300, -1e300, 1e999, widths in the millions) cannot disturb the
// drawing: a column beyond +-16384 is drawn and recorded at that bound, and
// one that leaves the 32-bit range (or is NaN) is taken as -16384, so such a
// wheel counts as overflowing and the next refresh erases the whole band.
// A wheel with both edges out there shows nothing; one with a single far
// edge shows as long horizontal strokes running out of the window (over the
// controls on the left). Such differences print in exponent form
// ("1.0e+300 ﾐﾘ"), or as "inf ﾐﾘ", "-inf ﾐﾘ", "nan ﾐﾘ".
void DrawFitment(HWND window);

// One wheel outline, about two pixels thick, between columns innerX and
// outerX, rows 50 to 150; the previous pen is put back. Columns beyond
// +-16384 are drawn at that bound.
void DrawWheel(HDC dc, HPEN pen, int innerX, int outerX);
