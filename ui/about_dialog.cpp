#include "ui/about_dialog.h"

#include <shellapi.h>

#include "resources/resource.h"
#include "ui/app_state.h"
#include "ui/link_label.h"
#include "ui/subclass.h"

namespace {

const COLORREF kAboutLinkColour = RGB(0, 0, 255);

void OnAboutInitDialog(HWND window)
{
    SubclassControl(AboutLink, GetDlgItem(window, IDC_ABOUT_LINK), LinkSubclassProc);
}

void OnAboutCommand(HWND window, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL:
        EndDialog(window, 0);
        break;
    case IDC_ABOUT_LINK:
        if (HIWORD(wParam) == STN_CLICKED) {
            ShellExecuteA(nullptr, "open", RIMBEACON_WEB_ADDRESS, nullptr, nullptr, SW_SHOWNORMAL);
        }
        break;
    default:
        break;
    }
}

// The label keeps its opaque background; only the colours change.
INT_PTR OnAboutCtlColorStatic(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(lParam) != GetDlgItem(window, IDC_ABOUT_LINK)) {
        return 0;
    }
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, kAboutLinkColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
}

}  // namespace

INT_PTR CALLBACK AboutDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnAboutInitDialog(window);
        return 0;
    case WM_COMMAND:
        OnAboutCommand(window, wParam);
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnAboutCtlColorStatic(window, wParam, lParam);
    default:
        return 0;
    }
}
