// Painting of the main dialog's client area: the background picture, and
// over it a half-scale cross-section of both wheels against the fender line
// with the difference values. Reads the shared fields, flags and fit result
// (ui/app_state.h) and records in Extent how far left the wheels reached.
#pragma once

#include <windows.h>

// WM_PAINT of the main dialog: blits the background picture at its own size
// from (0, 0) through a memory device context, then DrawFitment.
void PaintMainWindow(HWND window);

// Draws the overlay through GetDC(window): the link underline, the dotted
// fender line, the grey reference wheel (RefValid), the red target wheel and
// the difference texts (OutValid).
void DrawFitment(HWND window);

// One wheel outline, about two pixels thick, between columns innerX and
// outerX, rows 50 to 150; the previous pen is put back.
void DrawWheel(HDC dc, HPEN pen, int innerX, int outerX);
