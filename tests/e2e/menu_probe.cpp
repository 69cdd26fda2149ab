// A message hook that the end-to-end driver puts into the program under test
// to read its system menu: menu handles belong to their process, and under
// Wine the test process cannot read another process's menu. The hook runs
// inside the program's user-interface thread; when it sees the probe message
// posted to a window, it writes that window's system menu to a text file in
// the temporary folder (see e2e::ReadSystemMenu for the format).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr char kProbeMessage[] = "RimbeaconE2eDescribeSystemMenu";

std::string ReportPath(DWORD pid) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "rimbeacon-e2e-sysmenu-" + std::to_string(pid) + ".txt";
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
    // Written under another name and renamed, so the reader never sees half.
    std::string path = ReportPath(GetCurrentProcessId());
    std::string partial = path + ".part";
    FILE* f = fopen(partial.c_str(), "wb");
    if (!f) return;
    fwrite(report.data(), 1, report.size(), f);
    fclose(f);
    MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK E2eGetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT probe = RegisterWindowMessageA(kProbeMessage);
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG* message = reinterpret_cast<const MSG*>(lParam);
        if (message->message == probe) Describe(message->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
