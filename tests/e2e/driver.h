// Driver for the end-to-end tests: starts the real Rimbeacon.exe in a fresh
// working directory, finds its main window, reads and sets control texts,
// sends real input (SendInput: keys and mouse), reads pixels from the screen,
// saves screenshots and stops the program again.
//
// The tests are Windows executables and run under Wine in the same prefix and
// on the same (virtual) display as the program. Nothing here sleeps for a
// fixed time: every step that depends on the program waits for an observable
// effect with a timeout (WaitUntil).
//
// Configuration, from the environment (set by the CTest registration):
//   RIMBEACON_EXE          the program to test; a Linux path (/x/y) is taken
//                          as Z:\x\y, Wine's mapping of the Unix root.
//   RIMBEACON_SCREENSHOTS  folder for screenshots (created when missing).
//
// Input ordering, which the "nothing changed" assertions rely on: SendInput
// returns once the events are queued, not when the program has handled them.
// The program handles its input events one after another on its single
// thread, so when the effect of a later event is seen, every earlier event has
// been handled completely. SyncInput() uses that: it sends a marker key whose
// effect on the focused edit is visible (a caret move) and waits for it.
// Sent messages (GetText, SetText, WM_NULL) overtake queued input and are no
// substitute.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Default timeout of every wait, generous for a loaded machine.
constexpr DWORD kTimeoutMs = 10000;

// Polls `condition` until it holds or `timeoutMs` passed; returns whether it
// held. Checks once more after the deadline, so a slow machine never makes a
// true condition fail.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kTimeoutMs);

// ---------------------------------------------------------------- paths

// Windows path of the program under test (RIMBEACON_EXE), or empty.
std::string ProgramPath();

// Windows path of the screenshot folder (RIMBEACON_SCREENSHOTS, else a
// "screenshots" folder in the current directory); created when missing.
std::string ScreenshotFolder();

// Maps /x/y to Z:\x\y; other paths are returned unchanged.
std::string WindowsPath(const std::string& path);

// A fresh, empty directory under the temporary folder, removed with its
// files by the destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

    // Writes `bytes` as the file `name` (replacing it).
    bool WriteFile(const std::string& name, const std::string& bytes) const;
    // Reads the whole file; false when it does not exist.
    bool ReadFile(const std::string& name, std::string* bytes) const;
    bool Exists(const std::string& name) const;

private:
    std::string path_;
};


// ---------------------------------------------------------------- settings

// Name of the settings file the program keeps in its working directory.
constexpr const char* kSettingsFile = "Rimbeacon.ini";

// What a key of section [Rimbeacon] of the settings file `file` reads, by
// the profile functions as the program reads it, "<missing>" when the key
// or the file is missing. Never an old copy of the file.
constexpr const char* kMissingSetting = "<missing>";
std::string SettingValue(const std::string& file, const std::string& key);

// The keys of section [Rimbeacon] of `file`, in file order.
std::vector<std::string> SettingKeys(const std::string& file);

// ---------------------------------------------------------------- windows

// Text of a window or control (WM_GETTEXT through SendMessageTimeout, so a
// hung program makes it fail instead of blocking). Empty on failure.
std::string GetText(HWND window);
// Sets the text with WM_SETTEXT; returns whether the program handled it.
bool SetText(HWND window, const std::string& text);

// Selection of an edit control (EM_GETSEL): start and end character index.
struct Selection {
    int start;
    int end;
    bool operator==(const Selection& o) const { return start == o.start && end == o.end; }
};
Selection GetSelection(HWND edit);
// Sets the selection synchronously (EM_SETSEL through SendMessageTimeout).
void SetSelection(HWND edit, int start, int end);

// Window rectangle in screen coordinates.
RECT WindowRect(HWND window);
// Client rectangle of `window` in screen coordinates.
RECT ClientRectOnScreen(HWND window);
// Rectangle of the child `control` in client coordinates of `parent`.
RECT RectInClient(HWND parent, HWND control);
int Width(const RECT& r);
int Height(const RECT& r);

// The control that has the keyboard focus in the thread owning `window`.
HWND FocusedControl(HWND window);
// The window holding the mouse capture in the thread owning `window`.
HWND CaptureWindow(HWND window);

// Check state of a check box (BM_GETCHECK): BST_CHECKED, BST_UNCHECKED, or -1.
int CheckState(HWND button);
// Extended window style (WS_EX_TOPMOST and so on).
LONG_PTR ExStyle(HWND window);

