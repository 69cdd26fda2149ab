// The main window of the real Rimbeacon.exe, driven like a user would: key
// strokes and mouse clicks through SendInput, texts and the settings file
// read back, pixels read from the screen. Each case runs the program in a
// fresh working directory of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/driver.h"
#include "tests/support/test_text.h"

namespace {

using e2e::App;
using e2e::Capture;
using e2e::Color;
using e2e::Selection;

const int kEdits[] = {IDC_IN_RIM, IDC_IN_OFFSET, IDC_IN_IN, IDC_OUT_RIM, IDC_OUT_OFFSET};

// The layout is made for a client area as large as the background picture.
constexpr int kPictureWidth = 369;
constexpr int kPictureHeight = 230;
// Everything right of this column is diagram (no controls in the band the
// wheels and values occupy).
constexpr int kDiagramLeft = 190;

constexpr Color kLinkInk{150, 0, 0};
constexpr Color kHeadingInk{0, 0, 100};
constexpr Color kGreyWheel{100, 100, 100};
constexpr Color kRedWheel{255, 0, 0};

class MainWindow : public ::testing::Test {
protected:
    void Start(const std::string& settings = std::string()) {
        if (!settings.empty()) {
            ASSERT_TRUE(dir_.WriteFile(e2e::kSettingsFile, settings));
        }
        ASSERT_TRUE(app_.Start(dir_.Path())) << app_.Error();
    }

    HWND Edit(int id) const { return app_.Control(id); }

    std::string Settings() const {
        std::string text;
        dir_.ReadFile(e2e::kSettingsFile, &text);
        return text;
    }

    // Value of a key in the settings file, "<missing>" when absent.
    std::string Setting(const std::string& key) const {
        return e2e::SettingValue(dir_.File(e2e::kSettingsFile), key);
    }

    bool WaitForSetting(const std::string& key, const std::string& value) const {
        return e2e::WaitUntil([&] { return Setting(key) == value; });
    }

    // Puts the keyboard focus into an edit with a click.
    void Focus(int id) {
        if (e2e::FocusedControl(app_.Window()) == Edit(id)) return;
        ASSERT_TRUE(e2e::ClickAt(Edit(id), e2e::CenterOf(Edit(id))));
        ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::FocusedControl(app_.Window()) == Edit(id); }))
            << "edit " << id << " did not get the focus";
    }

    // Replaces the text of an edit by typing: focus, select all, type (an
    // empty text: Delete). Waits until the edit shows it.
    void Type(int id, const std::string& text) {
        Focus(id);
        if (HasFatalFailure()) return;
        e2e::SetSelection(Edit(id), 0, -1);
        if (text.empty()) {
            e2e::PressKey(VK_DELETE);
        } else {
            e2e::TypeText(text);
        }
        ASSERT_TRUE(app_.WaitForText(id, text)) << "edit " << id << " shows \"" << app_.Text(id) << "\"";
    }

    void PressEnterIn(int id) {
        Focus(id);
        if (HasFatalFailure()) return;
        e2e::PressKey(VK_RETURN);
    }

    // The part of the client area right of the controls, as the screen shows
    // it once the drawing has settled.
    Capture Diagram() const {
        Capture whole = e2e::StableClient(app_.Window());
        return whole;
    }

    static bool SameDiagram(const Capture& a, const Capture& b) {
        if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
        for (int y = 0; y < a.Height(); ++y) {
            for (int x = kDiagramLeft; x < a.Width(); ++x) {
                if (a.At(x, y) != b.At(x, y)) return false;
            }
        }
        return true;
    }

    // First pixel of the diagram part where two captures differ, for messages.
    static std::string FirstDifference(const Capture& a, const Capture& b) {
        for (int y = 0; y < a.Height() && y < b.Height(); ++y) {
            for (int x = kDiagramLeft; x < a.Width() && x < b.Width(); ++x) {
                if (a.At(x, y) != b.At(x, y)) {
                    return "(" + std::to_string(x) + "," + std::to_string(y) + ") " + e2e::ToString(a.At(x, y)) +
                           " -> " + e2e::ToString(b.At(x, y));
                }
            }
        }
        return "none";
    }

    bool WaitForDiagramChange(const Capture& before) const {
        return e2e::WaitUntil([&] { return !SameDiagram(e2e::Capture::Client(app_.Window()), before); });
    }

    e2e::TempDir dir_;
    App app_;
};

