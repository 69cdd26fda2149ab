// The main dialog (101): the five fields with their spinners, the
// always-on-top check box, the link label and the diagram.
#pragma once

#include <windows.h>

INT_PTR CALLBACK MainDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
