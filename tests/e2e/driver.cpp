#include "driver.h"

// The PNG writer of Debian's libstb-dev, compiled here.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "tests/support/test_text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace e2e {

namespace {

// Interval between two looks at a condition; short, since the program
// usually answers within milliseconds.
constexpr DWORD kPollMs = 5;
// How long a capture must stay the same to count as settled: more than the
// 50 ms after which Wine puts a busy program's drawing on the screen.
constexpr DWORD kSettleMs = 120;
// Largest step of a stepwise mouse move, in pixels.
constexpr int kMouseStep = 4;
// How often and how long a drag waits for the window to catch up with the
// pointer before the release.
constexpr int kDragSettleAttempts = 3;
constexpr DWORD kDragSettleMs = 1000;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

DWORD ThreadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

GUITHREADINFO ThreadInfo(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(ThreadOf(window), &info);
    return info;
}

bool IsExtendedKey(WORD vk) {
    switch (vk) {
    case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT:
    case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_INSERT: case VK_DELETE:
        return true;
    default:
        return false;
    }
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0u) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0u);
    return in;
}

void AddModifiers(std::vector<INPUT>* inputs, int modifiers, bool up) {
    if (modifiers & kShift) inputs->push_back(KeyInput(VK_SHIFT, up));
    if (modifiers & kCtrl) inputs->push_back(KeyInput(VK_CONTROL, up));
    if (modifiers & kAlt) inputs->push_back(KeyInput(VK_MENU, up));
}

void Send(std::vector<INPUT> inputs) {
    if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Absolute mouse coordinates run from 0 to 65535 over the primary screen and
// map back to pixels as value * size / 65536; the smallest value that lands
// on pixel p is therefore ceil(p * 65536 / size).
LONG Normalize(LONG pixel, int size) {
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + size - 1) / size);
}

INPUT MouseMove(POINT screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = Normalize(screen.x, GetSystemMetrics(SM_CXSCREEN));
    in.mi.dy = Normalize(screen.y, GetSystemMetrics(SM_CYSCREEN));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

// A button event that carries its own position. Under Wine, the X pointer
// follows every SendInput move, and the program's side turns the resulting
// X motion events back into moves, which can come late and put the cursor
// back on an earlier point for a moment. With the position in the button
// event itself the press or release lands where it was sent, and a drag's
// last move before the release is the release's own position.
INPUT MouseButton(bool up, POINT screen) {
    INPUT in = MouseMove(screen);
    in.mi.dwFlags |= up ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    return in;
}

// Within a pixel: where Wine scales the screen for a program that is not
// DPI-aware (Wine 10 at more than 96 DPI), a point of the program's
// coordinates can fall between two of the screen's and read back one off.
// The button events carry their own position, so a click still lands where
// it was sent.
bool CursorAt(POINT p) {
    POINT now{};
    return GetCursorPos(&now) && std::abs(now.x - p.x) <= 1 && std::abs(now.y - p.y) <= 1;
}

bool MoveStepwise(POINT target) {
    POINT now{};
    GetCursorPos(&now);
    int dx = target.x - now.x;
    int dy = target.y - now.y;
    int distance = abs(dx) > abs(dy) ? abs(dx) : abs(dy);
    int steps = (distance + kMouseStep - 1) / kMouseStep;
    for (int i = 1; i <= steps; ++i) {
        POINT p{now.x + dx * i / steps, now.y + dy * i / steps};
        Send({MouseMove(p)});
    }
    Send({MouseMove(target)});
    return WaitUntil([&] { return CursorAt(target); }, 2000);
}


struct Finding {
    DWORD pid;
    const char* className;
    const char* caption;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    Finding* finding = reinterpret_cast<Finding*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if ((finding->pid != 0 && pid != finding->pid) || (finding->visibleOnly && !IsWindowVisible(window))) return TRUE;
    char buffer[256];
    if (finding->className) {
        GetClassNameA(window, buffer, sizeof(buffer));
        if (strcmp(buffer, finding->className) != 0) return TRUE;
    }
    if (finding->caption) {
        GetWindowTextA(window, buffer, sizeof(buffer));
        if (strcmp(buffer, finding->caption) != 0) return TRUE;
    }
    finding->found.push_back(window);
    return TRUE;
}

// Under Wine without a window manager, windows that expect the manager's
// decorations get none: no caption is drawn and clicks on the caption's
// place go past the window. Letting Wine draw the frame itself gives the
// Windows geometry and look. Read by each Wine process at its start, so it
// is set before the program under test starts.
void PrepareWine() {
    static bool done = false;
    if (done) return;
    done = true;
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) == ERROR_SUCCESS) {
        static const char kNo[] = "N";
        RegSetValueExA(key, "Decorated", 0, REG_SZ, reinterpret_cast<const BYTE*>(kNo), sizeof(kNo));
        RegCloseKey(key);
    }
}