// ------------------------------------------------------------ start

TEST_F(MainWindow, StartsWithTheDefaultsAndStoresTheFourInputs) {
    Start();
    EXPECT_EQ(app_.Text(IDC_IN_RIM), "6.5");
    EXPECT_EQ(app_.Text(IDC_IN_OFFSET), "45");
    EXPECT_EQ(app_.Text(IDC_IN_IN), "20");
    EXPECT_EQ(app_.Text(IDC_OUT_RIM), "7");
    EXPECT_EQ(app_.Text(IDC_OUT_OFFSET), "31");
    EXPECT_EQ(e2e::GetText(app_.Window()), "Rimbeacon");

    std::string settings = Settings();
    EXPECT_EQ(e2e::SettingKeys(dir_.File(e2e::kSettingsFile)), (std::vector<std::string>{"InRim", "InOffset", "InIn", "OutRim"}))
        << settings;
    EXPECT_EQ(Setting("InRim"), "6.5");
    EXPECT_EQ(Setting("InOffset"), "45");
    EXPECT_EQ(Setting("InIn"), "20");
    EXPECT_EQ(Setting("OutRim"), "7");

    EXPECT_EQ(e2e::ExStyle(app_.Window()) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(e2e::CheckState(app_.Control(IDC_TOPMOST)), BST_UNCHECKED);
}

TEST_F(MainWindow, StartsWithTheStoredInputs) {
    Start("[Rimbeacon]\r\nInRim=7\r\nInOffset=48\r\nInIn=10\r\nOutRim=8\r\n");
    EXPECT_EQ(app_.Text(IDC_IN_RIM), "7");
    EXPECT_EQ(app_.Text(IDC_IN_OFFSET), "48");
    EXPECT_EQ(app_.Text(IDC_IN_IN), "10");
    EXPECT_EQ(app_.Text(IDC_OUT_RIM), "8");
    EXPECT_EQ(app_.Text(IDC_OUT_OFFSET), "50");  // optimal offset 50.7, truncated
}

// ------------------------------------------------------------ keys

TEST_F(MainWindow, TabLeavesAFieldWithoutRefreshingAndEnterRefreshes) {
    Start();
    std::string settings = Settings();
    Capture before = Diagram();

    Type(IDC_IN_RIM, "9");
    e2e::PressKey(VK_TAB);
    // The focus moving on is the Tab's own effect: the key has been handled.
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::FocusedControl(app_.Window()) == Edit(IDC_IN_OFFSET); }));
    EXPECT_EQ(Settings(), settings);
    EXPECT_EQ(app_.Text(IDC_OUT_OFFSET), "31");
    Capture after = Diagram();
    EXPECT_TRUE(SameDiagram(after, before)) << "the diagram changed without a refresh: "
                                            << FirstDifference(before, after);

    // Enter in the next field refreshes with everything typed so far; the
    // target offset the user sees is kept.
    e2e::PressKey(VK_RETURN);
    EXPECT_TRUE(WaitForSetting("InRim", "9")) << Settings();
    EXPECT_TRUE(WaitForDiagramChange(before));
    EXPECT_EQ(app_.Text(IDC_OUT_OFFSET), "31");
    EXPECT_TRUE(IsWindow(app_.Window()));
}

TEST_F(MainWindow, EnterInEachFieldRefreshesAndNeverCloses) {
    Start();
    struct Case {
        int id;
        const char* key;
        const char* text;
    };
    const Case cases[] = {
        {IDC_IN_RIM, "InRim", "7.5"},
        {IDC_IN_OFFSET, "InOffset", "40"},
        {IDC_IN_IN, "InIn", "15"},
        {IDC_OUT_RIM, "OutRim", "8"},
    };
    for (const Case& c : cases) {
        Type(c.id, c.text);
        e2e::PressKey(VK_RETURN);
        EXPECT_TRUE(WaitForSetting(c.key, c.text)) << c.key << " after Enter: " << Settings();
    }
    // Enter in the target offset field refreshes too: with the target field
    // emptied, the refresh fills in the optimal offset again.
    // 7.5 / 40 / 15, target 8: (203.2 - 190.5) / 2 + 40 - 15 = 31.35
    Type(IDC_OUT_OFFSET, "");
    e2e::PressKey(VK_RETURN);
    EXPECT_TRUE(app_.WaitForText(IDC_OUT_OFFSET, "31"));

    // The key releases after Enter's press were handled, so a close would
    // have happened by now.
    ASSERT_TRUE(e2e::SyncInput(Edit(IDC_OUT_OFFSET)));
    EXPECT_TRUE(app_.Running());
    EXPECT_TRUE(IsWindowVisible(app_.Window()));
}