// One entry of a window's system menu.
struct MenuEntry {
    bool separator;
    UINT id;           // command id (0 for a separator)
    std::string text;  // in the program's code page (932)
};

// Reads the system menu of a top-level window of another process. Menu
// handles do not cross processes under Wine, so this puts a message hook
// (menu_probe.dll, next to the test executable) into the window's thread,
// posts it a probe message and reads the report the hook writes. False on
// timeout or when the hook cannot be set.
bool ReadSystemMenu(HWND window, std::vector<MenuEntry>* entries);

// A text label (static control that is no picture, or a check box) of a
// dialog, measured in the program's own process: the extent of its text in
// the font it draws with, against the room the control gives its text (the
// client width, less the box of a check box). A label shows its whole text
// on one line only when textWidth <= room; otherwise the static control
// wraps and cuts it, and the check box cuts it.
struct LabelExtent {
    int id;
    int textWidth;
    int room;
    std::string text;  // in the program's code page (932)
};
// Measures every text label of `window` through the same hook as
// ReadSystemMenu. False on timeout or when the hook cannot be set.
bool MeasureLabels(HWND window, std::vector<LabelExtent>* labels);
// Whether every text label of `window` shows its whole text. `table` gets
// one line per label, "id text-px/room-px", cut ones marked; it is also
// printed, so that a test log shows the room each label has.
bool WholeLabels(HWND window, std::string* table);

// ---------------------------------------------------------------- input

// Brings `window` to the foreground and waits until it is there.
bool Activate(HWND window);

// Key press and release of a virtual key, with optional Shift/Ctrl/Alt held.
enum Modifier { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4 };
void PressKey(WORD vk, int modifiers = kNone);
// Only key down or only key up (for holding a key).
void KeyDown(WORD vk);
void KeyUp(WORD vk);
// Types printable ASCII text as real key strokes of the current layout.
void TypeText(const std::string& text);

// Mouse, in screen coordinates. MoveMouseTo jumps, MoveMouseAlong moves in
// small steps so that the program sees the way (drags); both wait until the
// cursor is there. Button events carry their position (see driver.cpp: under
// Wine a late move could otherwise shift a press).
bool MoveMouseTo(POINT screen);
bool MoveMouseAlong(POINT screen);
void MouseDown(POINT screen);
void MouseUp(POINT screen);

// Mouse actions at client coordinates of `window` (a dialog or a control).
// As for a user, a second click at the same place (within the system's
// double-click distance) soon after the first is a double click: click
// another point to get two single clicks.
POINT ClientToScreenPoint(HWND window, POINT client);
bool ClickAt(HWND window, POINT client);
bool DoubleClickAt(HWND window, POINT client);
// Presses the left button at `client`, moves by (dx, dy) in small steps and
// releases. With `waitForCapture`, waits after the press until a window of
// the program holds the mouse capture (the press has been handled), so that
// every move reaches the window that started the drag; false if it never
// does. Such a drag is taken to move the window: before the release it
// waits a moment for the window to follow the pointer all the way.
bool DragAt(HWND window, POINT client, int dx, int dy, bool waitForCapture = true);
// Center of the control's client area.
POINT CenterOf(HWND control);

// Clicks the upper (up) or lower half of a vertical up-down control.
bool ClickSpinner(HWND updown, bool up);

// Double click on the middle of the caption (title bar) of a top-level window.
bool DoubleClickCaption(HWND window);

// The first point of the caption row, scanning from `fromRight`'s side,
// where the window reports `hit` (HTCLOSE, HTSYSMENU), in screen coordinates.
bool FindCaptionPart(HWND window, LRESULT hit, bool fromRight, POINT* found);
// A click at a screen point of `window`, its non-client area included.
bool ClickScreen(HWND window, POINT screen);

// Marker for input ordering (see the top of this file): `edit` must have the
// keyboard focus and hold single-byte text (numbers). Sends Home or End (or, in an empty edit, a blank followed by
// Backspace) and waits until the edit shows its effect, which means all input
// sent before has been handled. Leaves the caret at one end of the text and
// the text unchanged. Returns false on timeout.
bool SyncInput(HWND edit);

// ---------------------------------------------------------------- pixels

struct Color {
    uint8_t r, g, b;
    bool operator==(const Color& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Color& o) const { return !(*this == o); }
};
std::string ToString(const Color& c);  // "r,g,b"
Color FromColorRef(COLORREF c);

