// Switching to the test display mode and back.
#include "display/test_mode.h"

#include "app/app_state.h"
#include "mainwin/device_list.h"

BOOL ApplyTestDisplayMode(HWND, const DisplayDeviceRecord*)
{
    AppState.displayModeChanged = 0;
    return TRUE;
}

static void PutSavedModeBack()
{
    DEVMODEW mode;
    ZeroMemory(&mode, sizeof(mode));
    mode.dmSize = sizeof(mode);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFLAGS | DM_DISPLAYFREQUENCY;
    mode.dmBitsPerPel = AppState.testDevMode.dmBitsPerPel;
    mode.dmPelsWidth = AppState.testDevMode.dmPelsWidth;
    mode.dmPelsHeight = AppState.testDevMode.dmPelsHeight;
    mode.dmDisplayFlags = AppState.testDevMode.dmDisplayFlags;
    mode.dmDisplayFrequency = AppState.testDevMode.dmDisplayFrequency;
    ChangeDisplaySettingsExW(AppState.testDeviceName, &mode, NULL, CDS_RESET, NULL);

    const RECT& saved = AppState.savedMainWindowRect;
    SetWindowPos(AppState.mainWindow, NULL, saved.left, saved.top, saved.right - saved.left,
                 saved.bottom - saved.top, SWP_SHOWWINDOW);
    InvalidateRect(AppState.mainWindow, NULL, TRUE);
    UpdateWindow(AppState.mainWindow);
}

void RevertTestDisplayMode()
{
    if (!AppState.displayModeChanged)
        return;
    PutSavedModeBack();
    AppState.displayModeChanged = 0;
}

void RestoreAfterTest()
{
    if (AppState.testWindow == NULL)
        return;
    if (AppState.displayModeChanged)
        PutSavedModeBack();
    AppState.testWindow = NULL;
    AppState.patternPopup = NULL;
    AppState.motionActive = 0;
}
