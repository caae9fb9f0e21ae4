// Switching to the test display mode and back.
#include "display/test_mode.h"

#include "app/app_state.h"
#include "display/mode_list.h"
#include "mainwin/device_list.h"
#include "res/resource.h"

ChangeDisplaySettingsFunction PelmiraChangeDisplaySettings = ChangeDisplaySettingsExW;

// A mode to apply: zero-filled, with exactly depth, size, flags and rate.
static void BuildMode(DEVMODEW* mode, DWORD bitsPerPel, DWORD width, DWORD height,
                      DWORD displayFlags, DWORD frequency)
{
    ClearDevMode(mode);
    mode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFLAGS | DM_DISPLAYFREQUENCY;
    mode->dmBitsPerPel = bitsPerPel;
    mode->dmPelsWidth = width;
    mode->dmPelsHeight = height;
    mode->dmDisplayFlags = displayFlags;
    mode->dmDisplayFrequency = frequency;
}

// Ends the temporary switch: back to the mode read before it or, when that
// could not be read or is refused, to the device's stored settings (a null
// mode), so that the test mode never outlives the test.
static void SwitchToSavedMode(ChangeDisplaySettingsFunction change)
{
    if (AppState.testDevModeKnown) {
        const DEVMODEW& saved = AppState.testDevMode;
        DEVMODEW mode;
        BuildMode(&mode, saved.dmBitsPerPel, saved.dmPelsWidth, saved.dmPelsHeight,
                  saved.dmDisplayFlags, saved.dmDisplayFrequency);
        if (change(AppState.testDeviceName, &mode, NULL, RestoreModeFlags, NULL) == DISP_CHANGE_SUCCESSFUL)
            return;
    }
    change(AppState.testDeviceName, NULL, NULL, 0, NULL);
}

// A crash during a switched test must not leave the user in the test mode.
// The filter is in force only while the mode is switched.
static LONG WINAPI RestoreModeOnCrash(EXCEPTION_POINTERS* exception)
{
    SwitchToSavedMode(ChangeDisplaySettingsExW);
    LPTOP_LEVEL_EXCEPTION_FILTER previous = AppState.previousCrashFilter;
    return previous != NULL ? previous(exception) : EXCEPTION_CONTINUE_SEARCH;
}

static void InstallCrashFilter()
{
    if (AppState.crashFilterInstalled)
        return;
    AppState.previousCrashFilter = SetUnhandledExceptionFilter(RestoreModeOnCrash);
    AppState.crashFilterInstalled = 1;
}

static void RemoveCrashFilter()
{
    if (!AppState.crashFilterInstalled)
        return;
    SetUnhandledExceptionFilter(AppState.previousCrashFilter);
    AppState.previousCrashFilter = NULL;
    AppState.crashFilterInstalled = 0;
}

static const DisplayModeEntry* SelectedTestMode(HWND mainWindow)
{
    HWND list = GetDlgItem(mainWindow, IDC_MODE_LIST);
    LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index < 0)
        return NULL;
    LRESULT data = SendMessageW(list, LB_GETITEMDATA, index, 0);
    if (data == LB_ERR || data == 0)
        return NULL;
    return reinterpret_cast<const DisplayModeEntry*>(data);
}

BOOL ApplyTestDisplayMode(HWND mainWindow, const DisplayDeviceRecord* record)
{
    AppState.displayModeChanged = 0;
    if (IsDlgButtonChecked(mainWindow, IDC_USE_TEST_MODE) != BST_CHECKED)
        return TRUE;
    const DisplayModeEntry* test = SelectedTestMode(mainWindow);
    if (test == NULL)
        return TRUE;

    const WCHAR* device = record->adapter.DeviceName;
    ClearDevMode(&AppState.testDevMode);
    AppState.testDevModeKnown =
        PelmiraEnumDisplaySettings(device, ENUM_CURRENT_SETTINGS, &AppState.testDevMode, 0) ? 1 : 0;
    if (ModeMatchesEntry(AppState.testDevMode, *test))
        return TRUE;

    DEVMODEW mode;
    BuildMode(&mode, test->bitsPerPel, test->width, test->height, test->displayFlags, test->frequency);
    GetWindowRect(mainWindow, &AppState.savedMainWindowRect);
    if (PelmiraChangeDisplaySettings(device, &mode, NULL, TestModeSwitchFlags, NULL) != DISP_CHANGE_SUCCESSFUL) {
        ShowStringMessage(mainWindow, IDS_MODE_CHANGE_FAILED, MB_ICONERROR);
        return FALSE;
    }
    AppState.displayModeChanged = 1;
    InstallCrashFilter();
    return TRUE;
}

static void PutSavedModeBack()
{
    SwitchToSavedMode(PelmiraChangeDisplaySettings);
    RemoveCrashFilter();
    // A main window on its way out (closed during the test, it is hidden
    // before its test window goes) is not shown again.
    if (!IsWindowVisible(AppState.mainWindow))
        return;
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
