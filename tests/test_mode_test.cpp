// Running a test in another display mode: what is asked of the system, when
// nothing is asked, every path that puts the mode back, and a process that
// crashes while switched. The end-to-end check switches for real.
#include "bench/fixture.h"
#include "bench/records.h"

#include <sstream>

namespace {

// The mode changes asked of the system and the message boxes, in order.
std::vector<std::string> Calls;
LONG ChangeResult, RestoreResult;  // of the switch and of a change back to a mode

LONG WINAPI RecordChange(LPCWSTR device, DEVMODEW* mode, HWND, DWORD flags, LPVOID)
{
    std::ostringstream call;
    call << "change " << Narrow(device != NULL ? device : L"<null>") << " to ";
    if (mode != NULL)
        call << mode->dmPelsWidth << " x " << mode->dmPelsHeight << " x " << mode->dmBitsPerPel << " (fields "
             << std::hex << mode->dmFields << std::dec << ", size " << mode->dmSize << ")";
    else
        call << "no mode";
    call << ", flags " << std::hex << flags;
    Calls.push_back(call.str());
    return mode != NULL && (flags & CDS_FULLSCREEN) == 0 ? RestoreResult : ChangeResult;
}

int WINAPI NoteMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    Calls.push_back("box " + DescribeMessageBox(owner, text, caption, type));
    return IDOK;
}

// CDS_RESET | CDS_FULLSCREEN is 40000004; fields 7c0000 are depth, size,
// flags and rate.
const std::string SwitchTo800 = "change \\\\.\\DISPLAY1 to 800 x 600 x 32 (fields 7c0000, size 220), flags 40000004";
const std::string RestoreTo1920 = "change \\\\.\\DISPLAY1 to 1920 x 1080 x 32 (fields 7c0000, size 220), flags 40000000";

class TestModeTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Calls.clear();
        ChangeResult = RestoreResult = DISP_CHANGE_SUCCESSFUL;
        PelmiraChangeDisplaySettings = RecordChange;
        PelmiraMessageBox = NoteMessageBox;
        // Somewhere the mode changes would move it from.
        SetWindowPos(main, NULL, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        mainRect = MainWindowRect();
    }

    // Checks the box (or not), selects the first mode whose text starts
    // with prefix (or none) and starts a pattern test.
    void StartPattern(bool checked, const WCHAR* prefix)
    {
        CheckDlgButton(main, IDC_USE_TEST_MODE, checked ? BST_CHECKED : BST_UNCHECKED);
        LRESULT index = prefix ? SendMessageW(modes, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(prefix))
                               : -1;
        ASSERT_TRUE(prefix == NULL || index >= 0) << "no mode " << Narrow(prefix);
        SendMessageW(modes, LB_SETCURSEL, index, 0);
        Command(IDC_PATTERN_TEST);
    }

    std::string MainWindowRect()
    {
        RECT now = {};
        return GetWindowRect(main, &now) ? RectText(now) : "no main window";
    }

    std::string mainRect;
};

