// The fitment diagram in the real window: pixels read back from the screen
// and compared with the background picture taken from Rimbeacon.exe itself,
// with the wheel outlines, the fender line, the link underline and the
// difference texts laid over it where they belong.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "diagram/diagram_geometry.h"
#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/support/test_text.h"

namespace {

using e2e::App;
using e2e::Capture;
using e2e::Color;

constexpr Color kGrey{100, 100, 100};
constexpr Color kRed{255, 0, 0};
constexpr Color kBlack{0, 0, 0};
constexpr Color kWhite{255, 255, 255};
constexpr Color kTextInk{70, 70, 70};
constexpr Color kUnderlineInk{150, 0, 0};

// Reference 7 / 48 / 10, target width 8: optimal offset 50.7, target 50.
constexpr char kStartSettings[] =
    "[Rimbeacon]\r\nInRim=7\r\nInOffset=48\r\nInIn=10\r\nOutRim=8\r\nTopMost=0\r\n";

constexpr int kProbeRow = 100;  // a row through both wheels' upright sides
constexpr LPARAM kEnterKeyUp = 0xC01C0001;  // repeat 1, scan code 1C, released

// ------------------------------------------------------------ the picture

// Bitmap 110 as the program ships it, as 0x00RRGGBB pixels.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool Load() {
        HMODULE module = LoadLibraryExA(e2e::ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (module == nullptr) return false;
        HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(IDB_BACKGROUND));
        bool loaded = false;
        if (bitmap != nullptr) {
            BITMAP info = {};
            GetObjectA(bitmap, sizeof info, &info);
            width = info.bmWidth;
            height = info.bmHeight;
            pixels.assign(static_cast<std::size_t>(width) * height, 0);
            BITMAPINFO format = {};
            format.bmiHeader.biSize = sizeof format.bmiHeader;
            format.bmiHeader.biWidth = width;
            format.bmiHeader.biHeight = -height;  // top row first
            format.bmiHeader.biPlanes = 1;
            format.bmiHeader.biBitCount = 32;
            format.bmiHeader.biCompression = BI_RGB;
            HDC screen = GetDC(nullptr);
            loaded = GetDIBits(screen, bitmap, 0, height, pixels.data(), &format, DIB_RGB_COLORS) == height;
            ReleaseDC(nullptr, screen);
            DeleteObject(bitmap);
        }
        FreeLibrary(module);
        return loaded;
    }

    Color At(int x, int y) const {
        const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
        return Color{static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                     static_cast<std::uint8_t>(p)};
    }
};

// ------------------------------------------------------------ the expected drawing

struct Wheel {
    int inner;
    int outer;
    Color colour;
};

// What should be at each pixel of the picture area: the picture, a colour
// drawn over it, or the fender line's black or white.
class Expected {
public:
    enum Kind : std::uint8_t { kPicture, kInk, kFenderDot };

    explicit Expected(const Picture& picture)
        : picture_(picture),
          kind_(picture.pixels.size(), kPicture),
          ink_(picture.pixels.size(), Color{0, 0, 0}) {
        for (int y = kFenderTop; y < kFenderBottom; ++y) Set(kFenderX, y, kFenderDot, kBlack);
    }

    void AddWheel(const Wheel& wheel) {
        const int i = wheel.inner;
        const int o = wheel.outer;
        const int c = kWheelChamfer;
        const POINT outline[] = {
            {i + c, kWheelTop},    {o - c, kWheelTop},    {o, kWheelTop + c},
            {o, kWheelBottom - c}, {o - c, kWheelBottom}, {i + c, kWheelBottom},
            {i, kWheelBottom - c}, {i, kWheelTop + c},    {i + c, kWheelTop},
        };
        const POINT strokes[] = {{0, 0}, {1, 0}, {1, 1}};
        for (const POINT& shift : strokes) {
            for (std::size_t k = 0; k + 1 < std::size(outline); ++k) {
                Segment(outline[k].x + shift.x, outline[k].y + shift.y, outline[k + 1].x + shift.x,
                        outline[k + 1].y + shift.y, wheel.colour);
            }
        }
    }

