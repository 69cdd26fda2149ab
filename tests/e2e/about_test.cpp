// The about box of the real Rimbeacon.exe: opened from the system menu with
// real input, closed every way a user can, its link clicked with a stand-in
// browser registered for http addresses, the pointer over both links read
// from what the display shows, its link colour read from the screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/driver.h"

namespace {

using e2e::App;
using e2e::Capture;
using e2e::Color;

// "バージョン情報": the about box's caption
const char kAboutCaption[] = "\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\x8f\xee\x95\xf1";
const char kDialogClass[] = "#32770";
const char kMenuClass[] = "#32768";

const int kEdits[] = {IDC_IN_RIM, IDC_IN_OFFSET, IDC_IN_IN, IDC_OUT_RIM, IDC_OUT_OFFSET};

constexpr Color kAboutLinkInk{0, 0, 255};
constexpr Color kDefaultInk{0, 0, 0};

// A point of the main window's client area that no control covers.
constexpr POINT kMainBackgroundPoint{340, 215};
// A screen point that no window covers (the windows open centred).
constexpr POINT kOffWindows{0, 0};

// ------------------------------------------------------------ helpers

// A file that the build puts next to the test executable.
std::string BesideTest(const char* name)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

// The Unix path of a Windows path when running under Wine, else empty.
std::string UnixPath(const std::string& windowsPath)
{
    using ToUnix = char*(CDECL*)(LPCWSTR);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    ToUnix toUnix = kernel ? reinterpret_cast<ToUnix>(
                                 reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")))
                           : nullptr;
    if (!toUnix) return std::string();
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH)) return std::string();
    char* converted = toUnix(wide);
    if (!converted) return std::string();
    std::string path = converted;
    HeapFree(GetProcessHeap(), 0, converted);
    return path;
}

// About boxes of the process, shown or not yet shown (a dialog box becomes
// visible only when its modal loop first finds the queue empty).
int AboutBoxCount(DWORD pid)
{
    return static_cast<int>(e2e::ProcessWindows(pid, kDialogClass, kAboutCaption, false).size());
}

// ------------------------------------------------------------ pointer shapes

// A cursor's picture: "width height xhot yhot" and one line per pixel row,
// '.' transparent, 'K' black, 'W' white, '?' screen-inverting; a colour
// cursor has the word "colour" instead of rows. Empty when the cursor's bits
// cannot be read (under Wine, any cursor of another process).
std::string CursorPicture(HCURSOR cursor)
{
    ICONINFO info{};
    if (!cursor || !GetIconInfo(cursor, &info)) return std::string();
    std::string picture;
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof(mask), &mask);
    if (info.hbmColor) {
        picture = std::to_string(mask.bmWidth) + " " + std::to_string(mask.bmHeight) + " colour\n";
    } else {
        // A monochrome cursor's mask holds the AND rows above the XOR rows.
        const int height = mask.bmHeight / 2;
        std::vector<unsigned char> bits(static_cast<size_t>(mask.bmWidthBytes) * mask.bmHeight);
        GetBitmapBits(info.hbmMask, static_cast<LONG>(bits.size()), bits.data());
        picture = std::to_string(mask.bmWidth) + " " + std::to_string(height) + " " +
                  std::to_string(info.xHotspot) + " " + std::to_string(info.yHotspot) + "\n";
        auto bit = [&](int x, int y) {
            return (bits[static_cast<size_t>(y) * mask.bmWidthBytes + x / 8] >> (7 - x % 8)) & 1;
        };
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < mask.bmWidth; ++x) {
                const int andBit = bit(x, y);
                const int xorBit = bit(x, y + height);
                picture += andBit ? (xorBit ? '?' : '.') : (xorBit ? 'W' : 'K');
            }
            picture += '\n';
        }
    }
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return picture;
}

// The hand cursor as the program carries it (cursor group 105).
std::string HandPicture()
{
    HMODULE program = LoadLibraryExA(e2e::ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!program) return std::string();
    std::string picture = CursorPicture(LoadCursorA(program, MAKEINTRESOURCEA(IDC_HAND_CURSOR)));
    FreeLibrary(program);
    return picture;
}

