// The fixture of the tests that work on a main window: a new main window for
// each test, message boxes recorded, and afterwards no test window left,
// every seam back, and the desktop in its 1920 x 1080 mode.
#ifndef PELMIRA_TEST_FIXTURE_H
#define PELMIRA_TEST_FIXTURE_H

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/startup.h"
#include "bench/bench.h"
#include "display/mode_list.h"
#include "display/monitor_query.h"
#include "display/test_mode.h"
#include "mainwin/main_dialog.h"
#include "res/resource.h"

// The tests' desktop is 1920 x 1080: a test that leaves it otherwise fails,
// and the later ones find it as they expect.
inline void ExpectTheDesktopModeAndPutItBack()
{
    DEVMODEW mode;
    ClearDevMode(&mode);
    EnumDisplaySettingsExW(L"\\\\.\\DISPLAY1", ENUM_CURRENT_SETTINGS, &mode, 0);
    if (mode.dmPelsWidth == 1920 && mode.dmPelsHeight == 1080)
        return;
    ADD_FAILURE() << "the desktop mode was left at " << mode.dmPelsWidth << " x " << mode.dmPelsHeight;
    ChangeDisplaySettingsExW(NULL, NULL, NULL, 0, NULL);  // the mode in the registry
}

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        StartRecordingMessageBoxes();
        main = CreateMainWindow();
        ASSERT_TRUE(main != NULL);
        list = GetDlgItem(main, IDC_DEVICE_LIST);
        modes = GetDlgItem(main, IDC_MODE_LIST);
    }

    void TearDown() override
    {
        EndTestWindow();
        DestroyWindow(main);  // if the test has not closed it
        DrainQuitMessages();
        EXPECT_EQ(NULL, AppState.testWindow);
        StopRecordingMessageBoxes();
        PelmiraCreateTestWindow = CreateWindowExW;
        PelmiraGetMonitorInfo = GetMonitorInfoW;
        PelmiraEnumDisplaySettings = EnumDisplaySettingsExW;
        PelmiraChangeDisplaySettings = ChangeDisplaySettingsExW;
        PelmiraReadMonitorEdid = ReadMonitorEdid;
        PelmiraQueryExactRefresh = QueryExactRefresh;
        ExpectTheDesktopModeAndPutItBack();
    }

    // A button's command, as a click sends it.
    void Command(int id)
    {
        SendMessageW(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }

    HWND main = NULL;
    HWND list = NULL;
    HWND modes = NULL;
};

#endif