    // Compares `area` of the capture, leaving out `holes` (the child
    // controls, which paint themselves). Empty when all agree, otherwise the
    // first few differences.
    std::string Mismatches(const Capture& shot, RECT area, const std::vector<RECT>& holes) const {
        area.right = std::min<LONG>({area.right, picture_.width, shot.Width()});
        area.bottom = std::min<LONG>({area.bottom, picture_.height, shot.Height()});
        std::string report;
        int count = 0;
        for (int y = std::max<LONG>(area.top, 0); y < area.bottom; ++y) {
            for (int x = std::max<LONG>(area.left, 0); x < area.right; ++x) {
                if (InAny(holes, x, y)) continue;
                const Color seen = shot.At(x, y);
                const std::size_t at = Index(x, y);
                bool good = false;
                std::string want;
                switch (kind_[at]) {
                case kPicture:
                    good = seen == picture_.At(x, y);
                    want = "picture " + e2e::ToString(picture_.At(x, y));
                    break;
                case kInk:
                    good = seen == ink_[at];
                    want = e2e::ToString(ink_[at]);
                    break;
                case kFenderDot:
                    good = seen == kBlack || seen == kWhite;
                    want = "black or white";
                    break;
                }
                if (!good && ++count <= 8) {
                    report += "(" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                              e2e::ToString(seen) + ", want " + want + "\n";
                }
            }
        }
        if (count > 8) report += std::to_string(count) + " pixels differ in all\n";
        return report;
    }

private:
    // A horizontal, vertical or 45-degree line, end point excluded, as
    // Polyline draws each of its segments.
    void Segment(int x0, int y0, int x1, int y1, Color colour) {
        const int dx = (x1 > x0) - (x1 < x0);
        const int dy = (y1 > y0) - (y1 < y0);
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
        for (int k = 0; k < steps; ++k) Set(x0 + k * dx, y0 + k * dy, kInk, colour);
    }

    void Set(int x, int y, Kind kind, Color colour) {
        if (x < 0 || y < 0 || x >= picture_.width || y >= picture_.height) return;
        kind_[Index(x, y)] = kind;
        ink_[Index(x, y)] = colour;
    }

    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * picture_.width + x; }

    static bool InAny(const std::vector<RECT>& rects, int x, int y) {
        for (const RECT& r : rects) {
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
        }
        return false;
    }

    const Picture& picture_;
    std::vector<Kind> kind_;
    std::vector<Color> ink_;
};

constexpr RECT kWheelBand = {0, kWheelBandTop, kWheelBandRight, kWheelBandBottom};
constexpr RECT kValueBand = {kValueBandLeft, kValueBandTop, kValueBandRight, kValueBandBottom};
constexpr RECT kWholePicture = {0, 0, kPictureWidth, kPictureHeight};

std::string Str(const Color& c) { return e2e::ToString(c); }

// Columns of `row` showing exactly `colour`.
std::vector<int> ColumnsOf(const Capture& shot, int row, Color colour) {
    std::vector<int> columns;
    for (int x = 0; x < shot.Width(); ++x) {
        if (shot.At(x, row) == colour) columns.push_back(x);
    }
    return columns;
}

std::string Join(const std::vector<int>& values) {
    std::string text;
    for (int v : values) text += (text.empty() ? "" : " ") + std::to_string(v);
    return text;
}

// ------------------------------------------------------------ the program

class DiagramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(picture_.Load()) << "bitmap 110 of " << e2e::ProgramPath();
        ASSERT_EQ(kPictureWidth, picture_.width);
        ASSERT_EQ(kPictureHeight, picture_.height);
        ASSERT_TRUE(dir_.WriteFile(e2e::kSettingsFile, kStartSettings));
        ASSERT_TRUE(app_.Start(dir_.Path())) << app_.Error();
        ASSERT_TRUE(app_.WaitForText(IDC_OUT_OFFSET, "50"));
        // The first paint of the window and its controls is over.
        e2e::StableClient(app_.Window());
        holes_.clear();
        EnumChildWindows(app_.Window(), CollectChild, reinterpret_cast<LPARAM>(this));
    }

    static BOOL CALLBACK CollectChild(HWND child, LPARAM self) {
        auto* test = reinterpret_cast<DiagramTest*>(self);
        test->holes_.push_back(e2e::RectInClient(test->app_.Window(), child));
        return TRUE;
    }

    // Sent, not posted: when it returns, the refresh and its paint are done
    // (the screen may still lag, so checks wait for the pixels).
    bool SendKeyUpEnter(int id) {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(app_.Control(id), WM_KEYUP, VK_RETURN, kEnterKeyUp, SMTO_ABORTIFHUNG,
                                   e2e::kTimeoutMs, &result) != 0;
    }

    // Sets the five fields and presses Enter in the target offset field.
    bool Enter(const char* inRim, const char* inOffset, const char* inIn, const char* outRim,
               const char* outOffset) {
        return app_.SetControlText(IDC_IN_RIM, inRim) && app_.SetControlText(IDC_IN_OFFSET, inOffset) &&
               app_.SetControlText(IDC_IN_IN, inIn) && app_.SetControlText(IDC_OUT_RIM, outRim) &&
               app_.SetControlText(IDC_OUT_OFFSET, outOffset) && SendKeyUpEnter(IDC_OUT_OFFSET);
    }

    bool Responds() {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(app_.Window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, e2e::kTimeoutMs, &result) != 0;
    }

    // Waits until `area` of the client agrees with `expected`; returns the
    // remaining differences (empty on success).
    std::string WaitForDrawing(const Expected& expected, const RECT& area, std::vector<RECT> skip = {}) {
        skip.insert(skip.end(), holes_.begin(), holes_.end());
        std::string mismatches;
        e2e::WaitUntil([&] {
            last_ = Capture::Client(app_.Window());
            mismatches = expected.Mismatches(last_, area, skip);
            return mismatches.empty();
        });
        return mismatches;
    }

    Expected Drawing(std::initializer_list<Wheel> wheels) const {
        Expected expected(picture_);
        for (const Wheel& wheel : wheels) expected.AddWheel(wheel);
        return expected;
    }

    // Repaints the whole client area (what the system does when the window
    // is uncovered), so that earlier drawing outside the bands is gone too.
    void RepaintAll() {
        RedrawWindow(app_.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    Picture picture_;
    e2e::TempDir dir_;
    App app_;
    std::vector<RECT> holes_;
    Capture last_;
};

// 7 / 48 / 10 / 8 at target 50: grey 207..295, red 199..300.
const Wheel kReferenceWheel{207, 295, kGrey};
const Wheel kTargetAt50{199, 300, kRed};

// A row of the expectations shared with the browser edition: the five
// fields, the two wheels and the three difference values.
struct SharedWheels {
    std::string fields[5];
    Wheel grey;
    Wheel red;
    std::string differences[3];
};

std::vector<SharedWheels> SharedWheelRows() {
    std::vector<SharedWheels> rows;
    for (const std::vector<std::string>& w : test::SharedRows("wheels")) {
        if (w.size() != 12) continue;
        rows.push_back({{w[0], w[1], w[2], w[3], w[4]},
                        {std::atoi(w[5].c_str()), std::atoi(w[6].c_str()), kGrey},
                        {std::atoi(w[7].c_str()), std::atoi(w[8].c_str()), kRed},
                        {w[9], w[10], w[11]}});
    }
    return rows;
}

std::string Columns(const Wheel& wheel) {
    return Join({wheel.inner, wheel.inner + 1, wheel.outer, wheel.outer + 1});
}

// ------------------------------------------------------------ the tests

// The rows of the shared table: the first as the program starts with the
// stored 7 / 48 / 10 / 8, the others typed into the target offset as a user
// would (a click selects the field, then the number and Enter).
TEST_F(DiagramTest, WheelsSitAtTheirColumnsAndFollowTheTypedTarget) {
    const std::vector<SharedWheels> rows = SharedWheelRows();
    ASSERT_GE(rows.size(), 2u) << "the shared expectations " RIMBEACON_SHARED_EXPECTATIONS;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const SharedWheels& row = rows[k];
        SCOPED_TRACE("target " + row.fields[4]);
        ASSERT_EQ("7 48 10 8", row.fields[0] + " " + row.fields[1] + " " + row.fields[2] + " " + row.fields[3]);
        if (k > 0) {
            ASSERT_TRUE(e2e::ClickAt(app_.Control(IDC_OUT_OFFSET), e2e::CenterOf(app_.Control(IDC_OUT_OFFSET))));
            const e2e::Selection whole{0, static_cast<int>(app_.Text(IDC_OUT_OFFSET).size())};
            ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::GetSelection(app_.Control(IDC_OUT_OFFSET)) == whole; }));
            e2e::TypeText(row.fields[4]);
            e2e::PressKey(VK_RETURN);
        }
        EXPECT_EQ("", WaitForDrawing(Drawing({row.grey, row.red}), kWheelBand));
        EXPECT_EQ(Columns(row.grey), Join(ColumnsOf(last_, kProbeRow, kGrey)));
        EXPECT_EQ(Columns(row.red), Join(ColumnsOf(last_, kProbeRow, kRed)));
        EXPECT_EQ(row.fields[4], app_.Text(IDC_OUT_OFFSET));
        std::printf("target %s, row %d: grey at %s, red at %s\n", row.fields[4].c_str(), kProbeRow,
                    Join(ColumnsOf(last_, kProbeRow, kGrey)).c_str(), Join(ColumnsOf(last_, kProbeRow, kRed)).c_str());
        // The red outline spans rows 50 to 151 with the thickening stroke.
        const int middle = (row.red.inner + row.red.outer) / 2;
        EXPECT_NE(Str(kRed), Str(last_.At(middle, kWheelTop - 1)));
        EXPECT_EQ(Str(kRed), Str(last_.At(middle, kWheelTop)));
        EXPECT_EQ(Str(kRed), Str(last_.At(middle, kWheelBottom + 1)));
        EXPECT_NE(Str(kRed), Str(last_.At(middle, kWheelBottom + 2)));
        if (row.fields[4] == "50") e2e::SaveScreenshot(app_.Window(), "diagram-both-wheels");
        if (row.fields[4] == "30") e2e::SaveScreenshot(app_.Window(), "diagram-target-poking-out");
    }
}