// Captures until the picture has not changed for kSettleMs. Pending paints
// are first run to completion (RedrawWindow with RDW_UPDATENOW sends them to
// the program and returns when they are done); the wait then covers the way
// of the drawn pixels to the screen, which Wine takes when the program's
// thread goes idle, or at the latest every 50 ms.
Capture Settled(const std::function<Capture()>& take, HWND window, DWORD timeoutMs) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Capture last = take();
    DWORD since = GetTickCount();
    WaitUntil([&] {
        Capture next = take();
        if (next != last) {
            last = next;
            since = GetTickCount();
            return false;
        }
        return GetTickCount() - since >= kSettleMs;
    }, timeoutMs);
    return last;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (condition()) return true;
        Sleep(kPollMs);
    }
    return condition();
}

// ---------------------------------------------------------------- paths

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string out = "Z:" + path;
    for (char& c : out) {
        if (c == '/') c = '\\';
    }
    return out;
}

std::string ProgramPath() {
    const char* exe = getenv("RIMBEACON_EXE");
    return exe ? WindowsPath(exe) : std::string();
}

std::string ScreenshotFolder() {
    const char* dir = getenv("RIMBEACON_SCREENSHOTS");
    std::string path = dir && *dir ? WindowsPath(dir) : std::string("screenshots");
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

TempDir::TempDir() {
    static int counter = 0;
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    for (;;) {
        char name[MAX_PATH + 64];
        snprintf(name, sizeof(name), "%srimbeacon-e2e-%lu-%d", base,
                 static_cast<unsigned long>(GetCurrentProcessId()), ++counter);
        if (CreateDirectoryA(name, nullptr)) {
            path_ = name;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempDir::~TempDir() {
    if (path_.empty()) return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                std::string file = File(found.cFileName);
                SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(file.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
}

bool TempDir::WriteFile(const std::string& name, const std::string& bytes) const {
    FILE* f = fopen(File(name).c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}


bool TempDir::ReadFile(const std::string& name, std::string* bytes) const {
    return test::ReadTextFile(File(name), bytes);
}

bool TempDir::Exists(const std::string& name) const {
    return GetFileAttributesA(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// ---------------------------------------------------------------- settings

namespace {

constexpr char kSettingsSection[] = "Rimbeacon";
constexpr DWORD kSettingsTextSize = 4096;

// The profile functions keep a file they have read in a cache, which they
// renew only when the file's time of last write changes: a rewrite within
// one tick of the file system's clock would go unseen. The flush call (all
// three names null) drops the cache, so each read sees the file as it is.
void ForgetCachedSettings(const std::string& file) {
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
}

}  // namespace

std::string SettingValue(const std::string& file, const std::string& key) {
    ForgetCachedSettings(file);
    char value[kSettingsTextSize];
    GetPrivateProfileStringA(kSettingsSection, key.c_str(), kMissingSetting, value, sizeof value, file.c_str());
    return value;
}

std::vector<std::string> SettingKeys(const std::string& file) {
    ForgetCachedSettings(file);
    char names[kSettingsTextSize];
    const DWORD length = GetPrivateProfileStringA(kSettingsSection, nullptr, "", names, sizeof names, file.c_str());
    std::vector<std::string> keys;
    for (DWORD at = 0; at < length && names[at] != '\0'; at += static_cast<DWORD>(strlen(names + at)) + 1) {
        keys.emplace_back(names + at);
    }
    return keys;
}

// ---------------------------------------------------------------- windows

std::string GetText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &length)) {
        return std::string();
    }
    std::vector<char> buffer(length + 2, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG, kTimeoutMs, &copied)) {
        return std::string();
    }
    return std::string(buffer.data());
}

bool SetText(HWND window, const std::string& text) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, kTimeoutMs, &result) != 0 && result != 0;
}

Selection GetSelection(HWND edit) {
    DWORD_PTR packed = 0;
    if (!SendMessageTimeoutA(edit, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &packed)) return {-1, -1};
    return {static_cast<int>(LOWORD(packed)), static_cast<int>(HIWORD(packed))};
}

void SetSelection(HWND edit, int start, int end) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(edit, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end),
                        SMTO_ABORTIFHUNG, kTimeoutMs, &result);
}

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT ClientRectOnScreen(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT RectInClient(HWND parent, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

HWND FocusedControl(HWND window) { return ThreadInfo(window).hwndFocus; }
HWND CaptureWindow(HWND window) { return ThreadInfo(window).hwndCapture; }

int CheckState(HWND button) {
    DWORD_PTR state = 0;
    if (!SendMessageTimeoutA(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &state)) return -1;
    return static_cast<int>(state);
}

LONG_PTR ExStyle(HWND window) { return GetWindowLongPtrA(window, GWL_EXSTYLE); }

namespace {

// Puts menu_probe.dll's message hook into `window`'s thread, posts it the
// probe message `message` and reads the report the hook writes as
// rimbeacon-e2e-<what>-<pid>.txt in the temporary folder. False on timeout
// or when the hook cannot be set.
bool RunProbe(HWND window, const char* message, const char* what, std::string* report) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dll = self;
    dll = dll.substr(0, dll.find_last_of('\\') + 1) + "menu_probe.dll";
    HMODULE module = LoadLibraryA(dll.c_str());
    if (!module) return false;
    HOOKPROC proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module, "E2eGetMessageHook")));
    DWORD pid = 0;
    DWORD thread = GetWindowThreadProcessId(window, &pid);
    HHOOK hook = proc ? SetWindowsHookExA(WH_GETMESSAGE, proc, module, thread) : nullptr;
    bool done = false;
    if (hook) {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        std::string path = std::string(folder) + "rimbeacon-e2e-" + what + "-" + std::to_string(pid) + ".txt";
        DeleteFileA(path.c_str());
        PostMessageA(window, RegisterWindowMessageA(message), 0, 0);
        done = WaitUntil([&] { return test::ReadTextFile(path, report); });
        DeleteFileA(path.c_str());
        UnhookWindowsHookEx(hook);
    }
    FreeLibrary(module);
    return done;
}

