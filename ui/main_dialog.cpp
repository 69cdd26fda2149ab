#include "ui/main_dialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "common/timing.h"
#include "core/fitment.h"
#include "core/width_step.h"
#include "diagram/diagram.h"
#include "diagram/diagram_geometry.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/about_dialog.h"
#include "ui/app_state.h"
#include "ui/link_label.h"
#include "ui/refresh.h"
#include "ui/subclass.h"

namespace {

constexpr int kSpinIds[kFieldCount] = {IDC_IN_RIM_SPIN, IDC_IN_OFFSET_SPIN, IDC_IN_IN_SPIN,
                                       IDC_OUT_RIM_SPIN, IDC_OUT_OFFSET_SPIN};
constexpr WORD kSpinMax = 512;
constexpr WORD kSpinMin = static_cast<WORD>(-512);

// "バージョン情報" (version information)
const char kAboutMenuText[] = "\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\x8f\xee\x95\xf1";


void ApplyTopMost(HWND window, bool on)
{
    SetWindowPos(window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void AddAboutMenuEntry(HWND window)
{
    HMENU menu = GetSystemMenu(window, FALSE);
    const int count = GetMenuItemCount(menu);
    if (count == -1) {
        return;
    }
    MENUITEMINFOA separator = {};
    separator.cbSize = sizeof(separator);
    separator.fMask = MIIM_TYPE;
    separator.fType = MFT_SEPARATOR;
    InsertMenuItemA(menu, static_cast<UINT>(count), TRUE, &separator);

    char text[sizeof(kAboutMenuText)];
    lstrcpyA(text, kAboutMenuText);
    MENUITEMINFOA entry = {};
    entry.cbSize = sizeof(entry);
    entry.fMask = MIIM_TYPE | MIIM_ID;
    entry.fType = MFT_STRING;
    entry.wID = ID_ABOUT;
    entry.dwTypeData = text;
    InsertMenuItemA(menu, static_cast<UINT>(count + 1), TRUE, &entry);
    DrawMenuBar(window);
}

// The picture and the diagram are fixed pixels laid out for a 369 by 230
// client area, which the template gives only with a dialog unit of about
// 7/4 pixel. Smaller font metrics would cut off the values at column 320,
// so the window grows around its centre until the picture fits.
void FitClientToPicture(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    const int growX = std::max(0, static_cast<int>(kPictureWidth - client.right));
    const int growY = std::max(0, static_cast<int>(kPictureHeight - client.bottom));
    if (growX == 0 && growY == 0) {
        return;
    }
    RECT frame;
    GetWindowRect(window, &frame);
    MoveWindow(window, frame.left - growX / 2, frame.top - growY / 2,
               frame.right - frame.left + growX, frame.bottom - frame.top + growY, FALSE);
}

void OnInitDialog(HWND window)
{
    TIMING_MARK(kDialogInitBegun);
    MainWindow = window;
    SendMessageA(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconA(Instance, MAKEINTRESOURCEA(IDI_RIMBEACON))));
    for (int i = 0; i < kFieldCount; ++i) {
        SpinControls[i] = GetDlgItem(window, kSpinIds[i]);
        SendMessageA(SpinControls[i], UDM_SETRANGE, 0, MAKELPARAM(kSpinMax, kSpinMin));
    }
    for (int i = 0; i < kFieldCount; ++i) {
        SubclassControl(EditControls[i], GetDlgItem(window, kEditIds[i]), EditSubclassProc);
    }
    SetWindowTextA(GetDlgItem(window, IDC_IN_RIM), Fields.InRim);
    SetWindowTextA(GetDlgItem(window, IDC_IN_OFFSET), Fields.InOffset);
    SetWindowTextA(GetDlgItem(window, IDC_IN_IN), Fields.InIn);
    SetWindowTextA(GetDlgItem(window, IDC_OUT_RIM), Fields.OutRim);
    SubclassControl(MainLink, GetDlgItem(window, IDC_OPTIMAL_LINK), LinkSubclassProc);

    const bool topMost = LoadTopMost();
    CheckDlgButton(window, IDC_TOPMOST, topMost ? BST_CHECKED : BST_UNCHECKED);
    ApplyTopMost(window, topMost);

    AddAboutMenuEntry(window);
    Background = LoadBitmapA(Instance, MAKEINTRESOURCEA(IDB_BACKGROUND));
    RefreshAll("");
    FitClientToPicture(window);

    RECT frame;
    GetWindowRect(window, &frame);
    FullHeight = frame.bottom - frame.top;
    TIMING_MARK(kDialogInitDone);
}

void OnTopMostClicked(HWND window)
{
    const bool on = IsDlgButtonChecked(window, IDC_TOPMOST) == BST_CHECKED;
    ApplyTopMost(window, on);
    SaveTopMost(on);
}

void OnCommand(HWND window, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDCANCEL:
        EndDialog(window, 0);
        break;
    case IDC_TOPMOST:
        OnTopMostClicked(window);
        break;
    case IDC_OPTIMAL_LINK:
        if (HIWORD(wParam) == STN_CLICKED) {
            RefreshAll("");
        }
        break;
    default:
        // IDOK (Enter) among them: Enter must not close the dialog.
        break;
    }
}

void OnSysCommand(HWND window, WPARAM wParam)
{
    if (LOWORD(wParam) != ID_ABOUT || AboutOpen != 0) {
        return;
    }
    AboutOpen = 1;
    DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_ABOUT), window, AboutDlgProc, 0);
    AboutLink = SubclassedControl{};
    AboutOpen = 0;
}

