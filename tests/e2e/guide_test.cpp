// The worked examples of the user's guide in the real window: each one set
// up by clicking and typing as a user would, its target offset and its three
// drawn differences read back and compared with the guide's table, and a
// picture of the window saved for the guide. tools/pictures guide runs this
// alone and copies the pictures into docs/screenshots/.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "diagram/diagram_geometry.h"
#include "resources/resource.h"
#include "tests/core/guide_examples.h"
#include "tests/e2e/driver.h"

namespace {

using e2e::App;
using e2e::Capture;
using e2e::Color;

constexpr Color kTextInk{70, 70, 70};
constexpr Color kGrey{100, 100, 100};
constexpr Color kRed{255, 0, 0};
constexpr int kProbeRow = 100;  // a row through both wheels' upright sides

// The diagram's captions, UTF-8.
const std::string kCaptionCurrent = "\xe7\x8f\xbe\xe7\x8a\xb6\xe3\x81\xa8\xe3\x81\xae\xe5\xb7\xae\xe7\x95\xb0";
const std::string kCaptionFender =
    "\xef\xbe\x8c\xef\xbd\xaa\xef\xbe\x9d\xef\xbe\x80\xef\xbe\x9e\xef\xbd\xb0\xe3\x81\xa8\xe3\x81\xae\xe5\xb7\xae";
// "ＭＳ Ｐゴシック" in code page 932, as the program names its font.
const char kFontFace[] = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";

std::string GuidePath() { return RIMBEACON_DOCS_DIR "/guide-ja.md"; }

class GuideExamples : public ::testing::Test {
protected:
    void SetUp() override {
        background_ = Capture::ProgramBitmap(IDB_BACKGROUND);
        ASSERT_FALSE(background_.Empty()) << "bitmap " << IDB_BACKGROUND << " of " << e2e::ProgramPath();
        ASSERT_TRUE(app_.Start(dir_.Path())) << app_.Error();
    }

    HWND Edit(int id) const { return app_.Control(id); }

    // A click into the edit, the whole text selected, the new text typed.
    void Type(int id, const std::string& text) {
        if (e2e::FocusedControl(app_.Window()) != Edit(id)) {
            ASSERT_TRUE(e2e::ClickAt(Edit(id), e2e::CenterOf(Edit(id))));
            ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::FocusedControl(app_.Window()) == Edit(id); }))
                << "edit " << id << " did not get the focus";
        }
        e2e::SetSelection(Edit(id), 0, -1);
        e2e::TypeText(text);
        ASSERT_TRUE(app_.WaitForText(id, text)) << "edit " << id << " shows \"" << app_.Text(id) << "\"";
    }

    // The picture with the texts the diagram draws for `ex`, made with the
    // program's font, ink and placement.
    Capture ExpectedTexts(const guide::Example& ex) const {
        HFONT font = CreateFontA(kTextCellHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kFontFace);
        Capture expected = background_.WithText({kTextCaptionX, kTextRow1Y}, kCaptionCurrent, font, kTextInk)
                               .WithText({kTextInnerX, kTextRow1Y}, ex.inner, font, kTextInk)
                               .WithText({kTextOuterX, kTextRow1Y}, ex.outer, font, kTextInk)
                               .WithText({kTextCaptionX, kTextRow2Y}, kCaptionFender, font, kTextInk)
                               .WithText({kTextOuterX, kTextRow2Y}, ex.fender, font, kTextInk);
        DeleteObject(font);
        return expected;
    }

    // Compares the value band (inside the picture, the fender line's column
    // left out) with `expected`; empty when alike, else where they differ.
    static std::string ValueBandMismatch(const Capture& shot, const Capture& expected) {
        const int right = std::min({kValueBandRight, expected.Width(), shot.Width()});
        const int bottom = std::min({kValueBandBottom, expected.Height(), shot.Height()});
        int count = 0;
        std::string first;
        for (int y = kValueBandTop; y < bottom; ++y) {
            for (int x = kValueBandLeft; x < right; ++x) {
                if (x == kFenderX || shot.At(x, y) == expected.At(x, y)) continue;
                if (count++ == 0) {
                    first = "(" + std::to_string(x) + "," + std::to_string(y) + ") is " +
                            e2e::ToString(shot.At(x, y)) + ", want " + e2e::ToString(expected.At(x, y));
                }
            }
        }
        return count == 0 ? std::string() : std::to_string(count) + " pixels differ, first " + first;
    }

    // Numbered marks for the labelled copy of the picture, in pixels of the
    // whole-window screenshot, in the order the guide explains them.
    bool WriteMarks(const std::string& name) const {
        const HWND window = app_.Window();
        const RECT frame = e2e::WindowRect(window);
        const RECT client = e2e::ClientRectOnScreen(window);
        const int dx = client.left - frame.left;
        const int dy = client.top - frame.top;
        auto rightOf = [&](int id) {
            const RECT r = e2e::RectInClient(window, app_.Control(id));
            return POINT{dx + r.right + 6, dy + (r.top + r.bottom) / 2};
        };
        // The five fields' marks in one column, right of the widest unit.
        const int unitIds[] = {IDC_IN_RIM_UNIT, IDC_IN_OFFSET_UNIT, IDC_IN_IN_UNIT, IDC_OUT_RIM_UNIT,
                               IDC_OUT_OFFSET_UNIT};
        int column = 0;
        for (int id : unitIds) column = std::max<int>(column, rightOf(id).x);
        auto fieldMark = [&](int id) { return POINT{column, rightOf(id).y}; };
        auto leftOf = [&](int id) {
            const RECT r = e2e::RectInClient(window, app_.Control(id));
            return POINT{dx + r.left - 8, dy + (r.top + r.bottom) / 2};
        };
        auto centreOf = [&](int id) {
            const RECT r = e2e::RectInClient(window, app_.Control(id));
            return POINT{dx + (r.left + r.right) / 2, dy + (r.top + r.bottom) / 2};
        };
        // The wheels' left sides where row kProbeRow crosses them.
        const Capture shot = e2e::StableClient(window);
        int greyLeft = -1;
        int redLeft = -1;
        for (int x = shot.Width() - 1; x >= 0; --x) {
            if (shot.At(x, kProbeRow) == kGrey) greyLeft = x;
            if (shot.At(x, kProbeRow) == kRed) redLeft = x;
        }
        if (greyLeft < 0 || redLeft < 0) return false;
        const POINT marks[] = {
            fieldMark(IDC_IN_RIM_UNIT),
            fieldMark(IDC_IN_OFFSET_UNIT),
            fieldMark(IDC_IN_IN_UNIT),
            fieldMark(IDC_OUT_RIM_UNIT),
            fieldMark(IDC_OUT_OFFSET_UNIT),
            leftOf(IDC_OPTIMAL_LINK),
            centreOf(IDC_OUT_RIM_SPIN),
            {dx + kTextInnerX + 12, dy + kTextRow1Y - 7},
            {dx + kTextOuterX + 12, dy + kTextRow1Y - 7},
            {dx + kTextOuterX - 10, dy + kTextRow2Y + 5},
            {dx + greyLeft + 10, dy + kProbeRow},
            {dx + redLeft - 9, dy + kProbeRow},
            {dx + kFenderX + 10, dy + kFenderTop + 8},
            rightOf(IDC_TOPMOST),
            {e2e::Width(frame) / 2, dy / 2},
        };
        FILE* f = std::fopen((e2e::ScreenshotFolder() + "\\" + name).c_str(), "wb");
        if (!f) return false;
        int number = 0;
        for (const POINT& p : marks) std::fprintf(f, "%d %ld %ld\n", ++number, p.x, p.y);
        return std::fclose(f) == 0;
    }

    Capture background_;
    e2e::TempDir dir_;
    App app_;
};

