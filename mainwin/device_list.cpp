// Filling the device list and following its selection.
#include "mainwin/device_list.h"

#include <stdlib.h>
#include <uxtheme.h>

#include <vector>

#include "app/app_state.h"
#include "display/display_info.h"
#include "res/resource.h"

struct DeviceColumn {
    const WCHAR* header;
    int width;
};

static const DeviceColumn DeviceColumns[] = {
    { L"Device Name", 155 },
    { L"Device String", 140 },
    { L"State", 140 },
    { L"H/W ID", 160 },
    { L"Registry Key", 215 },
};

static HWND DeviceListWindow()
{
    return GetDlgItem(AppState.mainWindow, IDC_DEVICE_LIST);
}

static void SetMainWindowIcon()
{
    HICON icon = LoadIconW(AppState.instance, MAKEINTRESOURCEW(IDI_APP));
    SendMessageW(AppState.mainWindow, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(AppState.mainWindow, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

static void CreateDeviceImageList()
{
    AppState.deviceImageList = ImageList_Create(16, 16, ILC_COLOR32, 2, 0);
    const int bitmapIds[] = { IDB_ADAPTER, IDB_MONITOR };
    for (int id : bitmapIds) {
        HBITMAP bitmap = LoadBitmapW(AppState.instance, MAKEINTRESOURCEW(id));
        ImageList_Add(AppState.deviceImageList, bitmap, NULL);
        // The image list keeps its own copy of the pixels.
        if (bitmap != NULL)
            DeleteObject(bitmap);
    }
}

static void InsertDeviceColumns(HWND list)
{
    for (int i = 0; i < static_cast<int>(ARRAYSIZE(DeviceColumns)); ++i) {
        LVCOLUMNW column;
        ZeroMemory(&column, sizeof(column));
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = LVCFMT_LEFT;
        column.cx = DeviceColumns[i].width;
        column.pszText = const_cast<WCHAR*>(DeviceColumns[i].header);
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

void InitDeviceList()
{
    HWND list = DeviceListWindow();
    AppState.testWindow = NULL;
    EnableThemeDialogTexture(AppState.mainWindow, ETDT_ENABLE);
    SetMainWindowIcon();
    AppState.listTheme = (IsAppThemed() && AppState.isVistaOrLater)
                             ? OpenThemeData(list, L"EXPLORER::LISTVIEW")
                             : NULL;
    SetWindowTheme(list, L"Explorer", NULL);
    const LPARAM extended = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    CreateDeviceImageList();
    InsertDeviceColumns(list);
}

static DisplayDeviceRecord* QueryDisplayDevice(DWORD index)
{
    DISPLAY_DEVICEW adapter;
    ZeroMemory(&adapter, sizeof(adapter));
    adapter.cb = sizeof(adapter);
    if (!EnumDisplayDevicesW(NULL, index, &adapter, 0))
        return NULL;

    DisplayDeviceRecord* record =
        static_cast<DisplayDeviceRecord*>(calloc(1, sizeof(DisplayDeviceRecord)));
    if (record == NULL)
        return NULL;
    record->adapter = adapter;
    DISPLAY_DEVICEW monitor;
    ZeroMemory(&monitor, sizeof(monitor));
    monitor.cb = sizeof(monitor);
    if (EnumDisplayDevicesW(adapter.DeviceName, 0, &monitor, 0)) {
        record->hasMonitor = 1;
        record->monitor = monitor;
    }
    return record;
}

void FillDeviceList()
{
    std::vector<DisplayDeviceRecord*> records;
    for (DWORD index = 0;; ++index) {
        DisplayDeviceRecord* record = QueryDisplayDevice(index);
        if (record == NULL)
            break;
        records.push_back(record);
    }
    PopulateDeviceList(DeviceListWindow(), records.data(), static_cast<int>(records.size()));
}

int ChooseInitialDeviceRow(const DisplayDeviceRecord* const* records, int count)
{
    int row = -1;
    for (int i = 0; i < count; ++i) {
        const DisplayDeviceRecord* record = records[i];
        if (record == NULL || !record->hasMonitor)
            continue;
        if (record->adapter.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE)
            row = i;
        else if ((record->monitor.StateFlags & DISPLAY_DEVICE_ACTIVE) && row < 0)
            row = i;
    }
    return row;
}

// Inserts the records as rows; returns the number of rows made. Records that
// the list refuses are freed and dropped from the array.
static int InsertDeviceRows(HWND list, DisplayDeviceRecord** records, int count)
{
    int rows = 0;
    for (int i = 0; i < count; ++i) {
        LVITEMW item;
        ZeroMemory(&item, sizeof(item));
        item.mask = LVIF_PARAM;
        item.iItem = rows;
        item.lParam = reinterpret_cast<LPARAM>(records[i]);
        if (SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0)
            free(records[i]);
        else
            records[rows++] = records[i];
    }
    return rows;
}

void PopulateDeviceList(HWND list, DisplayDeviceRecord** records, int count)
{
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    int rows = InsertDeviceRows(list, records, count);
    int selected = ChooseInitialDeviceRow(records, rows);
    EnumDisplayMonitors(NULL, NULL, FillMonitorRects, reinterpret_cast<LPARAM>(list));
    if (selected >= 0) {
        LVITEMW state;
        ZeroMemory(&state, sizeof(state));
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        SendMessageW(list, LVM_SETITEMSTATE, selected, reinterpret_cast<LPARAM>(&state));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, NULL, TRUE);
}

DisplayDeviceRecord* GetDeviceRecord(HWND list, int row)
{
    LVITEMW item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)))
        return NULL;
    return reinterpret_cast<DisplayDeviceRecord*>(item.lParam);
}

DisplayDeviceRecord* FirstSelectedDevice(HWND mainWindow)
{
    HWND list = GetDlgItem(mainWindow, IDC_DEVICE_LIST);
    int row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                            LVNI_SELECTED));
    if (row < 0)
        return NULL;
    return GetDeviceRecord(list, row);
}