TEST_F(MainWindow, EscapeClosesWithExitCodeZero) {
    Start();
    e2e::PressKey(VK_ESCAPE);
    DWORD code = 1;
    ASSERT_TRUE(app_.WaitForExit(&code)) << "Esc did not end the program";
    EXPECT_EQ(code, 0u);
}

TEST_F(MainWindow, CloseBoxClosesWithExitCodeZero) {
    Start();
    // The close box: the rightmost point of the caption row that the window
    // itself reports as HTCLOSE.
    RECT w = e2e::WindowRect(app_.Window());
    RECT c = e2e::ClientRectOnScreen(app_.Window());
    POINT center{-1, (w.top + c.top) / 2};
    for (int x = w.right - 1; x > w.left && center.x < 0; --x) {
        DWORD_PTR hit = 0;
        SendMessageTimeoutA(app_.Window(), WM_NCHITTEST, 0, MAKELPARAM(x, center.y), SMTO_ABORTIFHUNG,
                            e2e::kTimeoutMs, &hit);
        if (hit == HTCLOSE) center.x = x - 4;
    }
    ASSERT_GE(center.x, 0) << "no close box in the caption";
    ASSERT_TRUE(e2e::MoveMouseTo(center));
    e2e::MouseDown(center);
    e2e::MouseUp(center);
    DWORD code = 1;
    ASSERT_TRUE(app_.WaitForExit(&code)) << "the close box did not end the program";
    EXPECT_EQ(code, 0u);
}

// ------------------------------------------------------------ target offset

TEST_F(MainWindow, TargetOffsetTypedByTheUserSurvivesEnterUntilTheLinkIsClicked) {
    Start();
    Capture before = Diagram();
    Type(IDC_OUT_OFFSET, "40");
    e2e::PressKey(VK_RETURN);
    // The red wheel moves inboard: the refresh has run.
    EXPECT_TRUE(WaitForDiagramChange(before));
    ASSERT_TRUE(e2e::SyncInput(Edit(IDC_OUT_OFFSET)));
    EXPECT_EQ(app_.Text(IDC_OUT_OFFSET), "40");
    EXPECT_EQ(Setting("OutOffset"), "<missing>") << "the target offset is never stored";

    HWND link = app_.Control(IDC_OPTIMAL_LINK);
    ASSERT_TRUE(e2e::ClickAt(link, e2e::CenterOf(link)));
    EXPECT_TRUE(app_.WaitForText(IDC_OUT_OFFSET, "31"));
}

TEST_F(MainWindow, EmptyTargetOffsetIsFilledByEnterInAnotherField) {
    Start();
    Type(IDC_OUT_OFFSET, "");
    Type(IDC_IN_OFFSET, "50");  // optimal offset 36.35
    e2e::PressKey(VK_RETURN);
    EXPECT_TRUE(app_.WaitForText(IDC_OUT_OFFSET, "36"));
    EXPECT_TRUE(WaitForSetting("InOffset", "50"));
}

TEST_F(MainWindow, LinkFillsTheTargetOffsetEvenWhenInputsAreInvalid) {
    Start();
    std::string settings = Settings();
    Type(IDC_IN_IN, "abc");  // reads 0: optimal offset 51.35
    Type(IDC_OUT_OFFSET, "7");
    HWND link = app_.Control(IDC_OPTIMAL_LINK);
    ASSERT_TRUE(e2e::ClickAt(link, e2e::CenterOf(link)));
    EXPECT_TRUE(app_.WaitForText(IDC_OUT_OFFSET, "51"));
    EXPECT_EQ(Settings(), settings) << "invalid inputs were stored";
}

// ------------------------------------------------------------ spinners

