// Running a test in another display mode: what is asked of the system, the
// refusals, the failures after a switch, and real switches in the Wine
// desktop, including a process that crashes while switched.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "app/app_state.h"
#include "app/startup.h"
#include "bench/bench.h"
#include "bench/records.h"
#include "display/mode_list.h"
#include "display/test_mode.h"
#include "mainwin/device_list.h"
#include "mainwin/main_dialog.h"
#include "res/resource.h"

namespace {

struct ChangeRequest {
    std::wstring device;
    DEVMODEW mode;
    DWORD flags;
};

std::vector<ChangeRequest> Requests;
LONG ChangeResult;

LONG WINAPI RecordChange(LPCWSTR device, DEVMODEW* mode, HWND, DWORD flags, LPVOID)
{
    ChangeRequest request = { device, *mode, flags };
    Requests.push_back(request);
    return ChangeResult;
}

// The message boxes shown, and what had been asked of the system when the
// last one came up.
size_t RequestsAtMessageBox;
std::vector<RecordedMessageBox> Shown;

int WINAPI NoteMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    RequestsAtMessageBox = Requests.size();
    RecordedMessageBox box = { owner, text, caption, type };
    Shown.push_back(box);
    return IDOK;
}

DEVMODEW CurrentMode()
{
    DEVMODEW mode;
    ClearDevMode(&mode);
    EnumDisplaySettingsExW(L"\\\\.\\DISPLAY1", ENUM_CURRENT_SETTINGS, &mode, 0);
    return mode;
}

