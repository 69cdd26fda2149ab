#include "ui/about_dialog.h"

#include <shellapi.h>

#include "resources/resource.h"
#include "ui/app_state.h"
#include "ui/link_label.h"
#include "ui/subclass.h"

namespace {

const COLORREF kAboutLinkColour = RGB(0, 0, 255);

// Imported, shell32 would be loaded at every start (some milliseconds under
// Wine), yet only a click on the about box's link needs it: it is loaded
// then, and stays loaded for the rest of the run (the shell may still be
// working for the browser it starts). The type comes from the declaration
// in <shellapi.h>; naming it there imports nothing.
using ShellExecuteAProc = decltype(&ShellExecuteA);
constexpr char kShellLibrary[] = "shell32.dll";
constexpr char kShellExecuteName[] = "ShellExecuteA";

// ShellExecuteA from shell32, loaded at the first call; null if shell32 or
// the function cannot be found, and then the click opens nothing.
ShellExecuteAProc FindShellExecute()
{
    static ShellExecuteAProc found = nullptr;
    if (found == nullptr) {
        HMODULE shell = LoadLibraryA(kShellLibrary);
        if (shell == nullptr) {
            return nullptr;
        }
        // GetProcAddress hands back a FARPROC of no particular type; the
        // generic function pointer type in between tells the compiler that
        // the conversion is meant. Called through its own type, it is the
        // function the name stands for.
        using AnyFunction = void (*)();
        found = reinterpret_cast<ShellExecuteAProc>(
            reinterpret_cast<AnyFunction>(GetProcAddress(shell, kShellExecuteName)));
    }
    return found;
}

void OpenWebAddress()
{
    const ShellExecuteAProc shellExecute = FindShellExecute();
    if (shellExecute != nullptr) {
        shellExecute(nullptr, "open", RIMBEACON_WEB_ADDRESS, nullptr, nullptr, SW_SHOWNORMAL);
    }
}

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
            OpenWebAddress();
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
