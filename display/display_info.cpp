// The information panel of the main window.
#include "display/display_info.h"

#include <windows.h>

#include "app/app_state.h"
#include "display/mode_list.h"
#include "mainwin/device_list.h"
#include "res/resource.h"

void ShowDisplayInfo(const DisplayDeviceRecord* record)
{
    HWND modeList = GetDlgItem(AppState.mainWindow, IDC_MODE_LIST);
    SendMessageW(modeList, WM_SETREDRAW, FALSE, 0);
    ClearModeList(modeList);
    int selected = -1;
    if (record != NULL)
        selected = FillModeList(modeList, record->adapter.DeviceName);
    SendMessageW(modeList, LB_SETCURSEL, selected, 0);
    SendMessageW(modeList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(modeList, NULL, TRUE);
}