TEST_F(MainWindow, TargetOffsetSpinnerAndUpKeyStepByOne) {
    Start();
    Capture before = Diagram();
    ASSERT_TRUE(e2e::ClickSpinner(app_.Control(IDC_OUT_OFFSET_SPIN), true));
    EXPECT_TRUE(app_.WaitForText(IDC_OUT_OFFSET, "32"));
    // The refresh takes 32 as the target: the red wheel moves.
    EXPECT_TRUE(WaitForDiagramChange(before));

    Type(IDC_OUT_OFFSET, "31");
    e2e::PressKey(VK_UP);
    EXPECT_TRUE(app_.WaitForText(IDC_OUT_OFFSET, "32"));
    // The key, like the arrow, leaves the field's whole text selected.
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::GetSelection(Edit(IDC_OUT_OFFSET)) == Selection{0, 2}; }))
        << "after the Up key the field's whole text is not selected";
    ASSERT_TRUE(e2e::SyncInput(Edit(IDC_OUT_OFFSET)));
    EXPECT_EQ(app_.Text(IDC_OUT_OFFSET), "32");
}

// On a text that is no whole number from -512 to 512 the stepper goes on
// from where it stood after its last step, as the shared expectations say
// (the browser edition's steppers are held to the same rows).
TEST_F(MainWindow, TargetOffsetSpinnerOnOtherTextsGoesOnFromItsLastStep) {
    const std::vector<std::vector<std::string>> rows = test::SharedRows("spin");
    ASSERT_FALSE(rows.empty()) << "the shared expectations " RIMBEACON_SHARED_EXPECTATIONS;
    Start();
    for (const std::vector<std::string>& row : rows) {
        ASSERT_EQ(3u, row.size());
        SCOPED_TRACE("[" + row[0] + "] " + row[1]);
        app_.SetControlText(IDC_OUT_OFFSET, row[0]);
        Focus(IDC_OUT_OFFSET);
        ASSERT_TRUE(e2e::ClickSpinner(app_.Control(IDC_OUT_OFFSET_SPIN), row[1] == "up"));
        // The arrow selects the field's text once its refresh is done.
        const Selection whole{0, static_cast<int>(row[2].size())};
        EXPECT_TRUE(e2e::WaitUntil([&] { return app_.Text(IDC_OUT_OFFSET) == row[2] && e2e::GetSelection(Edit(IDC_OUT_OFFSET)) == whole; }))
            << "shows [" << app_.Text(IDC_OUT_OFFSET) << "]";
        ASSERT_TRUE(e2e::SyncInput(Edit(IDC_OUT_OFFSET)));
        EXPECT_EQ(row[2], app_.Text(IDC_OUT_OFFSET));
    }
}

TEST_F(MainWindow, EmptyTargetOffsetKeepsWhatItsOwnSpinnerWrites) {
    Start();
    Type(IDC_OUT_OFFSET, "");
    ASSERT_TRUE(e2e::ClickSpinner(app_.Control(IDC_OUT_OFFSET_SPIN), true));
    std::string written;
    ASSERT_TRUE(e2e::WaitUntil([&] {
        written = app_.Text(IDC_OUT_OFFSET);
        return !written.empty();
    }));
    ASSERT_TRUE(e2e::SyncInput(Edit(IDC_OUT_OFFSET)));
    EXPECT_NE(written, "31") << "the spinner's number was replaced by the optimal offset";
    EXPECT_EQ(app_.Text(IDC_OUT_OFFSET), written);
}

TEST_F(MainWindow, ReferenceOffsetSpinnerStepsTheIntegerAndRefreshes) {
    Start();
    // The field has the focus already, so only the arrow can select its text.
    Focus(IDC_IN_OFFSET);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::GetSelection(Edit(IDC_IN_OFFSET)) == Selection{0, 2}; }));
    e2e::SetSelection(Edit(IDC_IN_OFFSET), 1, 1);
    ASSERT_TRUE(e2e::ClickSpinner(app_.Control(IDC_IN_OFFSET_SPIN), true));
    EXPECT_TRUE(app_.WaitForText(IDC_IN_OFFSET, "46"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::GetSelection(Edit(IDC_IN_OFFSET)) == Selection{0, 2}; }))
        << "after the arrow the field's whole text is not selected";
    EXPECT_TRUE(WaitForSetting("InOffset", "46"));
    EXPECT_EQ(app_.Text(IDC_OUT_OFFSET), "31") << "the target offset typed or shown is kept";

    ASSERT_TRUE(e2e::ClickSpinner(app_.Control(IDC_IN_OFFSET_SPIN), false));
    ASSERT_TRUE(e2e::ClickSpinner(app_.Control(IDC_IN_OFFSET_SPIN), false));
    EXPECT_TRUE(app_.WaitForText(IDC_IN_OFFSET, "44"));
    EXPECT_TRUE(WaitForSetting("InOffset", "44"));

    // The step starts from what the field shows, also when the user typed it.
    Type(IDC_IN_IN, "-3");
    ASSERT_TRUE(e2e::ClickSpinner(app_.Control(IDC_IN_IN_SPIN), false));
    EXPECT_TRUE(app_.WaitForText(IDC_IN_IN, "-4"));
    EXPECT_TRUE(WaitForSetting("InIn", "-4"));
}

