#include "diagram/diagram.h"

#include <cstddef>

#include "common/timing.h"
#include "common/shared_state.h"
#include "core/fitment.h"
#include "core/number_text.h"
#include "diagram/diagram_geometry.h"
#include "resources/resource.h"

namespace {

constexpr int kPenWidth = 1;

constexpr int kFontHeight = kTextCellHeight;  // positive: the character cell
constexpr int kFontWeight = FW_NORMAL;
// "ＭＳ Ｐゴシック"
constexpr char kFontFace[] = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";
// "現状との差異"
constexpr char kCaptionCurrentText[] = "\x8c\xbb\x8f\xf3\x82\xc6\x82\xcc\x8d\xb7\x88\xd9";
// "ﾌｪﾝﾀﾞｰとの差"
constexpr char kCaptionFenderText[] = "\xcc\xaa\xdd\xc0\xde\xb0\x82\xc6\x82\xcc\x8d\xb7";

void PutText(HDC dc, DiagramText which, const char* text, std::size_t length) {
    const Point at = kTextPositions[which];
    TextOutA(dc, at.X, at.Y, text, static_cast<int>(length));
}

void DrawDifference(HDC dc, DiagramText which, double value) {
    char text[kDifferenceTextSize];
    const std::size_t length = FormatDifference(value, text);
    PutText(dc, which, text, length);
}

// The underline runs under the link label wherever the dialog font put it;
// at the dialog unit of 7/4 by 12/8 pixel the label covers columns 61 to 157
// and rows 152 to 163, which gives (60, 165) to (157, 165).
void DrawLinkUnderline(HWND window, HDC dc) {
    int left = kUnderlineLeft;
    int right = kUnderlineRight;
    int y = kUnderlineY;
    HWND label = GetDlgItem(window, IDC_OPTIMAL_LINK);
    if (label != nullptr) {
        RECT place;
        GetWindowRect(label, &place);
        MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&place), 2);
        left = place.left + kUnderlineLeftShift;
        right = place.right + kUnderlineRightShift;
        y = place.bottom + kUnderlineDrop;
    }
    HPEN pen = CreatePen(PS_SOLID, kPenWidth, ColourRef(kLinkColour));
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, left, y, nullptr);
    LineTo(dc, right, y);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

// Dotted; the context's default opaque white background fills the gaps.
void DrawFenderLine(HDC dc) {
    HPEN pen = CreatePen(PS_DOT, kPenWidth, ColourRef(kFenderInkColour));
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, kFenderX, kFenderTop, nullptr);
    LineTo(dc, kFenderX, kFenderBottom);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

// Draws one wheel with a pen of its own.
void DrawWheelInColour(HDC dc, const Rgb& colour, const WheelColumns& wheel) {
    HPEN pen = CreatePen(PS_SOLID, kPenWidth, ColourRef(colour));
    DrawWheel(dc, pen, wheel.Inner, wheel.Outer);
    DeleteObject(pen);
}

void DrawReferenceWheel(HDC dc) {
    Fit.InWidthMm = WidthToMm(Fields.InRim);
    const WheelColumns wheel = ReferenceColumns(num::atof(Fields.InIn), Fit.InWidthMm);
    DrawWheelInColour(dc, kReferenceColour, wheel);
    Extent.RefOverflow = wheel.Overflow ? 1 : 0;
    Extent.RefInnerX = wheel.Inner;
}

void DrawTargetWheel(HDC dc) {
    Fit.OutWidthMm = WidthToMm(Fields.OutRim);
    const WheelColumns wheel = TargetColumns(num::atof(Fields.OutOffset), Fit.OptimalOffset, Fit.OutWidthMm);
    DrawWheelInColour(dc, kTargetColour, wheel);
    Extent.OutOverflow = wheel.Overflow ? 1 : 0;
    Extent.OutInnerX = wheel.Inner;
}

void DrawDifferenceTexts(HDC dc) {
    const Differences differences = FitDifferences(Fields, Fit);
    HFONT font = CreateFontA(kFontHeight, 0, 0, 0, kFontWeight, FALSE, FALSE, FALSE,
                             SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH, kFontFace);
    HGDIOBJ previous = SelectObject(dc, font);
    SetTextColor(dc, ColourRef(kTextColour));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    PutText(dc, kCaptionCurrent, kCaptionCurrentText, sizeof kCaptionCurrentText - 1);
    DrawDifference(dc, kInnerValue, differences.Inner);
    DrawDifference(dc, kOuterValue, differences.Outer);
    PutText(dc, kCaptionFender, kCaptionFenderText, sizeof kCaptionFenderText - 1);
    DrawDifference(dc, kFenderValue, differences.Fender);
    SelectObject(dc, previous);
    DeleteObject(font);
}

}  // namespace

DiagramExtent Extent;

void PaintMainWindow(HWND window) {
    BITMAP picture = {};
    if (Background != nullptr) GetObjectA(Background, sizeof picture, &picture);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (Background != nullptr) {
        HDC memory = CreateCompatibleDC(dc);
        SelectObject(memory, Background);
        BitBlt(dc, 0, 0, picture.bmWidth, picture.bmHeight, memory, 0, 0, SRCCOPY);
        // Deleting a memory context frees only the context: the picture
        // still selected in it stays valid and is selected again next paint.
        DeleteDC(memory);
    }
    EndPaint(window, &paint);
    TIMING_MARK(kBackgroundDone);
    DrawFitment(window);
}

void DrawFitment(HWND window) {
    HDC dc = GetDC(window);
    DrawLinkUnderline(window, dc);
    DrawFenderLine(dc);
    if (RefValid) DrawReferenceWheel(dc);
    if (OutValid) {
        DrawTargetWheel(dc);
        DrawDifferenceTexts(dc);
    }
    ReleaseDC(window, dc);
}

void DrawWheel(HDC dc, HPEN pen, int innerX, int outerX) {
    const WheelOutline outline = OutlineOf(innerX, outerX);
    HGDIOBJ previous = SelectObject(dc, pen);
    for (const Point& offset : kStrokeOffsets) {
        POINT stroke[kWheelPoints];
        for (int k = 0; k < kWheelPoints; ++k) {
            stroke[k] = POINT{outline.Points[k].X + offset.X, outline.Points[k].Y + offset.Y};
        }
        Polyline(dc, stroke, kWheelPoints);
    }
    SelectObject(dc, previous);
}
