// Starting a pattern or motion test on the selected device's monitor.
#include "mainwin/main_dialog.h"

#include <commctrl.h>

#include "app/app_state.h"
#include "app/startup.h"
#include "display/test_mode.h"
#include "mainwin/device_list.h"
#include "res/resource.h"

CreateWindowFunction PelmiraCreateTestWindow = CreateWindowExW;
GetMonitorInfoFunction PelmiraGetMonitorInfo = GetMonitorInfoW;

BOOL CALLBACK FindMonitorRect(HMONITOR monitor, HDC, LPRECT, LPARAM context)
{
    MonitorSearch* search = reinterpret_cast<MonitorSearch*>(context);
    MONITORINFOEXW info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    if (!PelmiraGetMonitorInfo(monitor, &info))
        return TRUE;
    if (!SameDeviceName(search->deviceName, info.szDevice))
        return TRUE;
    *search->rect = info.rcMonitor;
    search->found = 1;
    return FALSE;
}

static bool BringLiveTestForward()
{
    if (!IsTestWindowAlive())
        return false;
    SetForegroundWindow(AppState.testWindow);
    return true;
}

static bool LocateMonitor(const WCHAR* deviceName, RECT* rect)
{
    SetRectEmpty(rect);
    MonitorSearch search = { deviceName, rect, 0 };
    EnumDisplayMonitors(NULL, NULL, FindMonitorRect, reinterpret_cast<LPARAM>(&search));
    return search.found != 0 && !IsRectEmpty(rect);
}

static HWND CreateTestWindow(HWND mainWindow, int command, const RECT& rect)
{
    const WCHAR* className =
        command == IDC_MOTION_TEST ? MotionTestClassName : PatternTestClassName;
    return PelmiraCreateTestWindow(0, className, NULL, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                   rect.left, rect.top, rect.right - rect.left,
                                   rect.bottom - rect.top, mainWindow, NULL, AppState.instance,
                                   NULL);
}

void StartTest(HWND mainWindow, int command)
{
    if (BringLiveTestForward())
        return;
    AppState.testWindow = NULL;

    DisplayDeviceRecord* record = FirstSelectedDevice(mainWindow);
    if (record == NULL)
        return;
    lstrcpynW(AppState.testDeviceName, record->adapter.DeviceName,
              ARRAYSIZE(AppState.testDeviceName));
    if (!record->hasMonitor) {
        ShowStringMessage(mainWindow, IDS_NO_MONITOR_ATTACHED, MB_ICONEXCLAMATION);
        return;
    }
    if (!ApplyTestDisplayMode(mainWindow, record))
        return;

    RECT rect;
    if (!LocateMonitor(record->adapter.DeviceName, &rect)) {
        // A mode switched for this test must not outlive the failed start.
        RevertTestDisplayMode();
        ShowStringMessage(mainWindow, IDS_INVALID_MONITOR_RECT, MB_ICONERROR);
        return;
    }
    HWND testWindow = CreateTestWindow(mainWindow, command, rect);
    if (testWindow == NULL) {
        RevertTestDisplayMode();
        return;
    }
    AppState.testWindow = testWindow;
    SetForegroundWindow(testWindow);
}