class TestModeTest : public testing::Test {
protected:
    void SetUp() override
    {
        Requests.clear();
        Shown.clear();
        ChangeResult = DISP_CHANGE_SUCCESSFUL;
        PelmiraMessageBox = NoteMessageBox;
        main = CreateMainWindow();
        ASSERT_TRUE(main != NULL);
        modes = GetDlgItem(main, IDC_MODE_LIST);
        // Somewhere the mode changes would move it from.
        SetWindowPos(main, NULL, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        GetWindowRect(main, &mainRect);
    }

    void TearDown() override
    {
        if (AppState.testWindow != NULL)
            SendMessageW(AppState.testWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        DestroyMainWindow(main);
        PelmiraChangeDisplaySettings = ChangeDisplaySettingsExW;
        PelmiraCreateTestWindow = CreateWindowExW;
        RefuseMessageBoxes();
        DEVMODEW mode = CurrentMode();
        EXPECT_EQ(1920u, mode.dmPelsWidth) << "the desktop mode was left changed";
    }

    // Checks the box (or not) and selects the first mode whose text starts
    // with prefix (or none).
    void Choose(bool checked, const WCHAR* prefix)
    {
        CheckDlgButton(main, IDC_USE_TEST_MODE, checked ? BST_CHECKED : BST_UNCHECKED);
        LRESULT index = prefix ? SendMessageW(modes, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(prefix))
                               : -1;
        ASSERT_TRUE(prefix == NULL || index >= 0) << "no mode " << Narrow(prefix);
        SendMessageW(modes, LB_SETCURSEL, index, 0);
    }

    void StartPattern()
    {
        SendMessageW(main, WM_COMMAND, IDC_PATTERN_TEST, 0);
    }

    void EndTest()
    {
        ASSERT_TRUE(IsWindow(AppState.testWindow));
        SendMessageW(AppState.testWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_EQ(NULL, AppState.testWindow);
    }

    // The main window's rectangle, to compare with mainRect.
    std::string MainWindowRect()
    {
        RECT now;
        GetWindowRect(main, &now);
        return RectText(now);
    }

    void ExpectOneError(const WCHAR* text)
    {
        ASSERT_EQ(1u, Shown.size());
        EXPECT_EQ(text, Shown[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), Shown[0].type);
        EXPECT_EQ(main, Shown[0].owner);
        EXPECT_EQ(L"Pelmira", Shown[0].caption);
    }

    HWND main = NULL;
    HWND modes = NULL;
    RECT mainRect;
};

TEST_F(TestModeTest, SwitchIsTemporaryAndRestoreAsksForTheSavedMode)
{
    PelmiraChangeDisplaySettings = RecordChange;
    Choose(true, L"800 x 600, 32 bit");
    StartPattern();
    ASSERT_EQ(1u, Requests.size());
    const DWORD fields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFLAGS | DM_DISPLAYFREQUENCY;
    EXPECT_EQ(L"\\\\.\\DISPLAY1", Requests[0].device);
    EXPECT_EQ(static_cast<DWORD>(CDS_RESET | CDS_FULLSCREEN), Requests[0].flags);
    EXPECT_EQ(0u, Requests[0].flags & CDS_UPDATEREGISTRY);
    EXPECT_EQ(fields, Requests[0].mode.dmFields);
    EXPECT_EQ(sizeof(DEVMODEW), Requests[0].mode.dmSize);
    EXPECT_EQ(800u, Requests[0].mode.dmPelsWidth);
    EXPECT_EQ(600u, Requests[0].mode.dmPelsHeight);
    EXPECT_EQ(32u, Requests[0].mode.dmBitsPerPel);
    EXPECT_EQ(1, AppState.displayModeChanged);

    // The window was "moved by the switch"; the end of the test puts the
    // saved mode and the main window back.
    SetWindowPos(main, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EndTest();
    ASSERT_EQ(2u, Requests.size());
    EXPECT_EQ(static_cast<DWORD>(CDS_RESET), Requests[1].flags);
    EXPECT_EQ(fields, Requests[1].mode.dmFields);
    EXPECT_EQ(1920u, Requests[1].mode.dmPelsWidth);
    EXPECT_EQ(1080u, Requests[1].mode.dmPelsHeight);
    EXPECT_EQ(RectText(mainRect), MainWindowRect());
    EXPECT_EQ(0u, Shown.size());

    // The next test without the box touches neither mode nor window.
    SetWindowPos(main, NULL, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(main, &mainRect);
    Choose(false, L"800 x 600, 32 bit");
    StartPattern();
    EndTest();
    EXPECT_EQ(2u, Requests.size());
    EXPECT_EQ(0, AppState.displayModeChanged);
    EXPECT_EQ(RectText(mainRect), MainWindowRect());
}

TEST_F(TestModeTest, NoSwitchWithoutReason)
{
    PelmiraChangeDisplaySettings = RecordChange;
    struct Case {
        const char* what;
        bool checked;
        const WCHAR* mode;
    } cases[] = { { "box unchecked", false, L"800 x 600, 32 bit" },
                  { "current mode selected", true, L"1920 x 1080, 32 bit, 60 Hz" },
                  { "no mode selected", true, NULL } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Choose(c.checked, c.mode);
        StartPattern();
        EXPECT_EQ(0, AppState.displayModeChanged);
        EndTest();
        EXPECT_EQ(0u, Requests.size());
        EXPECT_EQ(RectText(mainRect), MainWindowRect());
    }
    EXPECT_EQ(0u, Shown.size());
}

TEST_F(TestModeTest, RefusedModeShowsStringHundredEight)
{
    PelmiraChangeDisplaySettings = RecordChange;
    ChangeResult = DISP_CHANGE_BADMODE;
    Choose(true, L"800 x 600, 32 bit");
    StartPattern();
    EXPECT_EQ(NULL, AppState.testWindow);
    EXPECT_EQ(0, AppState.displayModeChanged);
    ExpectOneError(L"Failed to change requested display mode.");
    EXPECT_EQ(1u, Requests.size());
    EXPECT_EQ(RectText(mainRect), MainWindowRect());
}

TEST_F(TestModeTest, FailedStartAfterSwitchPutsTheModeBackAtOnce)
{
    PelmiraChangeDisplaySettings = RecordChange;
    // No monitor rectangle for the device: string 107, after the restore.
    HWND list = GetDlgItem(main, IDC_DEVICE_LIST);
    DisplayDeviceRecord* record = GetDeviceRecord(list, 0);
    ASSERT_TRUE(record != NULL);
    lstrcpyW(record->adapter.DeviceName, L"\\\\.\\DISPLAY9");
    Choose(true, L"800 x 600, 32 bit");
    StartPattern();
    EXPECT_EQ(NULL, AppState.testWindow);
    ExpectOneError(L"Invalid monitor rectangle.");
    EXPECT_EQ(2u, RequestsAtMessageBox) << "the mode must be back before the message";
    EXPECT_EQ(static_cast<DWORD>(CDS_RESET), Requests.back().flags);
    EXPECT_EQ(L"\\\\.\\DISPLAY9", Requests.back().device);
    EXPECT_EQ(RectText(mainRect), MainWindowRect());
    lstrcpyW(record->adapter.DeviceName, L"\\\\.\\DISPLAY1");

    // A test window that cannot be created.
    Requests.clear();
    PelmiraCreateTestWindow = RefuseToCreateWindow;
    StartPattern();
    EXPECT_EQ(NULL, AppState.testWindow);
    ASSERT_EQ(2u, Requests.size());
    EXPECT_EQ(1920u, Requests[1].mode.dmPelsWidth);
    EXPECT_EQ(0, AppState.displayModeChanged);
    EXPECT_EQ(RectText(mainRect), MainWindowRect());
}

TEST_F(TestModeTest, RealSwitchInTheWineDesktop)
{
    Choose(true, L"800 x 600, 32 bit");
    StartPattern();
    ASSERT_TRUE(IsWindow(AppState.testWindow));
    DEVMODEW switched = CurrentMode();
    EXPECT_EQ(800u, switched.dmPelsWidth);
    EXPECT_EQ(600u, switched.dmPelsHeight);
    RECT test;
    GetWindowRect(AppState.testWindow, &test);
    EXPECT_EQ("(0, 0) - (800, 600)", RectText(test));

    EndTest();
    DEVMODEW restored = CurrentMode();
    EXPECT_EQ(1920u, restored.dmPelsWidth);
    EXPECT_EQ(1080u, restored.dmPelsHeight);
    EXPECT_EQ(RectText(mainRect), MainWindowRect());

    // Closing the main window during a switched test puts the mode back too.
    StartPattern();
    EXPECT_EQ(800u, CurrentMode().dmPelsWidth);
    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(1920u, CurrentMode().dmPelsWidth);
    EXPECT_EQ(NULL, AppState.testWindow);
}

TEST_F(TestModeTest, RestoreLeavesAClosingMainWindowHidden)
{
    PelmiraChangeDisplaySettings = RecordChange;
    Choose(true, L"800 x 600, 32 bit");
    StartPattern();
    ASSERT_EQ(1, AppState.displayModeChanged);
    // Closing hides the main window before its test window goes.
    ShowWindow(main, SW_HIDE);
    EndTest();
    EXPECT_EQ(2u, Requests.size()) << "the mode is put back all the same";
    EXPECT_FALSE(IsWindowVisible(main));
}

TEST(TestModeCrash, ProcessThatDiesWhileSwitchedPutsTheModeBack)
{
    WCHAR path[MAX_PATH];
    GetModuleFileNameW(NULL, path, MAX_PATH);
    *wcsrchr(path, L'\\') = L'\0';
    std::wstring helper = std::wstring(path) + L"\\crash_in_test_mode.exe";
    // The debugger's crash report goes nowhere (the loader's one line about
    // the fault still reaches the log).
    SECURITY_ATTRIBUTES inherit = { sizeof(SECURITY_ATTRIBUTES), NULL, TRUE };
    HANDLE nowhere = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, NULL);
    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nowhere;
    startup.hStdOutput = nowhere;
    startup.hStdError = nowhere;
    PROCESS_INFORMATION process;
    std::wstring commandLine = L"\"" + helper + L"\"";
    BOOL started = CreateProcessW(helper.c_str(), &commandLine[0], NULL, NULL, TRUE, 0, NULL, NULL,
                                  &startup, &process);
    CloseHandle(nowhere);
    ASSERT_TRUE(started) << Narrow(helper);
    DWORD waited = WaitForSingleObject(process.hProcess, 60000);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(WAIT_OBJECT_0, waited);
    // 2 and 3: the helper could not switch or did not fault; anything else
    // is the fault's code.
    EXPECT_NE(2u, exitCode) << "the helper could not switch to 800 x 600";
    EXPECT_NE(3u, exitCode) << "the helper did not crash";
    DEVMODEW mode = CurrentMode();
    EXPECT_EQ(1920u, mode.dmPelsWidth);
    EXPECT_EQ(1080u, mode.dmPelsHeight);
}

}  // namespace
