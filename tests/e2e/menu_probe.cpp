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

// One line per text label (a static control that is no picture):
// "label <id> <text px> <client px> <text>", the text's extent measured in
// the font the label draws with.
void MeasureLabels(HWND window) {
    std::string report;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = "";
        GetClassNameA(child, name, sizeof(name));
        const LONG_PTR type = GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK;
        if (lstrcmpiA(name, "Static") != 0 || type == SS_ICON || type == SS_BITMAP) continue;
        char text[256] = "";
        const int length = GetWindowTextA(child, text, sizeof(text));
        HDC dc = GetDC(child);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(child, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32A(dc, text, length, &extent);
        SelectObject(dc, old);
        ReleaseDC(child, dc);
        RECT client{};
        GetClientRect(child, &client);
        report += "label " + std::to_string(GetDlgCtrlID(child)) + " " + std::to_string(extent.cx) + " " +
                  std::to_string(client.right - client.left) + " " + text + "\n";
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
