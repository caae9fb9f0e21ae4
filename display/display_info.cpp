// The information panel of the main window.
#include "display/display_info.h"

#include <math.h>

#include "app/app_state.h"
#include "app/format_text.h"
#include "display/mode_list.h"
#include "display/resolution_names.h"
#include "mainwin/device_list.h"
#include "res/resource.h"

static const int PanelFields[] = {
    IDC_BITS_PER_PIXEL, IDC_NUMBER_OF_COLORS, IDC_PLANES, IDC_HORZ_RESOLUTION,
    IDC_VERT_RESOLUTION, IDC_DPI_X, IDC_DPI_Y, IDC_PIXEL_ASPECT, IDC_PIXEL_DIAGONAL,
    IDC_SCREEN_ASPECT, IDC_REFRESH_RATE, IDC_VIRTUAL_SCREEN, IDC_MONITOR_RECT, IDC_HYPOTENUSE,
};

const int PanelTextCapacity = 256;

const WCHAR* ColourCountText(int bitsPixel)
{
    switch (bitsPixel) {
    case 1: return L"2 (Monochrome)";
    case 4: return L"16";
    case 8: return L"256";
    case 15: return L"32,768 (High Color)";
    case 16: return L"65,536 (High Color)";
    case 24:
    case 32: return L"16,777,216 (True Color)";
    }
    return L"";
}

static void ClearPanel(HWND mainWindow)
{
    for (int field : PanelFields)
        SetDlgItemTextW(mainWindow, field, NULL);
}

static void SetPixelAspect(HWND mainWindow, const DisplayCaps& caps, WCHAR* text)
{
    if (caps.aspectX <= 0) {
        SetDlgItemTextW(mainWindow, IDC_PIXEL_ASPECT, L"n/a");
        return;
    }
    double ratio = static_cast<double>(caps.aspectX) / caps.aspectY;
    const WCHAR* shape = ratio == 1.0 ? L"square" : ratio > 1.0 ? L"stretched" : L"squashed";
    FormatText(text, PanelTextCapacity, L"%d/%d (%.2f) %ls", caps.aspectX, caps.aspectY, ratio, shape);
    SetDlgItemTextW(mainWindow, IDC_PIXEL_ASPECT, text);
}

static void SetScreenAspect(HWND mainWindow, const DisplayCaps& caps, WCHAR* text)
{
    const WCHAR* name = StandardResolutionName(caps.desktopHorzRes, caps.desktopVertRes);
    double ratio = static_cast<double>(caps.desktopHorzRes) / caps.desktopVertRes;
    if (name != NULL)
        FormatText(text, PanelTextCapacity, L"%.2f (%ls)", ratio, name);
    else
        FormatText(text, PanelTextCapacity, L"%.2f", ratio);
    SetDlgItemTextW(mainWindow, IDC_SCREEN_ASPECT, text);
}

// The diagonal in pixels and in whole-inch steps of width and height.
static void SetHypotenuse(HWND mainWindow, const DisplayCaps& caps, WCHAR* text)
{
    double pixels = sqrt(pow(static_cast<double>(caps.horzRes), 2) +
                         pow(static_cast<double>(caps.vertRes), 2));
    if (caps.logPixelsX == 0 || caps.logPixelsY == 0) {
        // Without a resolution per inch there are no inches to show.
        FormatText(text, PanelTextCapacity, L"%.2f (n/a)", pixels);
    } else {
        double widthInches = caps.horzRes / caps.logPixelsX;
        double heightInches = caps.vertRes / caps.logPixelsY;
        double inches = sqrt(pow(widthInches, 2) + pow(heightInches, 2));
        FormatText(text, PanelTextCapacity, L"%.2f (%.2f\")", pixels, inches);
    }
    SetDlgItemTextW(mainWindow, IDC_HYPOTENUSE, text);
}

static void SetRefreshRate(HWND mainWindow, const DisplayCaps& caps, WCHAR* text)
{
    if (caps.vRefresh == 0 || caps.vRefresh == 1)
        lstrcpyW(text, L"(H/W Default)");
    else
        FormatText(text, PanelTextCapacity, L"%d Hz", caps.vRefresh);
    SetDlgItemTextW(mainWindow, IDC_REFRESH_RATE, text);
}