// The width spinners step their field by the width rule before the control
// sends its scroll message; returning 0 lets the control go on.
void OnNotify(HWND window, LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code != static_cast<UINT>(UDN_DELTAPOS)) {
        return;
    }
    int editId = 0;
    if (header->idFrom == static_cast<UINT_PTR>(IDC_IN_RIM_SPIN)) {
        editId = IDC_IN_RIM;
    } else if (header->idFrom == static_cast<UINT_PTR>(IDC_OUT_RIM_SPIN)) {
        editId = IDC_OUT_RIM;
    } else {
        return;
    }
    const NMUPDOWN* change = reinterpret_cast<const NMUPDOWN*>(lParam);
    char text[kFieldSize] = {};
    GetDlgItemTextA(window, editId, text, static_cast<int>(kFieldSize));
    char stepped[kStepTextSize];
    StepWidthText(text, change->iDelta, stepped);
    SetWindowTextA(GetDlgItem(window, editId), stepped);
}

void OnVScroll(HWND window, LPARAM lParam)
{
    const HWND sender = reinterpret_cast<HWND>(lParam);
    for (int i = 0; i < kFieldCount; ++i) {
        if (sender != nullptr && sender == SpinControls[i]) {
            RefreshKeepingTarget();
            PostMessageA(GetDlgItem(window, kEditIds[i]), EM_SETSEL, 0, -1);
            return;
        }
    }
}

void SetLabelColour(HDC dc, COLORREF colour)
{
    SetTextColor(dc, colour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
}

bool IsPlainLabel(HWND window, HWND control)
{
    for (int id = IDC_FIRST_PLAIN_LABEL; id <= IDC_LAST_PLAIN_LABEL; ++id) {
        if (control == GetDlgItem(window, id)) {
            return true;
        }
    }
    return control == GetDlgItem(window, IDC_TOPMOST);
}

// The hollow brush lets the background picture show through the labels.
INT_PTR OnCtlColorStatic(HWND window, WPARAM wParam, LPARAM lParam)
{
    const HWND control = reinterpret_cast<HWND>(lParam);
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (control == GetDlgItem(window, IDC_OPTIMAL_LINK)) {
        SetLabelColour(dc, ColourRef(kLinkColour));
    } else if (control == GetDlgItem(window, IDC_REF_HEADING) ||
               control == GetDlgItem(window, IDC_OUT_HEADING)) {
        SetLabelColour(dc, ColourRef(kHeadingColour));
    } else if (!IsPlainLabel(window, control)) {
        return 0;
    }
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
}

// A double click on the title bar or frame rolls the window up to its
// caption, the next one brings back the height it had at start. Rolled up
// means shorter than that height: under X11 a client area is never 0 px
// high, so "client height 0" would never be seen there and the window
// would stay a title bar.
void OnNcDoubleClick(HWND window)
{
    RECT frame;
    RECT client;
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    const int width = frame.right - frame.left;
    const int clientHeight = client.bottom - client.top;
    const bool rolledUp = frame.bottom - frame.top < FullHeight;
    if (!rolledUp) {
        MoveWindow(window, frame.left, frame.top, width, (frame.bottom - frame.top) - clientHeight,
                   TRUE);
    } else {
        MoveWindow(window, frame.left, frame.top, width, FullHeight, TRUE);
    }
}

void OnLeftButtonDown(HWND window, LPARAM lParam)
{
    DragStart.x = GET_X_LPARAM(lParam);
    DragStart.y = GET_Y_LPARAM(lParam);
    Dragging = true;
    SetCapture(window);
}

void OnMouseMove(HWND window, LPARAM lParam)
{
    if (!Dragging) {
        return;
    }
    RECT frame;
    GetWindowRect(window, &frame);
    MoveWindow(window, frame.left + GET_X_LPARAM(lParam) - DragStart.x,
               frame.top + GET_Y_LPARAM(lParam) - DragStart.y, frame.right - frame.left,
               frame.bottom - frame.top, TRUE);
}

void OnLeftButtonUp()
{
    Dragging = false;
    ReleaseCapture();
}

// Losing the capture without a button-up (another window took it, or the
// button came up elsewhere) must end the drag too, or the window would
// follow the pointer with no button held.
void OnCaptureChanged()
{
    Dragging = false;
}

void OnPaint(HWND window)
{
    TIMING_MARK(kPaintBegin);
    PaintMainWindow(window);
    TIMING_PAINT_END(window);
}

void OnDestroy()
{
    DeleteObject(Background);
    Background = nullptr;
}

}  // namespace

INT_PTR CALLBACK MainDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(window);
        return 0;
    case WM_COMMAND:
        OnCommand(window, wParam);
        return 0;
    case WM_SYSCOMMAND:
        OnSysCommand(window, wParam);
        return 0;
    case WM_NOTIFY:
        OnNotify(window, lParam);
        return 0;
    case WM_VSCROLL:
        OnVScroll(window, lParam);
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(window, wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
        OnNcDoubleClick(window);
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(window, lParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(window, lParam);
        return 0;
    case WM_LBUTTONUP:
        OnLeftButtonUp();
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureChanged();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        return 0;
    }
}