// The probe's report, line by line, without the line ends.
bool RunProbeLines(HWND window, const char* message, const char* what, std::vector<std::string>* lines) {
    std::string report;
    if (!RunProbe(window, message, what, &report)) return false;
    lines->clear();
    for (std::string line : Lines(report)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines->push_back(line);
    }
    return true;
}

}  // namespace

bool MeasureLabels(HWND window, std::vector<LabelExtent>* labels) {
    labels->clear();
    std::vector<std::string> lines;
    if (!RunProbeLines(window, "RimbeaconE2eMeasureLabels", "labels", &lines)) return false;
    for (const std::string& line : lines) {
        if (line.compare(0, 6, "label ") != 0) continue;
        LabelExtent label{};
        char* rest = nullptr;
        label.id = static_cast<int>(strtol(line.c_str() + 6, &rest, 10));
        label.textWidth = static_cast<int>(strtol(rest, &rest, 10));
        label.room = static_cast<int>(strtol(rest, &rest, 10));
        if (*rest == ' ') ++rest;
        label.text = rest;
        labels->push_back(label);
    }
    return true;
}

bool WholeLabels(HWND window, std::string* table) {
    std::vector<LabelExtent> labels;
    if (!MeasureLabels(window, &labels) || labels.empty()) {
        *table = "the labels could not be measured";
        return false;
    }
    bool whole = true;
    table->clear();
    for (const LabelExtent& label : labels) {
        const bool fits = label.textWidth <= label.room;
        whole = whole && fits;
        *table += "label " + std::to_string(label.id) + " " + std::to_string(label.textWidth) + "/" +
                  std::to_string(label.room) + " px" + (fits ? "" : " CUT") + "\n";
    }
    std::printf("%s", table->c_str());
    return whole;
}

