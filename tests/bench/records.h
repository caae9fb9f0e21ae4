// Synthetic device-list records for the tests.
#ifndef PELMIRA_TEST_RECORDS_H
#define PELMIRA_TEST_RECORDS_H

#include <stdlib.h>

#include <commctrl.h>

#include "mainwin/device_list.h"

// A zero-filled record as the device list allocates it (calloc: the list
// frees it), for an adapter on the desktop with an active monitor or none.
inline DisplayDeviceRecord* NewDeviceRecord(const WCHAR* adapterName, bool hasMonitor)
{
    DisplayDeviceRecord* record = static_cast<DisplayDeviceRecord*>(calloc(1, sizeof(DisplayDeviceRecord)));
    lstrcpynW(record->adapter.DeviceName, adapterName, ARRAYSIZE(record->adapter.DeviceName));
    record->adapter.StateFlags = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP;
    if (hasMonitor) {
        record->hasMonitor = 1;
        lstrcpyW(record->monitor.DeviceName, L"\\\\.\\DISPLAY1\\Monitor0");
        record->monitor.StateFlags = DISPLAY_DEVICE_ACTIVE | DISPLAY_DEVICE_ATTACHED;
    }
    return record;
}

// Selects or deselects one row of a list view (-1: every row).
inline void SetRowSelected(HWND list, int row, bool selected)
{
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = selected ? LVIS_SELECTED : 0;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
}

// Puts one synthetic row in the list (the list frees it) and selects it.
inline void ReplaceRows(HWND list, const WCHAR* adapter, bool hasMonitor)
{
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    DisplayDeviceRecord* rows[] = { NewDeviceRecord(adapter, hasMonitor) };
    PopulateDeviceList(list, rows, 1);
    SetRowSelected(list, 0, true);
}

// Stands in for CreateWindowExW: a window that cannot be made.
inline HWND WINAPI RefuseToCreateWindow(DWORD, LPCWSTR, LPCWSTR, DWORD, int, int, int, int, HWND, HMENU,
                                        HINSTANCE, LPVOID)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
}

#endif