TEST_F(DiagramTest, FenderLineAndUnderlineAloneWhileTheReferenceIsInvalid) {
    ASSERT_TRUE(Enter("7", "", "10", "8", "50"));
    RepaintAll();
    // Everything but the fender line and the underline is the picture.
    const RECT link = e2e::RectInClient(app_.Window(), app_.Control(IDC_OPTIMAL_LINK));
    const int underlineY = link.bottom + kUnderlineDrop;
    const int underlineLeft = link.left + kUnderlineLeftShift;
    const int underlineRight = link.right + kUnderlineRightShift;
    const RECT underline = {underlineLeft, underlineY, underlineRight, underlineY + 1};
    ASSERT_EQ("", WaitForDrawing(Drawing({}), kWholePicture, {underline}));
    e2e::SaveScreenshot(app_.Window(), "diagram-reference-invalid");

    // The underline: the link label's colour, one row below the label.
    std::printf("link label at x %ld..%ld, y %ld..%ld; underline from (%d, %d) to (%d, %d)\n", link.left,
                link.right - 1, link.top, link.bottom - 1, underlineLeft, underlineY, underlineRight, underlineY);
    for (int x = underlineLeft; x < underlineRight; ++x) {
        EXPECT_EQ(Str(kUnderlineInk), Str(last_.At(x, underlineY))) << "column " << x;
    }
    EXPECT_NE(Str(kUnderlineInk), Str(last_.At(underlineLeft - 1, underlineY)));
    EXPECT_NE(Str(kUnderlineInk), Str(last_.At(underlineRight, underlineY)));
    EXPECT_NE(Str(kUnderlineInk), Str(last_.At(underlineLeft, underlineY - 1)));
    EXPECT_NE(Str(kUnderlineInk), Str(last_.At(underlineLeft, underlineY + 1)));
    if (link.left == 61 && link.right == 158 && link.bottom == 164) {
        EXPECT_EQ(kUnderlineLeft, underlineLeft);
        EXPECT_EQ(kUnderlineRight, underlineRight);
        EXPECT_EQ(kUnderlineY, underlineY);
    }

    // The fender line: dotted black on white from row 30 to 169.
    int black = 0;
    int longestRun = 0;
    int run = 0;
    for (int y = kFenderTop; y < kFenderBottom; ++y) {
        const Color seen = last_.At(kFenderX, y);
        ASSERT_TRUE(seen == kBlack || seen == kWhite) << "row " << y << ": " << e2e::ToString(seen);
        run = seen == kBlack ? run + 1 : 0;
        black += seen == kBlack;
        longestRun = std::max(longestRun, run);
    }
    const int rows = kFenderBottom - kFenderTop;
    EXPECT_GT(black, rows / 4);
    EXPECT_LT(black, rows * 3 / 4);
    EXPECT_LE(longestRun, 8) << "a dotted line, not a solid one";
    EXPECT_EQ(Str(picture_.At(kFenderX, kFenderTop - 1)), Str(last_.At(kFenderX, kFenderTop - 1)));
    EXPECT_EQ(Str(picture_.At(kFenderX, kFenderBottom)), Str(last_.At(kFenderX, kFenderBottom)));
}

