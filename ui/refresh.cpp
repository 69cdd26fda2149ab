#include "ui/refresh.h"

#include <algorithm>
#include <cstring>

#include "common/timing.h"
#include "core/fitment.h"
#include "diagram/diagram.h"
#include "diagram/diagram_geometry.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/app_state.h"
#include "ui/subclass.h"

namespace {

char* FieldText(int index)
{
    char* const texts[kFieldCount] = {Fields.InRim, Fields.InOffset, Fields.InIn, Fields.OutRim,
                                      Fields.OutOffset};
    return texts[index];
}

}  // namespace

void ReadFields()
{
    for (int i = 0; i < kFieldCount; ++i) {
        char buffer[kFieldSize] = {};
        GetWindowTextA(GetDlgItem(MainWindow, kEditIds[i]), buffer, static_cast<int>(kFieldSize));
        std::memcpy(FieldText(i), buffer, kFieldSize);
    }
    const Validity validity = EvaluateValidity(Fields);
    RefValid = validity.RefValid;
    OutValid = validity.OutValid;
    TIMING_MARK(kFieldReadsDone);
    if (validity.InputsStorable) {
        SaveInputs(Fields);
    }
    TIMING_MARK(kSettingsWritesDone);
}

void RefreshAll(const char* overrideText)
{
    ReadFields();
    ComputeOffset(Fields, overrideText, Fit);
    SetWindowTextA(GetDlgItem(MainWindow, IDC_OUT_OFFSET), Fields.OutOffset);
    TIMING_MARK(kOffsetComputed);
    ReadFields();
    RequestRepaint();
}

void RefreshKeepingTarget()
{
    char target[kFieldSize] = {};
    GetWindowTextA(GetDlgItem(MainWindow, IDC_OUT_OFFSET), target, static_cast<int>(kFieldSize));
    TIMING_MARK(kTargetRead);
    RefreshAll(target);
}

void RequestRepaint()
{
    // After a wheel reached left of column 170 the band must start at its
    // inner edge, or the old outline would stay on the screen.
    int left = kOverflowX;
    if (Extent.RefOverflow != 0 || Extent.OutOverflow != 0) {
        left = std::min(Extent.RefInnerX, Extent.OutInnerX);
    }
    const RECT wheelBand = {left, kWheelBandTop, kWheelBandRight, kWheelBandBottom};
    const RECT valueBand = {kValueBandLeft, kValueBandTop, kValueBandRight, kValueBandBottom};
    InvalidateRect(MainWindow, &wheelBand, FALSE);
    InvalidateRect(MainWindow, &valueBand, FALSE);
    SendMessageA(MainWindow, WM_PAINT, 0, 0);
    TIMING_MARK(kRepaintDone);
}

LRESULT CALLBACK EditSubclassProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYUP:
        if (wParam == VK_RETURN) {
            TIMING_MARK(kRefreshBegin);
            RefreshKeepingTarget();
            TIMING_MARK(kRefreshEnd);
        }
        break;
    case WM_SETFOCUS:
        // Posted, so it lands after the click that gave the focus.
        PostMessageA(edit, EM_SETSEL, 0, -1);
        break;
    default:
        break;
    }
    return PassOn(EditControls, kFieldCount, edit, message, wParam, lParam);
}