// The picture of the pointer the X display shows, read by x_cursor_image.py
// (next to the test executable) into a file of `dir`. Wine starts the Unix
// program itself; its process handle cannot be waited on, so the file,
// which the script writes under another name and renames, is the signal.
std::string XCursorPicture(const e2e::TempDir& dir)
{
    const std::string script = UnixPath(BesideTest("x_cursor_image.py"));
    const std::string output = dir.File("cursor.txt");
    const std::string unixOutput = UnixPath(output);
    if (script.empty() || unixOutput.empty()) return std::string();
    DeleteFileA(output.c_str());
    std::string command = "/usr/bin/python3 \"" + script + "\" \"" + unixOutput + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return std::string();
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::string picture;
    e2e::WaitUntil([&] { return dir.ReadFile("cursor.txt", &picture); });
    return picture;
}

// The pointer as the user sees it now: on Windows the current cursor's own
// bits; under Wine, which keeps those from other processes, the X display's.
std::string ShownPointer(const e2e::TempDir& dir)
{
    CURSORINFO info{};
    info.cbSize = sizeof(info);
    GetCursorInfo(&info);
    std::string picture = CursorPicture(info.hCursor);
    return picture.empty() ? XCursorPicture(dir) : picture;
}

HCURSOR CurrentCursor()
{
    CURSORINFO info{};
    info.cbSize = sizeof(info);
    GetCursorInfo(&info);
    return (info.flags & CURSOR_SHOWING) ? info.hCursor : nullptr;
}

// ------------------------------------------------------------ http handler

// Makes `command` the handler of http addresses for as long as it lives and
// puts back what was there before. Windows looks at the user's classes
// first; Wine 8 reads HKEY_CLASSES_ROOT from the machine's classes alone,
// so when the user's entry does not show through, the machine's is replaced
// as well. Active() tells whether HKEY_CLASSES_ROOT, which ShellExecute
// reads, now resolves to the command.
class HttpHandler {
public:
    explicit HttpHandler(const std::string& command) : command_(command)
    {
        Install(HKEY_CURRENT_USER);
        if (!Active()) Install(HKEY_LOCAL_MACHINE);
    }

    ~HttpHandler()
    {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) Restore(*it);
    }

    HttpHandler(const HttpHandler&) = delete;
    HttpHandler& operator=(const HttpHandler&) = delete;

    bool Active() const
    {
        char value[1024];
        LONG size = sizeof(value);
        return RegQueryValueA(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", value, &size) == ERROR_SUCCESS &&
               command_ == value;
    }

private:
    static constexpr int kLevels = 4;
    static const char* Level(int i)
    {
        static const char* const kPaths[kLevels] = {
            "Software\\Classes\\http", "Software\\Classes\\http\\shell", "Software\\Classes\\http\\shell\\open",
            "Software\\Classes\\http\\shell\\open\\command"};
        return kPaths[i];
    }

    struct Saved {
        HKEY root;
        int firstMissing;  // first key of the path that did not exist (kLevels: all did)
        bool hadValue;
        std::string value;
    };

    void Install(HKEY root)
    {
        Saved saved{root, kLevels, false, std::string()};
        for (int i = 0; i < kLevels; ++i) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(root, Level(i), 0, KEY_READ, &key) != ERROR_SUCCESS) {
                saved.firstMissing = i;
                break;
            }
            if (i == kLevels - 1) {
                char value[1024];
                DWORD size = sizeof(value);
                DWORD type = 0;
                if (RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
                        ERROR_SUCCESS &&
                    type == REG_SZ) {
                    saved.hadValue = true;
                    saved.value.assign(value, size > 0 && value[size - 1] == '\0' ? size - 1 : size);
                }
            }
            RegCloseKey(key);
        }
        HKEY key = nullptr;
        if (RegCreateKeyExA(root, Level(kLevels - 1), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS) {
            return;
        }
        saved_.push_back(saved);
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command_.c_str()),
                       static_cast<DWORD>(command_.size() + 1));
        RegCloseKey(key);
    }

    static void Restore(const Saved& saved)
    {
        if (saved.firstMissing < kLevels) {
            RegDeleteTreeA(saved.root, Level(saved.firstMissing));
            return;
        }
        HKEY key = nullptr;
        if (RegOpenKeyExA(saved.root, Level(kLevels - 1), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        if (saved.hadValue) {
            RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved.value.c_str()),
                           static_cast<DWORD>(saved.value.size() + 1));
        } else {
            RegDeleteValueA(key, nullptr);
        }
        RegCloseKey(key);
    }

    std::string command_;
    std::vector<Saved> saved_;
};

