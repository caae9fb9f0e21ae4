// Synthetic device-list records for the tests.
#ifndef PELMIRA_TEST_RECORDS_H
#define PELMIRA_TEST_RECORDS_H

#include <stdlib.h>

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

#endif
