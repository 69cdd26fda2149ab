// The module-level records of the dialog procedures and the refresh cycle.
// The fields, flags, fit result and background picture, which the diagram
// draws from, are in common/shared_state.h; the diagram's extent is in
// diagram/diagram.h. All live for the whole run and start zero or null.
// Everything runs on the one user-interface thread.
#pragma once

#include <windows.h>

#include "common/shared_state.h"

// The five fields, their edits and their up-down controls, in field order.
constexpr int kFieldCount = 5;

extern HINSTANCE Instance;       // set by WinMain
extern HWND MainWindow;          // set at WM_INITDIALOG
extern HWND SpinControls[kFieldCount];// up-down controls 1031 to 1035, in id order
extern int AboutOpen;            // the about box is showing

// A control whose window procedure the program replaced, with the procedure
// it had before; messages the program does not take go on to that one.
struct SubclassedControl {
    HWND Window;
    WNDPROC PreviousProc;
};

extern SubclassedControl EditControls[kFieldCount];  // edits 1002 to 1006, in id order
extern SubclassedControl MainLink;         // link label 1010
extern SubclassedControl AboutLink;        // link label 1008, while the about box shows

// Dragging the main window by its client area
extern bool Dragging;
extern POINT DragStart;          // client coordinates of the button-down

extern int FullHeight;           // window height before any roll-up