// A copy of a screen rectangle as 32-bit pixels, top row first.
class Capture {
public:
    Capture() = default;
    // Reads the screen rectangle (screen coordinates) through GetDC(nullptr).
    static Capture Screen(const RECT& screen);
    // The client area of `window` as the screen shows it (including anything
    // that overlaps it), origin at the client's top-left corner.
    static Capture Client(HWND window);
    // The whole window, frame and caption included.
    static Capture Window(HWND window);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return pixels_.empty(); }
    Color At(int x, int y) const;
    bool operator==(const Capture& o) const {
        return width_ == o.width_ && height_ == o.height_ && pixels_ == o.pixels_;
    }
    bool operator!=(const Capture& o) const { return !(*this == o); }

    // Number of pixels of exactly `c` inside `area` (capture coordinates,
    // right and bottom exclusive, clipped to the capture).
    int Count(const RECT& area, const Color& c) const;

    // Writes an RGB PNG.
    bool SavePng(const std::string& path) const;

    // Bitmap resource `id` of the program under test (ProgramPath()), such
    // as the background picture, converted to 32 bits. Empty on failure.
    static Capture ProgramBitmap(int id);

    // A copy with `text` (UTF-8) drawn over it at `at` (top-left corner)
    // with `font` in `ink` and a transparent background: what the program's
    // own TextOut leaves on the same picture, pixel for pixel. Empty on
    // failure.
    Capture WithText(POINT at, const std::string& text, HFONT font, const Color& ink) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;  // 0x00RRGGBB
};

// The client area once the program's drawing has settled: pending paints
// are run to completion (RedrawWindow with RDW_UPDATENOW), then the screen
// is captured until it has not changed for a little more than Wine's 50 ms
// flush interval. A caret blinking in an edit of the window makes the
// settling restart; it blinks slowly enough to leave such a pause.
Capture StableClient(HWND window, DWORD timeoutMs = kTimeoutMs);

// Saves the client area (or, with `wholeWindow`, the window with its frame)
// as <ScreenshotFolder()>\<name>.png; returns the path, empty on failure.
std::string SaveScreenshot(HWND window, const std::string& name, bool wholeWindow = false);

// ---------------------------------------------------------------- program

// One running Rimbeacon process. The destructor closes it (WM_CLOSE, then
// TerminateProcess), so no test leaves a window behind.
class App {
public:
    App() = default;
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Starts ProgramPath() with `workDir` as its current directory and waits
    // until its main dialog (class #32770, caption "Rimbeacon", owned by the
    // new process) is visible and in the foreground. False on failure, with
    // the reason in Error().
    bool Start(const std::string& workDir);
    // Takes over a Rimbeacon that something else started (the Linux
    // launcher, in the desktop tests): waits up to `timeoutMs` for a visible
    // main dialog of any process, then for it to come to the foreground.
    bool Attach(DWORD timeoutMs);

    HWND Window() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }
    std::string Text(int id) const { return GetText(Control(id)); }
    bool SetControlText(int id, const std::string& text) const { return SetText(Control(id), text); }
    DWORD ProcessId() const { return pid_; }
    HANDLE Process() const { return process_; }
    const std::string& Error() const { return error_; }

    // Waits until control `id` shows exactly `text`.
    bool WaitForText(int id, const std::string& text, DWORD timeoutMs = kTimeoutMs) const;
    // Waits until the process ended; stores its exit code.
    bool WaitForExit(DWORD* exitCode, DWORD timeoutMs = kTimeoutMs) const;
    bool Running() const;

    // Top-level windows of the process other than the main dialog that are
    // visible (for example the about box), found by class and caption.
    HWND FindWindowOfProcess(const char* className, const char* caption) const;

    // Closes the program: WM_CLOSE, wait, then TerminateProcess.
    void Stop();

private:
    PROCESS_INFORMATION info_{};
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    HWND window_ = nullptr;
    std::string error_;
};

// The top-level windows of process `pid` (0: of any process) with the class
// and caption given (nullptr: any), the visible ones only or all, in the
// system's order. The one window finder of the tests and the benchmarks.
std::vector<HWND> ProcessWindows(DWORD pid, const char* className, const char* caption, bool visibleOnly);
// The first visible one, or nullptr.
HWND FindProcessWindow(DWORD pid, const char* className, const char* caption);

}  // namespace e2e