TEST_F(TestModeTest, SwitchIsTemporaryAndTheEndOfTheTestPutsModeAndWindowBack)
{
    StartPattern(true, L"800 x 600, 32 bit");
    EXPECT_EQ(1, AppState.displayModeChanged);
    SetWindowPos(main, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // "moved by the switch"
    ASSERT_TRUE(EndTestWindow());
    EXPECT_EQ(std::vector<std::string>({ SwitchTo800, RestoreTo1920 }), Calls);
    EXPECT_EQ(mainRect, MainWindowRect());

    // A main window that is closing (hidden before its test window goes)
    // gets the mode back but is not shown again.
    StartPattern(true, L"800 x 600, 32 bit");
    ShowWindow(main, SW_HIDE);
    ASSERT_TRUE(EndTestWindow());
    EXPECT_FALSE(IsWindowVisible(main));
    // Closing the main window during a switched test puts the mode back too.
    Calls.clear();
    StartPattern(true, L"800 x 600, 32 bit");
    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(std::vector<std::string>({ SwitchTo800, RestoreTo1920 }), Calls);
}

BOOL WINAPI NoMonitorInfo(HMONITOR, LPMONITORINFO)
{
    return FALSE;
}

TEST_F(TestModeTest, NoSwitchWithoutReasonAndFailedStartsPutTheModeBackBeforeTheMessage)
{
    const WCHAR* const mode800 = L"800 x 600, 32 bit";
    struct Case {
        bool checked;
        const WCHAR* mode;
        LONG result;
        bool monitorFound, windowMade;
        std::vector<std::string> calls;
    } cases[] = {
        { false, mode800, DISP_CHANGE_SUCCESSFUL, true, true, {} },                        // box unchecked
        { true, L"1920 x 1080, 32 bit, 60 Hz", DISP_CHANGE_SUCCESSFUL, true, true, {} },  // the current mode
        { true, NULL, DISP_CHANGE_SUCCESSFUL, true, true, {} },                            // no mode selected
        { true, mode800, DISP_CHANGE_BADMODE, true, true,
          { SwitchTo800, "box Failed to change requested display mode. (Pelmira, error)" } },
        { true, mode800, DISP_CHANGE_SUCCESSFUL, false, true,
          { SwitchTo800, RestoreTo1920, "box Invalid monitor rectangle. (Pelmira, error)" } },
        { true, mode800, DISP_CHANGE_SUCCESSFUL, true, false, { SwitchTo800, RestoreTo1920 } },  // no window made
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        Calls.clear();
        ChangeResult = c.result;
        PelmiraGetMonitorInfo = c.monitorFound ? GetMonitorInfoW : NoMonitorInfo;
        PelmiraCreateTestWindow = c.windowMade ? CreateWindowExW : RefuseToCreateWindow;
        StartPattern(c.checked, c.mode);
        EXPECT_EQ(0, AppState.displayModeChanged);
        EXPECT_EQ(c.calls.empty(), AppState.testWindow != NULL) << "a test window only where nothing was asked";
        EndTestWindow();
        EXPECT_EQ(c.calls, Calls);
        EXPECT_EQ(mainRect, MainWindowRect());
    }
}

BOOL WINAPI CurrentModeUnreadable(LPCWSTR, DWORD, DEVMODEW*, DWORD)
{
    return FALSE;
}

// When the mode in force could not be read before the switch, or the system
// refuses it afterwards, the end of the test returns the device to its stored
// settings: not to a mode of zeros, and not left in the test mode.
TEST_F(TestModeTest, UnreadableOrRefusedModeGoesBackToTheStoredSettings)
{
    const std::string toStored = "change \\\\.\\DISPLAY1 to no mode, flags 0";
    const struct {
        bool readable;
        LONG restore;
        std::vector<std::string> calls;
    } cases[] = { { false, DISP_CHANGE_SUCCESSFUL, { SwitchTo800, toStored } },
                  { true, DISP_CHANGE_BADMODE, { SwitchTo800, RestoreTo1920, toStored } } };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "current mode readable " << c.readable);
        Calls.clear();
        PelmiraEnumDisplaySettings = c.readable ? EnumDisplaySettingsExW : CurrentModeUnreadable;
        RestoreResult = c.restore;
        StartPattern(true, L"800 x 600, 32 bit");
        ASSERT_TRUE(EndTestWindow());
        EXPECT_EQ(c.calls, Calls);
    }
}

TEST(TestModeCrash, ProcessThatDiesWhileSwitchedPutsTheModeBack)
{
    WCHAR path[MAX_PATH];
    GetModuleFileNameW(NULL, path, MAX_PATH);
    lstrcpyW(wcsrchr(path, L'\\'), L"\\crash_in_test_mode.exe");
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;  // none: the debugger's crash report goes nowhere
    PROCESS_INFORMATION process;
    ASSERT_TRUE(CreateProcessW(path, NULL, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) << Narrow(path);
    WaitForSingleObject(process.hProcess, 60000);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &exitCode);
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // 2 and 3: the helper could not switch or did not fault; anything else
    // is the fault's code.
    EXPECT_NE(STILL_ACTIVE, exitCode) << "the helper did not end";
    EXPECT_NE(2u, exitCode) << "the helper could not switch to 800 x 600";
    EXPECT_NE(3u, exitCode) << "the helper did not crash";
    ExpectTheDesktopModeAndPutItBack();
}

}  // namespace