// ------------------------------------------------------------ fixture

class AboutBox : public ::testing::Test {
protected:
    void Start(const std::string& settings = std::string())
    {
        if (!settings.empty()) {
            ASSERT_TRUE(dir_.WriteFile(e2e::kSettingsFile, settings));
        }
        ASSERT_TRUE(app_.Start(dir_.Path())) << app_.Error();
    }

    HWND Main() const { return app_.Window(); }
    HWND About() const { return app_.FindWindowOfProcess(kDialogClass, kAboutCaption); }

    // Alt+Space opens the system menu; Up from there selects its last entry.
    // The pointer keeps off the menu's place, where it would select the
    // entry under it.
    void OpenWithKeys()
    {
        ASSERT_TRUE(e2e::MoveMouseTo(kOffWindows));
        ASSERT_TRUE(e2e::Activate(Main()));
        e2e::PressKey(VK_SPACE, e2e::kAlt);
        ASSERT_TRUE(WaitForMenu()) << "Alt+Space opened no system menu";
        e2e::PressKey(VK_UP);
        e2e::PressKey(VK_RETURN);
        WaitForAbout();
    }

    // A click on the caption's system-menu box, then on the menu's last
    // entry, at the bottom of the menu.
    void OpenWithMouse()
    {
        ASSERT_TRUE(e2e::Activate(Main()));
        POINT box{};
        ASSERT_TRUE(e2e::FindCaptionPart(Main(), HTSYSMENU, false, &box)) << "no system-menu box in the caption";
        ASSERT_TRUE(e2e::ClickScreen(Main(), box));
        ASSERT_TRUE(WaitForMenu()) << "the click opened no system menu";
        RECT menu{};
        GetClientRect(menu_, &menu);
        ASSERT_TRUE(e2e::ClickAt(menu_, POINT{menu.right / 2, menu.bottom - 6}));
        WaitForAbout();
    }

    bool WaitForMenu()
    {
        return e2e::WaitUntil([&] {
            menu_ = e2e::FindProcessWindow(app_.ProcessId(), kMenuClass, nullptr);
            return menu_ != nullptr;
        });
    }

    void WaitForAbout()
    {
        ASSERT_TRUE(e2e::WaitUntil([&] { return About() != nullptr; })) << "no about box";
        ASSERT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == About(); }))
            << "the about box is not in the foreground";
    }

    bool WaitForClosed()
    {
        return e2e::WaitUntil(
            [&] { return AboutBoxCount(app_.ProcessId()) == 0 && IsWindowEnabled(Main()); });
    }

    std::vector<std::string> Fields() const
    {
        std::vector<std::string> texts;
        for (int id : kEdits) texts.push_back(app_.Text(id));
        return texts;
    }

    e2e::TempDir dir_;
    App app_;
    HWND menu_ = nullptr;
};

// ------------------------------------------------------------ opening

TEST_F(AboutBox, SystemMenuEntryOpensItModallyAndASecondCommandOpensNothing)
{
    Start();
    OpenWithKeys();
    if (HasFatalFailure()) return;
    HWND about = About();
    EXPECT_EQ(GetWindow(about, GW_OWNER), Main());
    EXPECT_FALSE(IsWindowEnabled(Main())) << "the main window takes input while the about box is open";
    EXPECT_EQ(AboutBoxCount(app_.ProcessId()), 1);

    // A second about command, then a marker behind it in the same queue: an
    // edit selection that shows once the command before it was handled. A
    // second box would exist by then, even if not yet shown.
    HWND edit = app_.Control(IDC_IN_RIM);
    e2e::SetSelection(edit, 0, 0);
    ASSERT_TRUE(PostMessageA(Main(), WM_SYSCOMMAND, ID_ABOUT, 0));
    ASSERT_TRUE(PostMessageA(edit, EM_SETSEL, 1, 2));
    ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::GetSelection(edit) == e2e::Selection{1, 2}; }));
    EXPECT_EQ(AboutBoxCount(app_.ProcessId()), 1);
    EXPECT_EQ(About(), about);

    e2e::PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForClosed()) << "Esc did not close the about box";
    EXPECT_TRUE(app_.Running());

    // Closed, the guard lets the next command through: the posted command
    // and the mouse both open it again.
    ASSERT_TRUE(PostMessageA(Main(), WM_SYSCOMMAND, ID_ABOUT, 0));
    WaitForAbout();
    if (HasFatalFailure()) return;
    EXPECT_FALSE(IsWindowEnabled(Main()));
    e2e::PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForClosed());

    OpenWithMouse();
    if (HasFatalFailure()) return;
    EXPECT_EQ(AboutBoxCount(app_.ProcessId()), 1);
    EXPECT_FALSE(IsWindowEnabled(Main()));
}