TEST_F(MainWindow, WidthSpinnersStepInchesAndMillimetres) {
    Start();
    HWND inSpin = app_.Control(IDC_IN_RIM_SPIN);
    HWND outSpin = app_.Control(IDC_OUT_RIM_SPIN);

    Focus(IDC_IN_RIM);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::GetSelection(Edit(IDC_IN_RIM)) == Selection{0, 3}; }));
    e2e::SetSelection(Edit(IDC_IN_RIM), 1, 1);
    ASSERT_TRUE(e2e::ClickSpinner(inSpin, true));
    EXPECT_TRUE(app_.WaitForText(IDC_IN_RIM, "7.0"));
    EXPECT_TRUE(WaitForSetting("InRim", "7.0"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::GetSelection(Edit(IDC_IN_RIM)) == Selection{0, 3}; }))
        << "after the arrow the field's whole text is not selected";

    Type(IDC_IN_RIM, "7.3");
    ASSERT_TRUE(e2e::ClickSpinner(inSpin, false));
    EXPECT_TRUE(app_.WaitForText(IDC_IN_RIM, "6.5"));
    EXPECT_TRUE(WaitForSetting("InRim", "6.5"));

    Type(IDC_OUT_RIM, "203");
    ASSERT_TRUE(e2e::ClickSpinner(outSpin, true));
    EXPECT_TRUE(app_.WaitForText(IDC_OUT_RIM, "205"));
    EXPECT_TRUE(WaitForSetting("OutRim", "205"));

    Type(IDC_OUT_RIM, "498");
    ASSERT_TRUE(e2e::ClickSpinner(outSpin, true));
    EXPECT_TRUE(app_.WaitForText(IDC_OUT_RIM, "500"));
    EXPECT_TRUE(WaitForSetting("OutRim", "500"));
    ASSERT_TRUE(e2e::ClickSpinner(outSpin, true));
    ASSERT_TRUE(e2e::SyncInput(Edit(IDC_OUT_RIM)));
    EXPECT_EQ(app_.Text(IDC_OUT_RIM), "500") << "500 is the ceiling";
    EXPECT_EQ(Setting("OutRim"), "500");
    EXPECT_EQ(app_.Text(IDC_OUT_OFFSET), "31") << "the shown target offset is kept";
}

TEST_F(MainWindow, UpAndDownKeysInAWidthFieldStepLikeTheSpinner) {
    Start();
    Focus(IDC_OUT_RIM);
    e2e::PressKey(VK_UP);
    EXPECT_TRUE(app_.WaitForText(IDC_OUT_RIM, "7.5"));
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::GetSelection(Edit(IDC_OUT_RIM)) == Selection{0, 3}; }))
        << "after the Up key the field's whole text is not selected";
    e2e::PressKey(VK_DOWN);
    e2e::PressKey(VK_DOWN);
    EXPECT_TRUE(app_.WaitForText(IDC_OUT_RIM, "6.5"));
    EXPECT_TRUE(WaitForSetting("OutRim", "6.5"));
}

// ------------------------------------------------------------ editing

TEST_F(MainWindow, ClickingIntoAFieldSelectsAllOfItsText) {
    Start();
    // The first field has the focus at start: it comes last, after the
    // focus has moved away from it.
    const int order[] = {IDC_IN_OFFSET, IDC_IN_IN, IDC_OUT_RIM, IDC_OUT_OFFSET, IDC_IN_RIM};
    for (int id : order) {
        HWND edit = Edit(id);
        ASSERT_NE(e2e::FocusedControl(app_.Window()), edit);
        e2e::SetSelection(edit, 1, 1);
        ASSERT_EQ(e2e::GetSelection(edit), (Selection{1, 1}));
        int length = static_cast<int>(app_.Text(id).size());
        ASSERT_TRUE(e2e::ClickAt(edit, e2e::CenterOf(edit)));
        EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::GetSelection(edit) == Selection{0, length}; }))
            << "edit " << id << " selection " << e2e::GetSelection(edit).start << ","
            << e2e::GetSelection(edit).end;
    }
}