void ShowDisplayCaps(HWND mainWindow, const DisplayCaps& caps)
{
    WCHAR text[PanelTextCapacity];
    SetDlgItemInt(mainWindow, IDC_BITS_PER_PIXEL, caps.bitsPixel, TRUE);
    SetDlgItemInt(mainWindow, IDC_PLANES, caps.planes, TRUE);
    SetDlgItemTextW(mainWindow, IDC_NUMBER_OF_COLORS, ColourCountText(caps.bitsPixel));
    FormatText(text, PanelTextCapacity, L"%d pixels (%d millimeters)", caps.horzRes, caps.horzSize);
    SetDlgItemTextW(mainWindow, IDC_HORZ_RESOLUTION, text);
    FormatText(text, PanelTextCapacity, L"%d pixels (%d millimeters)", caps.vertRes, caps.vertSize);
    SetDlgItemTextW(mainWindow, IDC_VERT_RESOLUTION, text);
    SetDlgItemInt(mainWindow, IDC_DPI_X, caps.logPixelsX, TRUE);
    SetDlgItemInt(mainWindow, IDC_DPI_Y, caps.logPixelsY, TRUE);
    SetPixelAspect(mainWindow, caps, text);
    SetDlgItemInt(mainWindow, IDC_PIXEL_DIAGONAL, caps.aspectXY, TRUE);
    SetScreenAspect(mainWindow, caps, text);
    SetHypotenuse(mainWindow, caps, text);
    SetRefreshRate(mainWindow, caps, text);
    FormatText(text, PanelTextCapacity, L"%d x %d pixels", caps.virtualWidth, caps.virtualHeight);
    SetDlgItemTextW(mainWindow, IDC_VIRTUAL_SCREEN, text);
    const RECT& monitor = caps.monitorRect;
    FormatText(text, PanelTextCapacity, L"(%d, %d) - (%d, %d)", monitor.left, monitor.top,
               monitor.right, monitor.bottom);
    SetDlgItemTextW(mainWindow, IDC_MONITOR_RECT, text);
}

static void QueryDisplayCaps(HDC dc, const DisplayDeviceRecord* record, DisplayCaps* caps)
{
    caps->bitsPixel = GetDeviceCaps(dc, BITSPIXEL);
    caps->planes = GetDeviceCaps(dc, PLANES);
    caps->horzRes = GetDeviceCaps(dc, HORZRES);
    caps->vertRes = GetDeviceCaps(dc, VERTRES);
    caps->horzSize = GetDeviceCaps(dc, HORZSIZE);
    caps->vertSize = GetDeviceCaps(dc, VERTSIZE);
    caps->desktopHorzRes = GetDeviceCaps(dc, DESKTOPHORZRES);
    caps->desktopVertRes = GetDeviceCaps(dc, DESKTOPVERTRES);
    caps->logPixelsX = GetDeviceCaps(dc, LOGPIXELSX);
    caps->logPixelsY = GetDeviceCaps(dc, LOGPIXELSY);
    caps->aspectX = GetDeviceCaps(dc, ASPECTX);
    caps->aspectY = GetDeviceCaps(dc, ASPECTY);
    caps->aspectXY = GetDeviceCaps(dc, ASPECTXY);
    caps->vRefresh = GetDeviceCaps(dc, VREFRESH);
    caps->virtualWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    caps->virtualHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    caps->monitorRect = record->monitorRect;
}

// Fills the fields for record and returns the mode list item to select.
static int ShowDeviceFields(HWND mainWindow, HWND modeList, const DisplayDeviceRecord* record)
{
    HDC dc = CreateDCW(NULL, record->adapter.DeviceName, NULL, NULL);
    if (dc == NULL) {
        if (record->hasMonitor)
            ShowStringMessage(mainWindow, IDS_DEVICE_INFO_FAILED, MB_ICONERROR);
        return -1;
    }
    DisplayCaps caps;
    QueryDisplayCaps(dc, record, &caps);
    DeleteDC(dc);
    ShowDisplayCaps(mainWindow, caps);
    return FillModeList(modeList, record->adapter.DeviceName);
}

void ShowDisplayInfo(const DisplayDeviceRecord* record)
{
    HWND mainWindow = AppState.mainWindow;
    HWND modeList = GetDlgItem(mainWindow, IDC_MODE_LIST);
    SendMessageW(modeList, WM_SETREDRAW, FALSE, 0);
    ClearModeList(modeList);
    ClearPanel(mainWindow);
    int selected = record != NULL ? ShowDeviceFields(mainWindow, modeList, record) : -1;
    SendMessageW(modeList, LB_SETCURSEL, selected, 0);
    SendMessageW(modeList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(modeList, NULL, TRUE);
}
