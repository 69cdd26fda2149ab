#include "ui/link_label.h"

#include "resources/resource.h"
#include "ui/app_state.h"
#include "ui/subclass.h"

LRESULT CALLBACK LinkSubclassProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETCURSOR) {
        SetCursor(LoadCursorA(Instance, MAKEINTRESOURCEA(IDC_HAND_CURSOR)));
        return 0;
    }
    // Each label goes on to its own previous procedure.
    if (label == MainLink.Window) {
        return PassOn(&MainLink, 1, label, message, wParam, lParam);
    }
    return PassOn(&AboutLink, 1, label, message, wParam, lParam);
}
