// The records that the refresh cycle (ui/) writes and the diagram (diagram/)
// draws from. They live for the whole run, start zero or null, and are used
// on the one user-interface thread only. Nothing here includes ui/.
#pragma once

#include <windows.h>

#include "core/fitment.h"

extern WheelFields Fields;   // the five fields as the last ReadFields copied them
extern FitResult Fit;        // ComputeOffset sets it; the paint refreshes the widths
extern int RefValid;         // the reference wheel's three fields are valid
extern int OutValid;         // RefValid, and the target wheel's two fields are valid
extern HBITMAP Background;   // bitmap 110, loaded at WM_INITDIALOG, deleted at WM_DESTROY
