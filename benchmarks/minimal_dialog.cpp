// The floor for the start-up benchmark: one empty modal dialog from a
// template of the main dialog's size, style and font, started and timed the
// same way as Rimbeacon (first finished paint of the visible window, through
// common/instrument.h). Closes on Esc, the close box or WM_CLOSE.
#include <windows.h>

#include "common/instrument.h"

namespace {

constexpr int kMinimalDialog = 100;

void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    INSTRUMENT_PAINT_END(window);
}

INT_PTR CALLBACK MinimalDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
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
    DialogBoxParamA(instance, MAKEINTRESOURCEA(kMinimalDialog), nullptr, MinimalDlgProc, 0);
    return 0;
}