TEST_F(DiagramTest, InvalidTargetKeepsTheGreyWheelAndDropsTheValues) {
    ASSERT_TRUE(Enter("7", "48", "10", "8", "abc"));
    EXPECT_EQ("", WaitForDrawing(Drawing({kReferenceWheel}), kWheelBand));
    EXPECT_EQ("", WaitForDrawing(Drawing({}), kValueBand));
    EXPECT_EQ("", Join(ColumnsOf(last_, kProbeRow, kRed)));
    // The two labels left of the value band were not part of the repaint.
    EXPECT_GT(last_.Count({kTextCaptionX, kTextRow1Y, kValueBandLeft, kTextRow1Y + kTextCellHeight + 2}, kTextInk), 0);
    EXPECT_GT(last_.Count({kTextCaptionX, kTextRow2Y, kValueBandLeft, kTextRow2Y + kTextCellHeight + 2}, kTextInk), 0);

    ASSERT_TRUE(Enter("7", "48", "10", "8", "50"));
    EXPECT_EQ("", WaitForDrawing(Drawing({kReferenceWheel, kTargetAt50}), kWheelBand));
}

// The five texts in colour 70,70,70, each at its place and drawn whole: ink
// reaches into the last character's cell.
TEST_F(DiagramTest, DifferenceTextsStandAtTheirPlaces) {
    // "ﾐﾘ" after each value; the captions in CP932.
    struct Text {
        int x;
        int y;
        std::string text;
        int lastCharBytes;
    };
    // The window starts at 7 / 48 / 10 / 8 with target 50, the first row of
    // the shared expectations.
    const std::vector<SharedWheels> rows = SharedWheelRows();
    ASSERT_FALSE(rows.empty()) << "the shared expectations " RIMBEACON_SHARED_EXPECTATIONS;
    ASSERT_EQ("50", rows[0].fields[4]);
    const std::string mm = " \xd0\xd8";
    const Text texts[] = {
        {kTextCaptionX, kTextRow1Y, "\x8c\xbb\x8f\xf3\x82\xc6\x82\xcc\x8d\xb7\x88\xd9", 2},
        {kTextInnerX, kTextRow1Y, rows[0].differences[0] + mm, 1},
        {kTextOuterX, kTextRow1Y, rows[0].differences[1] + mm, 1},
        {kTextCaptionX, kTextRow2Y, "\xcc\xaa\xdd\xc0\xde\xb0\x82\xc6\x82\xcc\x8d\xb7", 2},
        {kTextOuterX, kTextRow2Y, rows[0].differences[2] + mm, 1},
    };
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontA(kTextCellHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                             "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e");
    HGDIOBJ previous = SelectObject(screen, font);
    std::vector<RECT> boxes;
    std::vector<int> lastCellLeft;
    for (const Text& t : texts) {
        SIZE whole = {};
        SIZE allButLast = {};
        GetTextExtentPoint32A(screen, t.text.c_str(), static_cast<int>(t.text.size()), &whole);
        GetTextExtentPoint32A(screen, t.text.c_str(), static_cast<int>(t.text.size()) - t.lastCharBytes, &allButLast);
        boxes.push_back({t.x, t.y, t.x + whole.cx + 1, t.y + whole.cy + 1});
        lastCellLeft.push_back(t.x + allButLast.cx);
    }
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);

    ASSERT_TRUE(e2e::WaitUntil([&] {
        last_ = Capture::Client(app_.Window());
        for (const RECT& box : boxes) {
            if (last_.Count(box, kTextInk) == 0) return false;
        }
        return true;
    }));
    for (std::size_t k = 0; k < boxes.size(); ++k) {
        const RECT& box = boxes[k];
        int rightmostInk = -1;
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right && x < last_.Width(); ++x) {
                if (last_.At(x, y) != picture_.At(x, y)) rightmostInk = std::max(rightmostInk, x);
            }
        }
        EXPECT_GE(rightmostInk, lastCellLeft[k]) << "text " << k << " is cut short";
    }
    // Inside the value band nothing but the three values was drawn.
    EXPECT_EQ("", WaitForDrawing(Drawing({}), kValueBand, boxes));

    // The target offset turns invalid: the values go, the captions stay.
    ASSERT_TRUE(Enter("7", "48", "10", "8", "x"));
    EXPECT_EQ("", WaitForDrawing(Drawing({kReferenceWheel}), kValueBand));
    EXPECT_GT(last_.Count({kTextCaptionX, kTextRow1Y, kValueBandLeft, boxes[0].bottom}, kTextInk), 0);
    EXPECT_GT(last_.Count({kTextCaptionX, kTextRow2Y, kValueBandLeft, boxes[3].bottom}, kTextInk), 0);
}