TEST_F(GuideExamples, WindowShowsTheGuidesNumbers) {
    std::string text;
    ASSERT_TRUE(guide::ReadFile(GuidePath(), &text)) << GuidePath();
    std::vector<guide::Example> examples;
    std::string error;
    ASSERT_TRUE(guide::ParseExamples(text, &examples, &error)) << error;
    ASSERT_FALSE(examples.empty());

    for (const guide::Example& ex : examples) {
        SCOPED_TRACE("example " + std::to_string(ex.number));
        Type(IDC_IN_RIM, ex.inRim);
        Type(IDC_IN_OFFSET, ex.inOffset);
        Type(IDC_IN_IN, ex.inIn);
        Type(IDC_OUT_RIM, ex.outRim);
        if (ex.typedOffset.empty()) {
            HWND link = app_.Control(IDC_OPTIMAL_LINK);
            ASSERT_TRUE(e2e::ClickAt(link, e2e::CenterOf(link)));
        } else {
            Type(IDC_OUT_OFFSET, ex.typedOffset);
            e2e::PressKey(VK_RETURN);
        }
        if (HasFatalFailure()) return;
        EXPECT_TRUE(app_.WaitForText(IDC_OUT_OFFSET, ex.shownOffset))
            << "the target offset shows \"" << app_.Text(IDC_OUT_OFFSET) << "\"";

        const Capture expected = ExpectedTexts(ex);
        ASSERT_FALSE(expected.Empty());
        std::string mismatch;
        const bool shown = e2e::WaitUntil([&] {
            mismatch = ValueBandMismatch(Capture::Client(app_.Window()), expected);
            return mismatch.empty();
        });
        EXPECT_TRUE(shown) << "the differences drawn are not " << ex.inner << " / " << ex.outer << " / "
                           << ex.fender << ": " << mismatch;

        const std::string picture = "guide-example-" + std::to_string(ex.number);
        const std::string path = e2e::SaveScreenshot(app_.Window(), picture, true);
        EXPECT_FALSE(path.empty()) << picture;
        if (ex.number == 1) {
            EXPECT_TRUE(WriteMarks("guide-marks.txt"));
        }
        std::printf("%s: %s\n", picture.c_str(), path.c_str());
    }
}

}  // namespace