TEST_F(MainWindow, ClearedReferenceOffsetIsNotStoredAndRemovesTheWheels) {
    Start();
    ASSERT_TRUE(e2e::WaitUntil([&] { return dir_.Exists(e2e::kSettingsFile); }));
    std::string settings = Settings();
    Type(IDC_IN_OFFSET, "");
    e2e::PressKey(VK_RETURN);
    // Both wheels disappear from the wheel band: the refresh has run.
    RECT band{170, 50, kPictureWidth, 152};
    EXPECT_TRUE(e2e::WaitUntil([&] {
        Capture c = Capture::Client(app_.Window());
        return c.Count(band, kGreyWheel) == 0 && c.Count(band, kRedWheel) == 0;
    })) << "a wheel is still drawn";
    ASSERT_TRUE(e2e::SyncInput(Edit(IDC_IN_OFFSET)));
    EXPECT_EQ(Settings(), settings) << "the settings file changed";
    EXPECT_EQ(app_.Text(IDC_OUT_OFFSET), "31");
}

// ------------------------------------------------------------ window

TEST_F(MainWindow, AlwaysOnTopIsAppliedStoredAndRestored) {
    Start();
    HWND box = app_.Control(IDC_TOPMOST);
    ASSERT_TRUE(e2e::ClickAt(box, e2e::CenterOf(box)));
    EXPECT_TRUE(e2e::WaitUntil([&] { return (e2e::ExStyle(app_.Window()) & WS_EX_TOPMOST) != 0; }));
    EXPECT_TRUE(WaitForSetting("TopMost", "1"));
    EXPECT_EQ(e2e::CheckState(box), BST_CHECKED);

    e2e::PressKey(VK_ESCAPE);
    DWORD code = 1;
    ASSERT_TRUE(app_.WaitForExit(&code));
    app_.Stop();

    Start();
    box = app_.Control(IDC_TOPMOST);
    EXPECT_NE(e2e::ExStyle(app_.Window()) & WS_EX_TOPMOST, 0) << "not on top after a restart";
    EXPECT_EQ(e2e::CheckState(box), BST_CHECKED);

    ASSERT_TRUE(e2e::ClickAt(box, e2e::CenterOf(box)));
    EXPECT_TRUE(e2e::WaitUntil([&] { return (e2e::ExStyle(app_.Window()) & WS_EX_TOPMOST) == 0; }));
    EXPECT_TRUE(WaitForSetting("TopMost", "0"));
    EXPECT_EQ(e2e::CheckState(box), BST_UNCHECKED);
}

TEST_F(MainWindow, StoredTopMostPutsTheWindowOnTop) {
    Start("[Rimbeacon]\r\nTopMost=1\r\n");
    EXPECT_NE(e2e::ExStyle(app_.Window()) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(e2e::CheckState(app_.Control(IDC_TOPMOST)), BST_CHECKED);
}

// A point of the client area that no control covers: clicks there reach the
// dialog itself.
constexpr POINT kBackgroundPoint{340, 215};

TEST_F(MainWindow, CaptionDoubleClickRollsUpAndRestoresAlsoAfterAMove) {
    Start();
    HWND window = app_.Window();
    RECT full = e2e::WindowRect(window);
    RECT client{};
    GetClientRect(window, &client);
    ASSERT_GT(e2e::Height(client), 0);

    ASSERT_TRUE(e2e::DoubleClickCaption(window));
    ASSERT_TRUE(e2e::WaitUntil([&] {
        RECT c{};
        GetClientRect(window, &c);
        return e2e::Height(c) == 0;
    })) << "not rolled up";
    RECT rolled = e2e::WindowRect(window);
    EXPECT_EQ(e2e::Height(rolled), e2e::Height(full) - e2e::Height(client));
    EXPECT_EQ(rolled.left, full.left);
    EXPECT_EQ(rolled.top, full.top);
    EXPECT_EQ(e2e::Width(rolled), e2e::Width(full));

    ASSERT_TRUE(e2e::DoubleClickCaption(window));
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::Height(e2e::WindowRect(window)) == e2e::Height(full); }))
        << "not restored";

    // Moved by dragging, rolled up and down again: the full height returns
    // at the new place.
    ASSERT_TRUE(e2e::DragAt(window, kBackgroundPoint, -40, -30));
    ASSERT_TRUE(e2e::WaitUntil([&] {
        RECT w = e2e::WindowRect(window);
        return w.left == full.left - 40 && w.top == full.top - 30;
    })) << "dragged from " << full.left << "," << full.top << " by -40,-30 to " << e2e::WindowRect(window).left
        << "," << e2e::WindowRect(window).top;
    ASSERT_TRUE(e2e::DoubleClickCaption(window));
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::Height(e2e::WindowRect(window)) < e2e::Height(full); }));
    ASSERT_TRUE(e2e::DoubleClickCaption(window));
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::Height(e2e::WindowRect(window)) == e2e::Height(full); }));
    RECT back = e2e::WindowRect(window);
    EXPECT_EQ(back.left, full.left - 40);
    EXPECT_EQ(back.top, full.top - 30);
    EXPECT_EQ(e2e::Width(back), e2e::Width(full));
}

