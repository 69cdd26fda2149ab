// Rimbeacon: fits a wheel under a car's fender against a reference wheel.
#include <windows.h>

#include <commctrl.h>

#include "common/timing.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/app_state.h"
#include "ui/main_dialog.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    TIMING_MARK(kWinMainEntered);
    LoadInputs(Fields);
    Instance = instance;
    // The main dialog template names the up-down class, which exists only
    // once the common controls have registered it.
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_UPDOWN_CLASS;
    InitCommonControlsEx(&controls);
    TIMING_MARK(kControlsRegistered);
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDlgProc, 0);
    TIMING_REPORT();
    return 0;
}
