// A message hook that the end-to-end driver puts into the program under test
// to read what only the program's own process can: its system menu (menu
// handles belong to their process, and under Wine the test process cannot
// read another process's menu), and how wide its labels' texts are in the
// fonts the labels really use (font handles do not cross processes either).
// The hook runs inside the program's user-interface thread; when it sees a
// probe message posted to a window, it writes its report to a text file in
// the temporary folder (see e2e::ReadSystemMenu and e2e::MeasureLabels for
// the formats).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr char kMenuProbe[] = "RimbeaconE2eDescribeSystemMenu";
constexpr char kLabelProbe[] = "RimbeaconE2eMeasureLabels";

std::string ReportPath(const char* what, DWORD pid) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "rimbeacon-e2e-" + what + "-" + std::to_string(pid) + ".txt";
}

// Written under another name and renamed, so the reader never sees half.
void WriteReport(const char* what, const std::string& report) {
    std::string path = ReportPath(what, GetCurrentProcessId());
    std::string partial = path + ".part";
    FILE* f = fopen(partial.c_str(), "wb");
    if (!f) return;
    fwrite(report.data(), 1, report.size(), f);
    fclose(f);
    MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

enum class LabelKind { kNone, kStatic, kCheckBox };

// A static control that is no picture, or a check box, shows a text label.
LabelKind KindOfLabel(HWND child) {
    char name[64] = "";
    GetClassNameA(child, name, sizeof(name));
    const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
    if (lstrcmpiA(name, "Static") == 0) {
        const LONG_PTR type = style & SS_TYPEMASK;
        return type == SS_ICON || type == SS_BITMAP ? LabelKind::kNone : LabelKind::kStatic;
    }
    const LONG_PTR type = style & BS_TYPEMASK;
    if (lstrcmpiA(name, "Button") == 0 && (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX)) {
        return LabelKind::kCheckBox;
    }
    return LabelKind::kNone;
}

// The width a label's text may take. A check box draws its box at the left,
// 12 px at 96 dpi plus one, and its text half the width of a "0" after it;
// a single-line text wider than what is left is cut.
int TextRoom(HWND child, HDC dc, LabelKind kind) {
    RECT client{};
    GetClientRect(child, &client);
    const int width = client.right - client.left;
    if (kind != LabelKind::kCheckBox) return width;
    INT zero = 0;
    GetCharWidth32A(dc, '0', '0', &zero);
    return width - (12 * GetDeviceCaps(dc, LOGPIXELSX) / 96 + 1) - zero / 2;
}

// One line per text label (a static control that is no picture, or a check
// box): "label <id> <text px> <room px> <text>", the text's extent measured
// in the font the label draws with.
void MeasureLabels(HWND window) {
    std::string report;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LabelKind kind = KindOfLabel(child);
        if (kind == LabelKind::kNone) continue;
        char text[256] = "";
        const int length = GetWindowTextA(child, text, sizeof(text));
        HDC dc = GetDC(child);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(child, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32A(dc, text, length, &extent);
        const int room = TextRoom(child, dc, kind);
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        report += "label " + std::to_string(GetDlgCtrlID(child)) + " " + std::to_string(extent.cx) + " " +
                  std::to_string(room) + " " + text + "\n";
    }
    report += "end\n";
    WriteReport("labels", report);
}

void Describe(HWND window) {
    std::string report;
    HMENU menu = GetSystemMenu(window, FALSE);
    int count = GetMenuItemCount(menu);
    report += "count " + std::to_string(count) + "\n";
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        if (info.fType & MFT_SEPARATOR) {
            report += "separator\n";
        } else {
            report += "item " + std::to_string(info.wID) + " " + text + "\n";
        }
    }
    report += "end\n";
    WriteReport("sysmenu", report);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK E2eGetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT menuProbe = RegisterWindowMessageA(kMenuProbe);
    static const UINT labelProbe = RegisterWindowMessageA(kLabelProbe);
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG* message = reinterpret_cast<const MSG*>(lParam);
        if (message->message == menuProbe) Describe(message->hwnd);
        if (message->message == labelProbe) MeasureLabels(message->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
