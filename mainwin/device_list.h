// The main window's list of display adapters, each with its first monitor.
#ifndef PELMIRA_DEVICE_LIST_H
#define PELMIRA_DEVICE_LIST_H

#include <windows.h>
#include <commctrl.h>

// One row of the device list, owned by the row (its lParam).
struct DisplayDeviceRecord {
    DISPLAY_DEVICEW adapter;
    LONG hasMonitor;          // 1 when the adapter's monitor 0 was enumerated
    DISPLAY_DEVICEW monitor;  // all zero without a monitor
    RECT monitorRect;         // virtual-screen rectangle; all zero when none matched
};

const int DeviceStateTextCapacity = 128;
const int MinimumDeviceRowHeight = 40;

void InitDeviceList();
void FillDeviceList();

// Inserts one row per record (the rows take ownership), finds the monitor
// rectangles and selects the row that ChooseInitialDeviceRow picks. A record
// that cannot be inserted is freed.
void PopulateDeviceList(HWND list, DisplayDeviceRecord** records, int count);

// The row to select when the list is filled: the last primary adapter with a
// monitor, else the first adapter whose monitor is active, else -1.
int ChooseInitialDeviceRow(const DisplayDeviceRecord* const* records, int count);

// Stores rcMonitor in the first row whose adapter is named monitorDevice
// (compared without regard to case); returns the row index or -1.
int AssignMonitorRect(HWND list, const WCHAR* monitorDevice, const RECT* rcMonitor);

BOOL CALLBACK FillMonitorRects(HMONITOR monitor, HDC monitorDc, LPRECT monitorRect, LPARAM list);

// Row height for a default GUI font of the given LOGFONT, or of none (null).
int DeviceRowHeight(const LOGFONTW* defaultGuiFont);
void MeasureDeviceListItem(MEASUREITEMSTRUCT* measure);

// The record of a row, or null when the row cannot be read.
DisplayDeviceRecord* GetDeviceRecord(HWND list, int row);
// The record of the main window's first selected row, or null.
DisplayDeviceRecord* FirstSelectedDevice(HWND mainWindow);

// A newly selected row fills the panel and enables "Monitor details" when
// it has a monitor.
void OnDeviceListItemChanged(const NMLISTVIEW* change);
void OnDeviceListDeleteItem(const NMLISTVIEW* deletion);

void FormatDeviceStateFlags(DWORD flags, WCHAR* buffer);
void DrawDeviceListItem(UINT controlId, const DRAWITEMSTRUCT* item);

#endif
