// The refresh cycle: the one path by which the fields, the settings file,
// the target offset field and the diagram follow what the user typed.
// Nothing is recomputed while the user types; Enter, the spinners, the link
// label and the dialog's start run a refresh.
#pragma once

#include <windows.h>

#include "resources/resource.h"
#include "ui/app_state.h"

// The edits behind the five fields, in field order: InRim, InOffset, InIn,
// OutRim, OutOffset.
constexpr int kEditIds[kFieldCount] = {IDC_IN_RIM, IDC_IN_OFFSET, IDC_IN_IN, IDC_OUT_RIM,
                                       IDC_OUT_OFFSET};

// Copies the five edits into the fields, sets RefValid and OutValid, and
// stores the four inputs when all of them are valid.
void ReadFields();

// ReadFields, ComputeOffset with overrideText (empty: the target offset field
// gets the integer part of the optimal offset), writes the target offset
// field, ReadFields again, RequestRepaint.
void RefreshAll(const char* overrideText);

// RefreshAll with the current text of the target offset field, so that a
// target offset the user typed or stepped survives.
void RefreshKeepingTarget();

// Invalidates the wheel band and the value band and paints at once.
void RequestRepaint();

// Put on each of the five edits: Enter refreshes, focus selects all.
LRESULT CALLBACK EditSubclassProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