bool ReadSystemMenu(HWND window, std::vector<MenuEntry>* entries) {
    entries->clear();
    std::vector<std::string> lines;
    if (!RunProbeLines(window, "RimbeaconE2eDescribeSystemMenu", "sysmenu", &lines)) return false;
    for (const std::string& line : lines) {
        if (line == "separator") {
            entries->push_back({true, 0, std::string()});
        } else if (line.compare(0, 5, "item ") == 0) {
            size_t space = line.find(' ', 5);
            UINT id = static_cast<UINT>(strtoul(line.substr(5, space - 5).c_str(), nullptr, 10));
            entries->push_back({false, id, space == std::string::npos ? std::string() : line.substr(space + 1)});
        }
    }
    return true;
}

// ---------------------------------------------------------------- input

bool Activate(HWND window) {
    if (GetForegroundWindow() == window) return true;
    SetForegroundWindow(window);
    return WaitUntil([&] { return GetForegroundWindow() == window; }, 3000);
}

void PressKey(WORD vk, int modifiers) {
    std::vector<INPUT> inputs;
    AddModifiers(&inputs, modifiers, false);
    inputs.push_back(KeyInput(vk, false));
    inputs.push_back(KeyInput(vk, true));
    AddModifiers(&inputs, modifiers, true);
    Send(inputs);
}

void KeyDown(WORD vk) { Send({KeyInput(vk, false)}); }
void KeyUp(WORD vk) { Send({KeyInput(vk, true)}); }

void TypeText(const std::string& text) {
    for (char c : text) {
        SHORT scan = VkKeyScanA(c);
        if (scan == -1) continue;
        int modifiers = ((scan >> 8) & 1 ? kShift : 0) | ((scan >> 8) & 2 ? kCtrl : 0) | ((scan >> 8) & 4 ? kAlt : 0);
        PressKey(static_cast<WORD>(scan & 0xFF), modifiers);
    }
}

bool MoveMouseTo(POINT screen) {
    Send({MouseMove(screen)});
    return WaitUntil([&] { return CursorAt(screen); }, 2000);
}

bool MoveMouseAlong(POINT screen) { return MoveStepwise(screen); }

void MouseDown(POINT screen) { Send({MouseButton(false, screen)}); }
void MouseUp(POINT screen) { Send({MouseButton(true, screen)}); }