// ------------------------------------------------------------ closing

TEST_F(AboutBox, EnterOkEscAndTheCloseBoxEachCloseItAndLeaveTheMainWindowAlone)
{
    Start("[Rimbeacon]\r\nInRim=7.5\r\nInOffset=40\r\nInIn=15\r\nOutRim=8\r\nTopMost=1\r\n");
    HWND edit = app_.Control(IDC_IN_RIM);
    const std::vector<std::string> fields = Fields();
    ASSERT_EQ(fields, (std::vector<std::string>{"7.5", "40", "15", "8", "31"}));
    ASSERT_NE(e2e::ExStyle(Main()) & WS_EX_TOPMOST, 0);

    enum Way { kEnter, kOkButton, kEscape, kCloseBox };
    const struct {
        Way way;
        const char* name;
    } ways[] = {{kEnter, "Enter"}, {kOkButton, "OK button"}, {kEscape, "Esc"}, {kCloseBox, "close box"}};
    bool byMouse = false;
    for (const auto& w : ways) {
        SCOPED_TRACE(w.name);
        ASSERT_TRUE(e2e::ClickAt(edit, e2e::CenterOf(edit)));
        ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::FocusedControl(Main()) == edit; }));
        if (byMouse) {
            OpenWithMouse();
        } else {
            OpenWithKeys();
        }
        byMouse = !byMouse;
        if (HasFatalFailure()) return;
        HWND about = About();
        switch (w.way) {
        case kEnter:
            e2e::PressKey(VK_RETURN);
            break;
        case kOkButton: {
            HWND ok = GetDlgItem(about, IDOK);
            ASSERT_TRUE(e2e::ClickAt(ok, e2e::CenterOf(ok)));
            break;
        }
        case kEscape:
            e2e::PressKey(VK_ESCAPE);
            break;
        case kCloseBox: {
            POINT close{};
            ASSERT_TRUE(e2e::FindCaptionPart(about, HTCLOSE, true, &close)) << "no close box in the caption";
            ASSERT_TRUE(e2e::ClickScreen(about, close));
            break;
        }
        }
        ASSERT_TRUE(WaitForClosed()) << "the about box stayed open";
        // Every key and click sent has been handled once the edit shows the
        // marker: the main window is still there and nothing changed.
        ASSERT_TRUE(e2e::WaitUntil([&] { return e2e::FocusedControl(Main()) == edit; }));
        ASSERT_TRUE(e2e::SyncInput(edit));
        EXPECT_TRUE(app_.Running());
        EXPECT_TRUE(IsWindowVisible(Main()));
        EXPECT_EQ(Fields(), fields);
        EXPECT_NE(e2e::ExStyle(Main()) & WS_EX_TOPMOST, 0);
        EXPECT_EQ(e2e::CheckState(app_.Control(IDC_TOPMOST)), BST_CHECKED);
    }
}

// ------------------------------------------------------------ link

TEST_F(AboutBox, LinkClickOpensTheAddressAndTheBoxStaysOpen)
{
    const std::string recorder = BesideTest("url_recorder.exe");
    ASSERT_NE(GetFileAttributesA(recorder.c_str()), INVALID_FILE_ATTRIBUTES) << recorder;
    const std::string log = dir_.File("opened.txt");
    const std::string command = "\"" + recorder + "\" \"" + log + "\" \"%1\"";
    HttpHandler handler(command);
    ASSERT_TRUE(handler.Active()) << "http addresses do not go to the recorder";

    Start();
    OpenWithKeys();
    if (HasFatalFailure()) return;
    HWND about = About();
    HWND link = GetDlgItem(about, IDC_ABOUT_LINK);
    ASSERT_EQ(e2e::GetText(link), RIMBEACON_WEB_ADDRESS);
    // The address, like the name and version, shows whole in its label.
    std::string labels;
    EXPECT_TRUE(e2e::WholeLabels(about, &labels)) << labels;
    ASSERT_TRUE(e2e::ClickAt(link, e2e::CenterOf(link)));

    const std::string expected = "\"" + recorder + "\" \"" + log + "\" \"" RIMBEACON_WEB_ADDRESS "\"\n";
    std::string opened;
    ASSERT_TRUE(e2e::WaitUntil([&] { return dir_.ReadFile("opened.txt", &opened) && !opened.empty(); }))
        << "the recorder was not started";
    EXPECT_EQ(opened, expected);

    EXPECT_EQ(About(), about);
    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_FALSE(IsWindowEnabled(Main()));

    // Still working: Esc closes it, and the one click started the handler
    // once.
    e2e::PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForClosed());
    ASSERT_TRUE(dir_.ReadFile("opened.txt", &opened));
    EXPECT_EQ(opened, expected);
}