TEST_F(MainWindow, DraggingTheBackgroundMovesTheWindowButDraggingTheLinkDoesNot) {
    Start();
    HWND window = app_.Window();
    POINT background = kBackgroundPoint;
    ASSERT_EQ(ChildWindowFromPointEx(window, background, CWP_SKIPINVISIBLE), window)
        << "a control covers the background point";
    RECT start = e2e::WindowRect(window);
    ASSERT_TRUE(e2e::DragAt(window, background, -50, -20));
    EXPECT_TRUE(e2e::WaitUntil([&] {
        RECT w = e2e::WindowRect(window);
        return w.left == start.left - 50 && w.top == start.top - 20;
    })) << "dragged from " << start.left << "," << start.top << " by -50,-20 to " << e2e::WindowRect(window).left
        << "," << e2e::WindowRect(window).top;
    RECT moved = e2e::WindowRect(window);
    EXPECT_EQ(e2e::Width(moved), e2e::Width(start));
    EXPECT_EQ(e2e::Height(moved), e2e::Height(start));

    // A press on the link label is a click on the link (the target offset
    // returns to the optimal one), not the start of a drag.
    HWND link = app_.Control(IDC_OPTIMAL_LINK);
    ASSERT_TRUE(app_.SetControlText(IDC_OUT_OFFSET, "40"));
    ASSERT_TRUE(e2e::DragAt(link, e2e::CenterOf(link), -40, -30, false));
    EXPECT_TRUE(app_.WaitForText(IDC_OUT_OFFSET, "31"));
    // A second click on the link, seen in the same way, comes after every
    // move of the drag in the input queue.
    // It goes to another point of the label: at the same point it would make
    // a double click, which is not a click on the link.
    ASSERT_TRUE(app_.SetControlText(IDC_OUT_OFFSET, "40"));
    POINT other = e2e::CenterOf(link);
    other.x -= 20;
    ASSERT_TRUE(e2e::ClickAt(link, other));
    EXPECT_TRUE(app_.WaitForText(IDC_OUT_OFFSET, "31"));
    RECT after = e2e::WindowRect(window);
    EXPECT_EQ(after.left, moved.left);
    EXPECT_EQ(after.top, moved.top);
}

// ------------------------------------------------------------ system menu

TEST_F(MainWindow, SystemMenuEndsWithASeparatorAndTheAboutEntry) {
    Start();
    std::vector<e2e::MenuEntry> menu;
    ASSERT_TRUE(e2e::ReadSystemMenu(app_.Window(), &menu));
    ASSERT_GE(menu.size(), 3u);
    const e2e::MenuEntry& separator = menu[menu.size() - 2];
    const e2e::MenuEntry& about = menu.back();
    EXPECT_TRUE(separator.separator);
    EXPECT_FALSE(about.separator);
    EXPECT_EQ(about.id, static_cast<UINT>(ID_ABOUT));
    EXPECT_EQ(about.text, "\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\x8f\xee\x95\xf1");  // version information
    // The system's own entries come first, the close command among them.
    bool close = false;
    for (size_t i = 0; i + 2 < menu.size(); ++i) close = close || menu[i].id == SC_CLOSE;
    EXPECT_TRUE(close);

    // Opened with the keyboard, its last entry opens the about box, owned by
    // the main window, which stays disabled until the box closes.
    e2e::PressKey(VK_SPACE, e2e::kAlt);
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::FindProcessWindow(app_.ProcessId(), "#32768", nullptr) != nullptr; }))
        << "no system menu";
    e2e::PressKey(VK_END);
    e2e::PressKey(VK_RETURN);
    const char* aboutCaption = "\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\x8f\xee\x95\xf1";
    HWND box = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] {
        box = app_.FindWindowOfProcess("#32770", aboutCaption);
        return box != nullptr;
    })) << "the about box did not open";
    EXPECT_EQ(GetWindow(box, GW_OWNER), app_.Window());
    EXPECT_FALSE(IsWindowEnabled(app_.Window()));
    ASSERT_TRUE(e2e::Activate(box));
    e2e::PressKey(VK_ESCAPE);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowEnabled(app_.Window()) != FALSE; }));
    EXPECT_TRUE(app_.Running());
}