int AssignMonitorRect(HWND list, const WCHAR* monitorDevice, const RECT* rcMonitor)
{
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        DisplayDeviceRecord* record = GetDeviceRecord(list, row);
        if (record != NULL && SameDeviceName(record->adapter.DeviceName, monitorDevice)) {
            record->monitorRect = *rcMonitor;
            return row;
        }
    }
    return -1;
}

BOOL CALLBACK FillMonitorRects(HMONITOR monitor, HDC, LPRECT, LPARAM list)
{
    MONITORINFOEXW info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(monitor, &info))
        AssignMonitorRect(reinterpret_cast<HWND>(list), info.szDevice, &info.rcMonitor);
    return TRUE;
}

int DeviceRowHeight(const LOGFONTW* defaultGuiFont)
{
    if (defaultGuiFont == NULL)
        return MinimumDeviceRowHeight;
    int height = 2 * abs(static_cast<int>(defaultGuiFont->lfHeight));
    return height < MinimumDeviceRowHeight ? MinimumDeviceRowHeight : height;
}

void MeasureDeviceListItem(MEASUREITEMSTRUCT* measure)
{
    LOGFONTW font;
    HGDIOBJ stockFont = GetStockObject(DEFAULT_GUI_FONT);
    bool readable = stockFont != NULL && GetObjectW(stockFont, sizeof(font), &font) == sizeof(font);
    measure->itemHeight = DeviceRowHeight(readable ? &font : NULL);
}

void OnDeviceListItemChanged(const NMLISTVIEW* change)
{
    if ((change->uOldState & LVIS_SELECTED) || !(change->uNewState & LVIS_SELECTED))
        return;
    DisplayDeviceRecord* record = GetDeviceRecord(change->hdr.hwndFrom, change->iItem);
    if (record == NULL)
        return;
    ShowDisplayInfo(record);
    EnableWindow(GetDlgItem(AppState.mainWindow, IDC_MONITOR_DETAILS), record->hasMonitor != 0);
}

void OnDeviceListDeleteItem(const NMLISTVIEW* deletion)
{
    free(GetDeviceRecord(deletion->hdr.hwndFrom, deletion->iItem));
}
