// The main window's dialog procedure and its handlers.
#include "mainwin/main_dialog.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "app/app_state.h"
#include "app/draw.h"
#include "display/mode_list.h"
#include "mainwin/about_dialog.h"
#include "mainwin/device_list.h"
#include "mainwin/monitor_dialog.h"
#include "res/resource.h"

static BOOL OnInitDialog(HWND window)
{
    AppState.mainWindow = window;
    InitDeviceList();
    FillDeviceList();
    SetWindowPos(GetDlgItem(window, IDC_MOTION_TEST), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    return FALSE;
}

static BOOL OnNotify(const NMHDR* header)
{
    if (header->code == LVN_ITEMCHANGED) {
        if (header->idFrom == IDC_DEVICE_LIST)
            OnDeviceListItemChanged(reinterpret_cast<const NMLISTVIEW*>(header));
        return TRUE;
    }
    if (header->code == LVN_DELETEITEM) {
        if (header->idFrom == IDC_DEVICE_LIST)
            OnDeviceListDeleteItem(reinterpret_cast<const NMLISTVIEW*>(header));
        return TRUE;
    }
    return FALSE;
}

static void ShowQuickHelp(HWND window)
{
    ShowStringMessageLimited(window, IDS_QUICK_HELP, MB_ICONINFORMATION, 256);
}

static BOOL OnCommand(HWND window, int command)
{
    switch (command) {
    case IDC_QUICK_HELP:
        ShowQuickHelp(window);
        break;
    case IDC_PATTERN_TEST:
    case IDC_MOTION_TEST:
        StartTest(window, command);
        break;
    case IDC_ABOUT:
        ShowAboutDialog(window);
        break;
    case IDC_MONITOR_DETAILS:
        ShowMonitorDialog(window, FirstSelectedDevice(window));
        break;
    }
    return TRUE;
}

// The red "Special Feature" banner that frames the "&Motion Test" button; the
// hidden placeholder control gives its rectangle.
static void PaintBanner(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT banner;
    GetWindowRect(GetDlgItem(window, IDC_BANNER_PLACE), &banner);
    MapWindowPoints(NULL, window, reinterpret_cast<POINT*>(&banner), 2);

    FillSolidRect(dc, &banner, RGB(255, 0, 0));
    HGDIOBJ previousFont = SelectObject(dc, SharedGdiObjects.labelFont);
    banner.left += 4;
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, L"Special Feature", -1, &banner, DT_SINGLELINE | DT_VCENTER);
    SelectObject(dc, previousFont);
    EndPaint(window, &paint);
}

// Visual styles were switched on, off or to another style: the rows follow,
// and without styles they fall back to the classic drawing.
static BOOL OnThemeChanged(HWND window)
{
    if (AppState.listTheme != NULL)
        CloseThemeData(AppState.listTheme);
    AppState.listTheme = IsAppThemed()
        ? OpenThemeData(GetDlgItem(window, IDC_DEVICE_LIST), L"EXPLORER::LISTVIEW")
        : NULL;
    return TRUE;
}

static void OnDestroy(HWND window)
{
    if (IsTestWindowAlive() && AppState.motionThread != NULL)
        SendMessageW(AppState.testWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    ClearModeList(GetDlgItem(window, IDC_MODE_LIST));
    if (AppState.deviceImageList != NULL)
        ImageList_Destroy(AppState.deviceImageList);
    AppState.deviceImageList = NULL;
    if (AppState.listTheme != NULL)
        CloseThemeData(AppState.listTheme);
    AppState.listTheme = NULL;
    PostQuitMessage(0);
}

INT_PTR CALLBACK MainDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(window);
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_MEASUREITEM:
        if (wParam == IDC_DEVICE_LIST)
            MeasureDeviceListItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_DRAWITEM:
        DrawDeviceListItem(static_cast<UINT>(wParam), reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        return OnCommand(window, LOWORD(wParam));
    case WM_PAINT:
        PaintBanner(window);
        return FALSE;
    case WM_THEMECHANGED:
        return OnThemeChanged(window);
    case WM_CLOSE:
        DestroyWindow(window);
        return TRUE;
    case WM_DESTROY:
        OnDestroy(window);
        return TRUE;
    }
    return FALSE;
}
