// The module-level records of the running program, shared by the dialog
// procedures, the refresh cycle and the diagram. All live for the whole run
// and start zero or null. Everything runs on the one user-interface thread.
#pragma once

#include <windows.h>

#include "core/fitment.h"

// Where the wheels' inner edges were last drawn, so that the next refresh
// invalidates far enough left to erase them.
struct DiagramExtent {
    int RefInnerX;
    int OutInnerX;
    int RefOverflow;  // the reference wheel reached left of column 170
    int OutOverflow;  // the target wheel reached left of column 170
};

// The five fields, their edits and their up-down controls, in field order.
constexpr int kFieldCount = 5;

extern WheelFields Fields;
extern FitResult Fit;
extern int RefValid;
extern int OutValid;
extern DiagramExtent Extent;

extern HINSTANCE Instance;       // set by WinMain
extern HWND MainWindow;          // set at WM_INITDIALOG
extern HBITMAP Background;       // bitmap 110, loaded at WM_INITDIALOG
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
extern int Dragging;
extern POINT DragStart;          // client coordinates of the button-down

extern int FullHeight;           // window height before any roll-up