// A wheel reaching left of column 170 widens the next refresh's erasing.
TEST_F(DiagramTest, WheelsReachingFarLeftAreErasedByTheNextRefresh) {
    // Target 150: (150 - 50.7 + 203.2) / 2 = 151.25, inner column 149.
    ASSERT_TRUE(Enter("7", "48", "10", "8", "150"));
    const Wheel farTarget{149, 251, kRed};
    EXPECT_EQ("", WaitForDrawing(Drawing({kReferenceWheel, farTarget}), kWheelBand));
    ASSERT_TRUE(Enter("7", "48", "10", "8", "50"));
    EXPECT_EQ("", WaitForDrawing(Drawing({kReferenceWheel, kTargetAt50}), kWheelBand));

    // Clearance 130: (130 + 177.8) / 2 = 153.9, inner column 147; the
    // optimal offset falls to -69.3, which moves the red wheel to 139..241.
    ASSERT_TRUE(Enter("7", "48", "130", "8", "50"));
    const Wheel farReference{147, 235, kGrey};
    const Wheel movedTarget{139, 241, kRed};
    EXPECT_EQ("", WaitForDrawing(Drawing({farReference, movedTarget}), kWheelBand));
    ASSERT_TRUE(Enter("7", "48", "10", "8", "50"));
    EXPECT_EQ("", WaitForDrawing(Drawing({kReferenceWheel, kTargetAt50}), kWheelBand));
}

