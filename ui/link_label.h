// The link labels (1010 in the main dialog, 1008 in the about box) show the
// pointing hand while the pointer is over them.
#pragma once

#include <windows.h>

LRESULT CALLBACK LinkSubclassProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam);
