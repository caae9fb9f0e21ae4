// The motion test's control panel (dialog 131): each control writes one of
// the motion options; statics 1033 and 1045 show the figures that the motion
// window writes there, 1045 in red while the screen lags behind the motion.
#include "motion/motion_state.h"

#include <commctrl.h>

#include "res/resource.h"

// A radio button writes its value; a check box (value Checkbox) writes 1
// when checked and 0 when not.
struct OptionControl {
    int control;
    std::atomic<LONG>* option;
    LONG value;
};

static const LONG Checkbox = -1;

static const OptionControl OptionControls[] = {
    { IDC_MOTION_SQUARE, &MotionOptions.circle, 0 },
    { IDC_MOTION_CIRCLE, &MotionOptions.circle, 1 },
    { IDC_MOTION_SMALL, &MotionOptions.shapeSize, 48 },
    { IDC_MOTION_MEDIUM, &MotionOptions.shapeSize, 96 },
    { IDC_MOTION_LARGE, &MotionOptions.shapeSize, 192 },
    { IDC_MOTION_HOLLOW, &MotionOptions.hollow, Checkbox },
    { IDC_MOTION_INVERT, &MotionOptions.invertColors, Checkbox },
    { IDC_MOTION_FORCE_UPDATE, &MotionOptions.forceScreenUpdate, Checkbox },
    { IDC_MOTION_PREVENT_FLICKER, &MotionOptions.preventFlicker, Checkbox },
};

static const int InitialSpeed = 60;  // pixels per second

static bool ShowsOption(const OptionControl& entry)
{
    LONG option = LoadRelaxed(*entry.option);
    return entry.value == Checkbox ? option != 0 : option == entry.value;
}

static BOOL OnInitDialog(HWND panel)
{
    for (const OptionControl& entry : OptionControls)
        CheckDlgButton(panel, entry.control, ShowsOption(entry) ? BST_CHECKED : BST_UNCHECKED);
    HWND speed = GetDlgItem(panel, IDC_MOTION_SPEED);
    SendMessageW(speed, TBM_SETRANGEMIN, FALSE, 1);
    SendMessageW(speed, TBM_SETRANGEMAX, FALSE, 1000);
    SendMessageW(speed, TBM_SETPOS, TRUE, InitialSpeed);
    SendMessageW(panel, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, InitialSpeed), 0);
    return FALSE;
}

static BOOL OnCommand(HWND panel, int control)
{
    for (const OptionControl& entry : OptionControls) {
        if (entry.control != control)
            continue;
        LONG value = entry.value;
        if (value == Checkbox)
            value = IsDlgButtonChecked(panel, control) == BST_CHECKED ? 1 : 0;
        StoreRelaxed(*entry.option, value);
    }
    return TRUE;
}

// While the thumb is dragged the position comes with the message; keyboard
// and page moves are read from the trackbar.
static BOOL OnHScroll(HWND panel, WPARAM wParam)
{
    int speed = LOWORD(wParam) == TB_THUMBTRACK
        ? HIWORD(wParam)
        : static_cast<int>(SendDlgItemMessageW(panel, IDC_MOTION_SPEED, TBM_GETPOS, 0, 0));
    if (speed <= 0)
        speed = 1;
    StoreRelaxed(MotionOptions.stepPeriodMicros,
                 static_cast<LONG>(1000000u / static_cast<unsigned>(speed)));
    return TRUE;
}

static INT_PTR OnCtlColorStatic(HWND panel, HDC dc, HWND control)
{
    if (LoadRelaxed(MotionState.lagging) != 0 && control == GetDlgItem(panel, IDC_MOTION_FPS_VALUE))
        SetTextColor(dc, RGB(237, 28, 36));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

INT_PTR CALLBACK MotionPanelDlgProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(panel);
    case WM_COMMAND:
        return OnCommand(panel, LOWORD(wParam));
    case WM_HSCROLL:
        return OnHScroll(panel, wParam);
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(panel, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    }
    return FALSE;
}
