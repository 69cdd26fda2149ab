#include "diagram/diagram.h"

#include <cstddef>
#include <cstdint>

#include "common/instrument.h"
#include "common/shared_state.h"
#include "core/fitment.h"
#include "core/number_text.h"
#include "diagram/diagram_geometry.h"
#include "resources/resource.h"

namespace {

constexpr COLORREF kUnderlineColour = RGB(150, 0, 0);  // the link label's text colour
constexpr COLORREF kFenderColour = RGB(0, 0, 0);
constexpr COLORREF kReferenceColour = RGB(100, 100, 100);
constexpr COLORREF kTargetColour = RGB(255, 0, 0);
constexpr COLORREF kTextColour = RGB(70, 70, 70);
constexpr int kPenWidth = 1;

constexpr int kFontHeight = kTextCellHeight;  // positive: the character cell
constexpr int kFontWeight = FW_NORMAL;
// "ＭＳ Ｐゴシック"
constexpr char kFontFace[] = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";
// "現状との差異"
constexpr char kCaptionCurrent[] = "\x8c\xbb\x8f\xf3\x82\xc6\x82\xcc\x8d\xb7\x88\xd9";
// "ﾌｪﾝﾀﾞｰとの差"
constexpr char kCaptionFender[] = "\xcc\xaa\xdd\xc0\xde\xb0\x82\xc6\x82\xcc\x8d\xb7";

constexpr int kWheelPoints = 9;

int ClampColumn(int column) {
    if (column < kColumnFarLeft) return kColumnFarLeft;
    if (column > kColumnFarRight) return kColumnFarRight;
    return column;
}

// The fender column less a distance in millimetres at half scale:
// kFenderX - truncate(mm * 0.5). A column outside the 32-bit range (or one
// from a NaN) becomes kColumnFarLeft; others are clamped to the drawable range.
int ColumnInsideFender(double mm) {
    const std::int32_t pixels = num::TruncateToInt32(mm * kPixelsPerMm);
    const std::int64_t column = std::int64_t{kFenderX} - pixels;
    if (pixels == INT32_MIN || column > INT32_MAX || column < INT32_MIN) return kColumnFarLeft;
    return ClampColumn(static_cast<int>(column));
}

void ShiftPoints(POINT (&points)[kWheelPoints], int dx, int dy) {
    for (POINT& point : points) {
        point.x += dx;
        point.y += dy;
    }
}

int Overflows(int innerX, int outerX) {
    return (innerX < kOverflowX || outerX < kOverflowX) ? 1 : 0;
}

void PutText(HDC dc, int x, int y, const char* text, std::size_t length) {
    TextOutA(dc, x, y, text, static_cast<int>(length));
}

void DrawDifference(HDC dc, int x, int y, double value) {
    char text[kDifferenceTextSize];
    const std::size_t length = FormatDifference(value, text);
    PutText(dc, x, y, text, length);
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
    HPEN pen = CreatePen(PS_SOLID, kPenWidth, kUnderlineColour);
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, left, y, nullptr);
    LineTo(dc, right, y);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

// Dotted; the context's default opaque white background fills the gaps.
void DrawFenderLine(HDC dc) {
    HPEN pen = CreatePen(PS_DOT, kPenWidth, kFenderColour);
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, kFenderX, kFenderTop, nullptr);
    LineTo(dc, kFenderX, kFenderBottom);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

// Draws one wheel with a pen of its own; returns whether it overflowed.
int DrawWheelInColour(HDC dc, COLORREF colour, int innerX, int outerX) {
    HPEN pen = CreatePen(PS_SOLID, kPenWidth, colour);
    DrawWheel(dc, pen, innerX, outerX);
    DeleteObject(pen);
    return Overflows(innerX, outerX);
}

void DrawReferenceWheel(HDC dc) {
    Fit.InWidthMm = WidthToMm(Fields.InRim);
    const double clearance = num::atof(Fields.InIn);
    const int innerX = ColumnInsideFender(clearance + Fit.InWidthMm);
    const int outerX = ColumnInsideFender(clearance);
    Extent.RefOverflow = DrawWheelInColour(dc, kReferenceColour, innerX, outerX);
    Extent.RefInnerX = innerX;
}

void DrawTargetWheel(HDC dc) {
    Fit.OutWidthMm = WidthToMm(Fields.OutRim);
    const double target = num::atof(Fields.OutOffset);
    const int innerX = ColumnInsideFender(target - Fit.OptimalOffset + Fit.OutWidthMm);
    const int outerX = ColumnInsideFender(target - Fit.OptimalOffset);
    Extent.OutOverflow = DrawWheelInColour(dc, kTargetColour, innerX, outerX);
    Extent.OutInnerX = innerX;
}

void DrawDifferenceTexts(HDC dc) {
    const Differences differences = FitDifferences(Fields, Fit);
    HFONT font = CreateFontA(kFontHeight, 0, 0, 0, kFontWeight, FALSE, FALSE, FALSE,
                             SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH, kFontFace);
    HGDIOBJ previous = SelectObject(dc, font);
    SetTextColor(dc, kTextColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    PutText(dc, kTextCaptionX, kTextRow1Y, kCaptionCurrent, sizeof kCaptionCurrent - 1);
    DrawDifference(dc, kTextInnerX, kTextRow1Y, differences.Inner);
    DrawDifference(dc, kTextOuterX, kTextRow1Y, differences.Outer);
    PutText(dc, kTextCaptionX, kTextRow2Y, kCaptionFender, sizeof kCaptionFender - 1);
    DrawDifference(dc, kTextOuterX, kTextRow2Y, differences.Fender);
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
    INSTRUMENT_BACKGROUND_DONE();
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
    const int i = ClampColumn(innerX);
    const int o = ClampColumn(outerX);
    const int c = kWheelChamfer;
    POINT outline[kWheelPoints] = {
        {i + c, kWheelTop},    {o - c, kWheelTop},    {o, kWheelTop + c},
        {o, kWheelBottom - c}, {o - c, kWheelBottom}, {i + c, kWheelBottom},
        {i, kWheelBottom - c}, {i, kWheelTop + c},    {i + c, kWheelTop},
    };
    HGDIOBJ previous = SelectObject(dc, pen);
    Polyline(dc, outline, kWheelPoints);
    ShiftPoints(outline, kStrokeOffset, 0);
    Polyline(dc, outline, kWheelPoints);
    ShiftPoints(outline, 0, kStrokeOffset);
    Polyline(dc, outline, kWheelPoints);
    SelectObject(dc, previous);
}
