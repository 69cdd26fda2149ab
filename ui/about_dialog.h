// The about box (dialog 106): name, version and the maker's web address.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AboutDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