POINT ClientToScreenPoint(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

POINT CenterOf(HWND control) {
    RECT r{};
    GetClientRect(control, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Under Wine the program reads the X server's own report of a pointer move
// late, and turns it into one more mouse move then, possibly between a
// button's press and release, where an edit takes it for a drag that selects
// text. Two round trips through the program's message loop make it read its
// pending X events, so that such a move is queued before the buttons.
void LetProgramCatchUpWithPointer(HWND window) {
    HWND top = GetAncestor(window, GA_ROOT);
    DWORD_PTR ignored = 0;
    for (int round = 0; round < 2; ++round) {
        SendMessageTimeoutA(top, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kTimeoutMs, &ignored);
    }
}

bool ClickAt(HWND window, POINT client) {
    POINT p = ClientToScreenPoint(window, client);
    if (!MoveMouseTo(p)) return false;
    LetProgramCatchUpWithPointer(window);
    Send({MouseButton(false, p), MouseButton(true, p)});
    return true;
}

bool DoubleClickAt(HWND window, POINT client) {
    POINT p = ClientToScreenPoint(window, client);
    if (!MoveMouseTo(p)) return false;
    LetProgramCatchUpWithPointer(window);
    // One batch: the four events carry nearly the same time stamp, well
    // inside the double-click time.
    Send({MouseButton(false, p), MouseButton(true, p), MouseButton(false, p), MouseButton(true, p)});
    return true;
}

bool DragAt(HWND window, POINT client, int dx, int dy, bool waitForCapture) {
    POINT from = ClientToScreenPoint(window, client);
    if (!MoveMouseTo(from)) return false;
    LetProgramCatchUpWithPointer(window);
    MouseDown(from);
    if (waitForCapture && !WaitUntil([&] { return CaptureWindow(window) != nullptr; })) {
        MouseUp(from);
        return false;
    }
    HWND top = GetAncestor(window, GA_ROOT);
    RECT followed = WindowRect(top);
    OffsetRect(&followed, dx, dy);
    POINT to{from.x + dx, from.y + dy};
    bool moved = MoveMouseAlong(to);
    // Under Wine a window that follows the pointer can get moves that the X
    // server reported against where the window was a moment before, or
    // reports of the pointer's earlier places that come in after its last
    // move, and stand a step behind for a while. Before the release the
    // window is given time to catch up with the pointer; the pointer nudged
    // off and back gives the program its last place once more. A window
    // that does not follow ends where it is, for the caller to find.
    if (moved && waitForCapture) {
        for (int attempt = 0; attempt < kDragSettleAttempts; ++attempt) {
            LetProgramCatchUpWithPointer(window);
            if (attempt > 0) Send({MouseMove(POINT{to.x + 1, to.y + 1})});
            Send({MouseMove(to)});
            const auto caughtUp = [&] {
                RECT now = WindowRect(top);
                return EqualRect(&followed, &now) != 0;
            };
            if (WaitUntil(caughtUp, kDragSettleMs)) break;
        }
    }
    MouseUp(to);
    return moved;
}

bool ClickSpinner(HWND updown, bool up) {
    RECT r{};
    GetClientRect(updown, &r);
    int quarter = (r.bottom - r.top) / 4;
    return ClickAt(updown, POINT{(r.left + r.right) / 2, up ? r.top + quarter : r.bottom - 1 - quarter});
}

bool DoubleClickCaption(HWND window) {
    RECT w = WindowRect(window);
    RECT c = ClientRectOnScreen(window);
    // Halfway between the outer top edge and the client area's top lies in
    // the caption (the frame above it is a few pixels only); the middle of
    // the width keeps clear of the caption buttons.
    POINT p{(w.left + w.right) / 2, (w.top + c.top) / 2};
    if (!MoveMouseTo(p)) return false;
    Send({MouseButton(false, p), MouseButton(true, p), MouseButton(false, p), MouseButton(true, p)});
    return true;
}

bool FindCaptionPart(HWND window, LRESULT hit, bool fromRight, POINT* found) {
    RECT w = WindowRect(window);
    RECT c = ClientRectOnScreen(window);
    const int y = (w.top + c.top) / 2;
    const int step = fromRight ? -1 : 1;
    for (int x = fromRight ? w.right - 1 : w.left; x >= w.left && x < w.right; x += step) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, kTimeoutMs, &result);
        if (static_cast<LRESULT>(result) == hit) {
            // A few pixels inside the part, off its edge.
            *found = POINT{x + 4 * step, y};
            return true;
        }
    }
    return false;
}

bool ClickScreen(HWND window, POINT screen) {
    POINT client = screen;
    ScreenToClient(window, &client);
    return ClickAt(window, client);
}

bool SyncInput(HWND edit) {
    int length = static_cast<int>(GetText(edit).size());
    if (length == 0) {
        // Nothing to move the caret over: a blank, seen, then taken back.
        PressKey(VK_SPACE);
        if (!WaitUntil([&] { return GetText(edit) == " "; })) return false;
        PressKey(VK_BACK);
        return WaitUntil([&] { return GetText(edit).empty(); });
    }
    Selection now = GetSelection(edit);
    if (now == Selection{0, 0}) {
        PressKey(VK_END);
        return WaitUntil([&] {
            Selection s = GetSelection(edit);
            int end = static_cast<int>(GetText(edit).size());
            return s.start == end && s.end == end && end > 0;
        });
    }
    PressKey(VK_HOME);
    return WaitUntil([&] { return GetSelection(edit) == Selection{0, 0}; });
}

// ---------------------------------------------------------------- pixels

std::string ToString(const Color& c) {
    char buffer[32];
    snprintf(buffer, sizeof(buffer), "%d,%d,%d", c.r, c.g, c.b);
    return buffer;
}

Color FromColorRef(COLORREF c) {
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

namespace {

// 32-bit pixels of a w by h picture, top row first.
BITMAPINFO TopDownPixels(int w, int h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

Capture Capture::Screen(const RECT& screen) {
    Capture capture;
    int w = screen.right - screen.left;
    int h = screen.bottom - screen.top;
    if (w <= 0 || h <= 0) return capture;
    BITMAPINFO info = TopDownPixels(w, h);
    void* bits = nullptr;
    HDC screenDc = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screenDc);
    HBITMAP dib = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && bits) {
        HGDIOBJ old = SelectObject(memory, dib);
        BitBlt(memory, 0, 0, w, h, screenDc, screen.left, screen.top, SRCCOPY | CAPTUREBLT);
        GdiFlush();
        capture.width_ = w;
        capture.height_ = h;
        const uint32_t* p = static_cast<const uint32_t*>(bits);
        capture.pixels_.assign(p, p + static_cast<size_t>(w) * h);
        for (uint32_t& px : capture.pixels_) px &= 0x00FFFFFFu;
        SelectObject(memory, old);
    }
    if (dib) DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screenDc);
    return capture;
}

Capture Capture::Client(HWND window) { return Screen(ClientRectOnScreen(window)); }
Capture Capture::Window(HWND window) { return Screen(WindowRect(window)); }

Color Capture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {0, 0, 0};
    uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
    return {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
}

int Capture::Count(const RECT& area, const Color& c) const {
    int count = 0;
    for (int y = area.top < 0 ? 0 : area.top; y < area.bottom && y < height_; ++y) {
        for (int x = area.left < 0 ? 0 : area.left; x < area.right && x < width_; ++x) {
            if (At(x, y) == c) ++count;
        }
    }
    return count;
}

bool Capture::SavePng(const std::string& path) const {
    if (Empty()) return false;
    constexpr int kChannels = 3;
    std::vector<unsigned char> rgb;
    rgb.reserve(static_cast<size_t>(width_) * height_ * kChannels);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const Color c = At(x, y);
            rgb.insert(rgb.end(), {c.r, c.g, c.b});
        }
    }
    return stbi_write_png(path.c_str(), width_, height_, kChannels, rgb.data(), width_ * kChannels) != 0;
}