TEST_F(AboutBox, PointerOverEitherLinkIsTheProgramsHand)
{
    const std::string hand = HandPicture();
    ASSERT_EQ(hand.compare(0, 10, "32 32 0 0\n"), 0) << hand;
    ASSERT_NE(hand.find('K'), std::string::npos);
    ASSERT_NE(hand.find('W'), std::string::npos);

    Start();
    HWND mainLink = app_.Control(IDC_OPTIMAL_LINK);
    ASSERT_TRUE(e2e::MoveMouseTo(e2e::ClientToScreenPoint(Main(), kMainBackgroundPoint)));
    std::string shown;
    EXPECT_TRUE(e2e::WaitUntil([&] { return (shown = ShownPointer(dir_)) != hand && !shown.empty(); }))
        << "the pointer is the hand off the link:\n" << shown;
    HCURSOR background = CurrentCursor();

    ASSERT_TRUE(e2e::MoveMouseTo(e2e::ClientToScreenPoint(mainLink, e2e::CenterOf(mainLink))));
    EXPECT_TRUE(e2e::WaitUntil([&] { return (shown = ShownPointer(dir_)) == hand; }))
        << "over the main window's link the pointer is\n" << shown << "instead of\n" << hand;
    EXPECT_NE(CurrentCursor(), background);
    EXPECT_NE(CurrentCursor(), nullptr);

    OpenWithKeys();
    if (HasFatalFailure()) return;
    HWND about = About();
    HWND aboutLink = GetDlgItem(about, IDC_ABOUT_LINK);
    RECT client{};
    GetClientRect(about, &client);
    // The about box's empty lower left corner.
    ASSERT_TRUE(e2e::MoveMouseTo(e2e::ClientToScreenPoint(about, POINT{4, client.bottom - 4})));
    EXPECT_TRUE(e2e::WaitUntil([&] { return (shown = ShownPointer(dir_)) != hand && !shown.empty(); }))
        << "the pointer is the hand off the about box's link";

    ASSERT_TRUE(e2e::MoveMouseTo(e2e::ClientToScreenPoint(aboutLink, e2e::CenterOf(aboutLink))));
    EXPECT_TRUE(e2e::WaitUntil([&] { return (shown = ShownPointer(dir_)) == hand; }))
        << "over the about box's link the pointer is\n" << shown << "instead of\n" << hand;
}

// ------------------------------------------------------------ look

TEST_F(AboutBox, LinkIsDrawnInBlueAndTheBoxIsSaved)
{
    Start();
    OpenWithKeys();
    if (HasFatalFailure()) return;
    HWND about = About();
    HWND link = GetDlgItem(about, IDC_ABOUT_LINK);
    // Keep the pointer off the box: its shape is no part of the picture,
    // but a hover must not change anything either.
    ASSERT_TRUE(e2e::MoveMouseTo(kOffWindows));

    Capture shot = e2e::StableClient(about);
    ASSERT_FALSE(shot.Empty());
    const RECT label = e2e::RectInClient(about, link);
    const RECT whole{0, 0, shot.Width(), shot.Height()};
    const int blue = shot.Count(label, kAboutLinkInk);
    EXPECT_GE(blue, 20) << "too little blue text in the link label";
    EXPECT_EQ(shot.Count(whole, kAboutLinkInk), blue) << "blue outside the link label";
    EXPECT_EQ(shot.Count(label, kDefaultInk), 0) << "black text in the link label";
    // The other texts keep the default colour.
    EXPECT_GT(shot.Count(whole, kDefaultInk), 0);

    EXPECT_FALSE(e2e::SaveScreenshot(about, "about_box", true).empty());
}

}  // namespace