// ------------------------------------------------------------ layout and look

TEST_F(MainWindow, ClientAreaHoldsThePictureAndEveryControl) {
    Start();
    RECT client{};
    GetClientRect(app_.Window(), &client);
    EXPECT_GE(e2e::Width(client), kPictureWidth);
    EXPECT_GE(e2e::Height(client), kPictureHeight);
    int controls = 0;
    for (HWND child = GetWindow(app_.Window(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r = e2e::RectInClient(app_.Window(), child);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
            << "control " << GetDlgCtrlID(child) << " at " << r.left << "," << r.top << "," << r.right << ","
            << r.bottom << " leaves the client area " << client.right << "x" << client.bottom;
        ++controls;
    }
    EXPECT_EQ(controls, 27);
}

TEST_F(MainWindow, LabelsShowThePictureAndTheLinkAndHeadingsTheirColours) {
    Start();
    HWND window = app_.Window();
    Capture shot = e2e::StableClient(window);
    const Color face = e2e::FromColorRef(GetSysColor(COLOR_BTNFACE));

    // Behind a transparent label the picture shows, so most of its
    // rectangle is not the plain button face an opaque label would paint.
    std::vector<int> labels;
    for (int id = IDC_FIRST_PLAIN_LABEL; id <= IDC_LAST_PLAIN_LABEL; ++id) labels.push_back(id);
    labels.push_back(IDC_REF_HEADING);
    labels.push_back(IDC_OUT_HEADING);
    labels.push_back(IDC_OPTIMAL_LINK);
    for (int id : labels) {
        HWND label = app_.Control(id);
        ASSERT_NE(label, nullptr) << "no control " << id;
        RECT r = e2e::RectInClient(window, label);
        int area = e2e::Width(r) * e2e::Height(r);
        int plain = shot.Count(r, face);
        EXPECT_LT(plain * 2, area) << "label " << id << ": " << plain << " of " << area
                                   << " pixels are the button face";
    }

    // The link's text in 150,0,0 and the headings' in 0,0,100. Rows that the
    // colour fills almost from end to end are an underline, not text.
    RECT link = e2e::RectInClient(window, app_.Control(IDC_OPTIMAL_LINK));
    int linkInk = 0;
    for (int y = link.top; y < link.bottom; ++y) {
        int row = shot.Count(RECT{link.left, y, link.right, y + 1}, kLinkInk);
        if (row * 10 < e2e::Width(link) * 9) linkInk += row;
    }
    EXPECT_GT(linkInk, 20) << "link text not drawn in 150,0,0";
    for (int id : {IDC_REF_HEADING, IDC_OUT_HEADING}) {
        RECT r = e2e::RectInClient(window, app_.Control(id));
        EXPECT_GT(shot.Count(r, kHeadingInk), 20) << "heading " << id << " not drawn in 0,0,100";
    }
    // Ordinary labels keep the default text colour.
    RECT label = e2e::RectInClient(window, app_.Control(IDC_IN_RIM_LABEL));
    EXPECT_EQ(shot.Count(label, kLinkInk) + shot.Count(label, kHeadingInk), 0);
}

TEST_F(MainWindow, EveryLabelShowsItsWholeText) {
    Start();
    std::string cut;
    ASSERT_TRUE(e2e::WholeLabels(app_.Window(), &cut)) << cut;
}

TEST_F(MainWindow, Screenshot) {
    Start();
    std::string whole = e2e::SaveScreenshot(app_.Window(), "main_window", true);
    std::string client = e2e::SaveScreenshot(app_.Window(), "main_window_client");
    ASSERT_FALSE(whole.empty());
    ASSERT_FALSE(client.empty());
    std::printf("screenshots: %s, %s\n", whole.c_str(), client.c_str());
}

}  // namespace