Capture Capture::ProgramBitmap(int id) {
    Capture capture;
    HMODULE module = LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return capture;
    HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(id));
    BITMAP size{};
    if (bitmap && GetObjectA(bitmap, sizeof size, &size) && size.bmWidth > 0 && size.bmHeight > 0) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = size.bmWidth;
        info.bmiHeader.biHeight = -size.bmHeight;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        std::vector<uint32_t> pixels(static_cast<size_t>(size.bmWidth) * size.bmHeight);
        HDC screenDc = GetDC(nullptr);
        int rows = GetDIBits(screenDc, bitmap, 0, size.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screenDc);
        if (rows == size.bmHeight) {
            for (uint32_t& px : pixels) px &= 0x00FFFFFFu;
            capture.width_ = size.bmWidth;
            capture.height_ = size.bmHeight;
            capture.pixels_ = std::move(pixels);
        }
    }
    if (bitmap) DeleteObject(bitmap);
    FreeLibrary(module);
    return capture;
}

Capture Capture::WithText(POINT at, const std::string& text, HFONT font, const Color& ink) const {
    Capture result;
    int wideLength = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (Empty() || wideLength <= 0) return result;
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], wideLength);
    BITMAPINFO info = TopDownPixels(width_, height_);
    void* bits = nullptr;
    HDC screenDc = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screenDc);
    HBITMAP dib = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && bits) {
        uint32_t* p = static_cast<uint32_t*>(bits);
        std::copy(pixels_.begin(), pixels_.end(), p);
        HGDIOBJ oldBitmap = SelectObject(memory, dib);
        HGDIOBJ oldFont = SelectObject(memory, font);
        SetTextColor(memory, RGB(ink.r, ink.g, ink.b));
        SetBkMode(memory, TRANSPARENT);
        TextOutW(memory, at.x, at.y, wide.c_str(), wideLength);
        SelectObject(memory, oldFont);
        GdiFlush();
        result.width_ = width_;
        result.height_ = height_;
        result.pixels_.assign(p, p + pixels_.size());
        for (uint32_t& px : result.pixels_) px &= 0x00FFFFFFu;
        SelectObject(memory, oldBitmap);
    }
    if (dib) DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screenDc);
    return result;
}

