// Replacing a control's window procedure while keeping the one it had.
// GetWindowLongPtrA/SetWindowLongPtrA: the 32-bit calls would cut the
// procedure address on 64-bit Windows.
#pragma once

#include <windows.h>

#include "ui/app_state.h"

inline void SubclassControl(SubclassedControl& control, HWND window, WNDPROC procedure)
{
    control.Window = window;
    control.PreviousProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

// Passes a message on to the procedure the control had before. A window
// that is not in the list (there is none) gets the default handling rather
// than a call through a null procedure.
inline LRESULT PassOn(const SubclassedControl* controls, int count, HWND window, UINT message,
                      WPARAM wParam, LPARAM lParam)
{
    for (int i = 0; i < count; ++i) {
        if (controls[i].Window == window && controls[i].PreviousProc != nullptr) {
            return CallWindowProcA(controls[i].PreviousProc, window, message, wParam, lParam);
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
