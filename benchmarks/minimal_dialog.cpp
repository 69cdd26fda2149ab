// The floors for the start-up benchmark: one modal dialog from a template
// of the main dialog's size, style and font, started and timed the same way
// as Rimbeacon (first finished paint of the visible window, through
// common/timing.h). Closes on Esc, the close box or WM_CLOSE.
//   minimal_dialog: the template has no controls, comctl32 is not loaded;
//   updown_dialog (built with RIMBEACON_FLOOR_UPDOWN): comctl32 is loaded and
//   its up-down class registered, as Rimbeacon needs them from its first
//   paint, and the template holds one up-down control.
#include <windows.h>

#ifdef RIMBEACON_FLOOR_UPDOWN
#include <commctrl.h>
#endif

#include "common/timing.h"

namespace {

constexpr int kMinimalDialog = 100;

void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    TIMING_PAINT_END(window);
}

INT_PTR CALLBACK MinimalDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        TIMING_MARK(kDialogInitBegun);
        TIMING_MARK(kDialogInitDone);
        return TRUE;
    case WM_PAINT:
        OnPaint(window);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) EndDialog(window, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    TIMING_MARK(kWinMainEntered);
#ifdef RIMBEACON_FLOOR_UPDOWN
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_UPDOWN_CLASS;
    InitCommonControlsEx(&controls);
    TIMING_MARK(kControlsRegistered);
#endif
    DialogBoxParamA(instance, MAKEINTRESOURCEA(kMinimalDialog), nullptr, MinimalDlgProc, 0);
    return 0;
}