Capture StableClient(HWND window, DWORD timeoutMs) {
    return Settled([&] { return Capture::Client(window); }, window, timeoutMs);
}

std::string SaveScreenshot(HWND window, const std::string& name, bool wholeWindow) {
    Capture capture = wholeWindow ? Settled([&] { return Capture::Window(window); }, window, kTimeoutMs)
                                  : StableClient(window);
    std::string path = ScreenshotFolder() + "\\" + name + ".png";
    return capture.SavePng(path) ? path : std::string();
}

// ---------------------------------------------------------------- program

std::vector<HWND> ProcessWindows(DWORD pid, const char* className, const char* caption, bool visibleOnly) {
    Finding finding{pid, className, caption, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&finding));
    return finding.found;
}

HWND FindProcessWindow(DWORD pid, const char* className, const char* caption) {
    const std::vector<HWND> found = ProcessWindows(pid, className, caption, true);
    return found.empty() ? nullptr : found.front();
}

App::~App() { Stop(); }

bool App::Start(const std::string& workDir) {
    std::string exe = ProgramPath();
    if (exe.empty()) {
        error_ = "RIMBEACON_EXE is not set";
        return false;
    }
    PrepareWine();
    std::string commandLine = "\"" + exe + "\"";
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessA(exe.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.c_str(), &startup, &info_)) {
        error_ = "CreateProcess failed for " + exe + ", error " + std::to_string(GetLastError());
        return false;
    }
    process_ = info_.hProcess;
    pid_ = info_.dwProcessId;
    // The dialog becomes visible once its initialisation has run and its
    // modal loop found the queue empty.
    bool found = WaitUntil([&] {
        window_ = FindProcessWindow(pid_, "#32770", "Rimbeacon");
        return window_ != nullptr || !Running();
    });
    if (!found || !window_) {
        error_ = Running() ? "no main window within the timeout" : "the program ended at start";
        return false;
    }
    if (!Activate(window_)) {
        error_ = "the main window did not come to the foreground";
        return false;
    }
    return true;
}

bool App::Attach(DWORD timeoutMs) {
    bool found = WaitUntil([&] {
        window_ = FindProcessWindow(0, "#32770", "Rimbeacon");
        return window_ != nullptr;
    }, timeoutMs);
    if (!found) {
        error_ = "no Rimbeacon window appeared within " + std::to_string(timeoutMs / 1000) + " s";
        return false;
    }
    GetWindowThreadProcessId(window_, &pid_);
    process_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid_);
    info_.hProcess = process_;
    if (!process_) {
        error_ = "cannot open process " + std::to_string(pid_) + ", error " + std::to_string(GetLastError());
        window_ = nullptr;
        return false;
    }
    if (!Activate(window_)) {
        error_ = "the main window did not come to the foreground";
        return false;
    }
    return true;
}

bool App::WaitForText(int id, const std::string& text, DWORD timeoutMs) const {
    return WaitUntil([&] { return Text(id) == text; }, timeoutMs);
}

bool App::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool App::WaitForExit(DWORD* exitCode, DWORD timeoutMs) const {
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process_, exitCode);
    return true;
}

HWND App::FindWindowOfProcess(const char* className, const char* caption) const {
    for (HWND window : ProcessWindows(pid_, className, caption, true)) {
        if (window != window_) return window;
    }
    return nullptr;
}

void App::Stop() {
    if (!process_) return;
    if (Running()) {
        // Release a mouse button a test may have left down.
        POINT at{};
        GetCursorPos(&at);
        if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) MouseUp(at);
        for (HWND window : ProcessWindows(pid_, nullptr, nullptr, false)) PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_, 3000) != WAIT_OBJECT_0) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, 3000);
        }
    }
    if (info_.hThread) CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    info_ = PROCESS_INFORMATION{};
    process_ = nullptr;
    window_ = nullptr;
}

}  // namespace e2e