TEST_F(DiagramTest, AbsurdInputsLeaveTheWindowWorking) {
    struct Case {
        const char* inRim;
        const char* inIn;
        const char* outRim;
        const char* outOffset;
    };
    const Case cases[] = {
        {"7", "1e300", "8", "50"},   {"7", "-1e300", "8", "50"},  {"7", "1e999", "8", "50"},
        {"1e300", "10", "8", "50"},  {"7", "10", "-1e300", "50"}, {"7", "10", "8", "1e300"},
        {"7", "10", "8", "-1e300"},  {"7", "10", "8", "1e999"},   {"1e999", "10", "1e999", "-1e999"},
        {"7", "10", "8", "-4294967"}, {"7", "10", "8", "4294967"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.inRim) + " / 48 / " + c.inIn + " / " + c.outRim + " / " + c.outOffset);
        ASSERT_TRUE(Enter(c.inRim, "48", c.inIn, c.outRim, c.outOffset));
        ASSERT_TRUE(Responds());
        ASSERT_TRUE(app_.Running());
        if (std::string(c.inIn) == "1e300") e2e::SaveScreenshot(app_.Window(), "diagram-absurd-clearance");
        ASSERT_TRUE(Enter("7", "48", "10", "8", "50"));
        EXPECT_EQ("", WaitForDrawing(Drawing({kReferenceWheel, kTargetAt50}), kWheelBand));
    }
}

// Many refreshes with valid, invalid and absurd inputs, each sent as Enter
// released in a field, then many plain paints with both wheels and the
// texts showing. Wine's GDI table holds about 65,000 objects, so one pen or
// font lost per paint would leave later paints without their pens and
// fonts well before the end, and the final drawing would be wrong.
TEST_F(DiagramTest, ThousandsOfRefreshesAndPaintsKeepDrawing) {
    struct Step {
        int id;
        const char* text;
    };
    // About a third leave the four inputs invalid, which skips the settings
    // writes that make up most of a refresh's time.
    const Step steps[] = {
        {IDC_OUT_OFFSET, "30"}, {IDC_OUT_RIM, ""},      {IDC_OUT_OFFSET, "150"}, {IDC_OUT_RIM, "8"},
        {IDC_IN_IN, "130"},     {IDC_IN_OFFSET, ""},    {IDC_IN_IN, "10"},       {IDC_IN_OFFSET, "48"},
        {IDC_OUT_OFFSET, "abc"}, {IDC_IN_RIM, ""},      {IDC_OUT_OFFSET, "-40"}, {IDC_IN_RIM, "7"},
        {IDC_IN_IN, "1e300"},   {IDC_IN_IN, "10"},      {IDC_OUT_OFFSET, "50"},  {IDC_OUT_RIM, "225"},
        {IDC_OUT_RIM, "8"},
    };
    constexpr int kRefreshes = 20000;
    DWORD started = GetTickCount();
    for (int n = 0; n < kRefreshes; ++n) {
        const Step& step = steps[n % std::size(steps)];
        ASSERT_TRUE(app_.SetControlText(step.id, step.text)) << "refresh " << n;
        ASSERT_TRUE(SendKeyUpEnter(step.id)) << "refresh " << n;
    }
    std::printf("%d refreshes in %lu ms\n", kRefreshes, static_cast<unsigned long>(GetTickCount() - started));
    ASSERT_TRUE(app_.Running());
    ASSERT_TRUE(Enter("7", "48", "10", "8", "30"));
    const Wheel targetAt30{209, 310, kRed};
    EXPECT_EQ("", WaitForDrawing(Drawing({kReferenceWheel, targetAt30}), kWheelBand));

    // The paint a refresh ends with, alone: no settings writes.
    constexpr int kPaints = 70000;
    started = GetTickCount();
    for (int n = 0; n < kPaints; ++n) {
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutA(app_.Window(), WM_PAINT, 0, 0, SMTO_ABORTIFHUNG, e2e::kTimeoutMs, &result))
            << "paint " << n;
    }
    std::printf("%d paints in %lu ms\n", kPaints, static_cast<unsigned long>(GetTickCount() - started));
    ASSERT_TRUE(Enter("7", "48", "10", "8", "50"));
    EXPECT_EQ("", WaitForDrawing(Drawing({kReferenceWheel, kTargetAt50}), kWheelBand));
    EXPECT_GT(last_.Count({kTextOuterX, kTextRow2Y, kPictureWidth, kTextRow2Y + kTextCellHeight + 2}, kTextInk), 0);
}

}  // namespace
