// The main window: the quick help, the start of a test on the selected
// monitor and its refusals, and opening, testing and closing without leaks.
#include "bench/fixture.h"
#include "bench/records.h"

namespace {

TEST_F(MainWindowTest, RefusalsAndQuickHelp)
{
    // No selected row: nothing at all. A row without a monitor: string 105,
    // with the adapter noted. A monitor that no display monitor matches:
    // 107. The quick help, far longer than 128 characters, whole. Enter and
    // Escape (IDOK, IDCANCEL): nothing.
    SetRowSelected(list, -1, false);
    Command(IDC_PATTERN_TEST);
    ReplaceRows(list, L"\\\\.\\DISPLAY7", false);
    Command(IDC_MOTION_TEST);
    EXPECT_STREQ(L"\\\\.\\DISPLAY7", AppState.testDeviceName);
    ReplaceRows(list, L"\\\\.\\DISPLAY9", true);
    Command(IDC_PATTERN_TEST);
    Command(IDC_QUICK_HELP);
    Command(IDOK);
    Command(IDCANCEL);
    EXPECT_TRUE(IsWindow(main));

    std::vector<std::string> shown = StopRecordingMessageBoxes();
    ASSERT_EQ(3u, shown.size());
    EXPECT_EQ("No monitor attached to this device. (Pelmira, exclamation)", shown[0]);
    EXPECT_EQ("Invalid monitor rectangle. (Pelmira, error)", shown[1]);
    EXPECT_EQ(0u, shown[2].find("Quick Help:\n")) << shown[2];
    EXPECT_NE(std::string::npos, shown[2].find("highest resolution supported. (Pelmira, information)")) << shown[2];
}

// The one monitor of the Wine desktop, described as a second one at 1920,0.
BOOL WINAPI OfferSecondMonitor(HMONITOR monitor, LPMONITORINFO info)
{
    if (!GetMonitorInfoW(monitor, info))
        return FALSE;
    SetRect(&info->rcMonitor, 1920, 0, 3200, 1024);
    lstrcpyW(reinterpret_cast<MONITORINFOEXW*>(info)->szDevice, L"\\\\.\\DISPLAY2");
    return TRUE;
}

TEST_F(MainWindowTest, TestWindowCoversTheSelectedMonitor)
{
    const RECT primary = { 0, 0, 1920, 1080 }, second = { 1920, 0, 3200, 1024 }, none = {};
    struct Case {
        const WCHAR* adapter;
        int command;
        const RECT* monitor;
    } cases[] = { { L"\\\\.\\DISPLAY1", IDC_PATTERN_TEST, &primary },
                  { L"\\\\.\\display1", IDC_MOTION_TEST, &primary },
                  { L"\\\\.\\DISPLAY2", IDC_PATTERN_TEST, &second } };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << Narrow(c.adapter) << ", command " << c.command);
        PelmiraGetMonitorInfo = c.monitor == &second ? OfferSecondMonitor : GetMonitorInfoW;
        ReplaceRows(list, c.adapter, true);
        // The list matched the real monitor to its adapter without regard to case.
        const RECT* listed = c.monitor == &primary ? &primary : &none;
        EXPECT_EQ(RectText(*listed), RectText(GetDeviceRecord(list, 0)->monitorRect));
        Command(c.command);
        HWND test = AppState.testWindow;
        ASSERT_TRUE(IsWindow(test));
        RECT rect;
        GetWindowRect(test, &rect);
        EXPECT_EQ(RectText(*c.monitor), RectText(rect));
        const LONG styles = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
        EXPECT_EQ(styles, GetWindowLongW(test, GWL_STYLE) & (styles | WS_CAPTION));
        EXPECT_EQ(main, GetWindow(test, GW_OWNER));
        EXPECT_EQ(c.command == IDC_MOTION_TEST ? 1 : 0, AppState.motionActive);  // the test's own window

        // Either button only brings the running test forward.
        Command(IDC_PATTERN_TEST);
        Command(IDC_MOTION_TEST);
        EXPECT_EQ(test, AppState.testWindow);
        EXPECT_TRUE(EndTestWindow());
        EXPECT_EQ(0, AppState.motionActive);
    }
}

// The panel follows the row selected last, and a test starts on that device:
// a Ctrl-click on another row replaces the selection rather than adding to it.
TEST_F(MainWindowTest, TestStartsOnTheDeviceThePanelShows)
{
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    DisplayDeviceRecord* rows[] = { NewDeviceRecord(L"\\\\.\\DISPLAY1", true),
                                    NewDeviceRecord(L"\\\\.\\DISPLAY2", true) };
    PopulateDeviceList(list, rows, 2);
    ASSERT_EQ(0, SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    RECT second = { LVIR_BOUNDS, 0, 0, 0 };
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    LPARAM at = MAKELPARAM(second.left + 30, (second.top + second.bottom) / 2);
    PostMessageW(list, WM_LBUTTONUP, MK_CONTROL, at);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, at);
    PumpMessagesFor(50);
    EXPECT_EQ(1, SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
    Command(IDC_PATTERN_TEST);
    EXPECT_STREQ(L"\\\\.\\DISPLAY2", AppState.testDeviceName);
}

TEST(MainWindowLeaks, OpeningTestingAndClosingLeaveNothingBehind)
{
    // Ten rounds of a main window, a pattern and a motion test, and the
    // close; the first round may make lasting system objects.
    std::string before;
    size_t heapBefore = 0;
    for (int round = 0; round <= 10; ++round) {
        if (round == 1) {
            before = DescribeCounts(CurrentObjectCounts());
            heapBefore = CrtHeapBytesInUse();
        }
        HWND main = CreateMainWindow();
        ASSERT_TRUE(main != NULL);
        const int commands[] = { IDC_PATTERN_TEST, IDC_MOTION_TEST };
        for (int command : commands) {
            SendMessageW(main, WM_COMMAND, command, 0);
            ASSERT_TRUE(IsWindow(AppState.testWindow)) << "round " << round << ", command " << command;
            UpdateWindow(AppState.testWindow);
            ASSERT_TRUE(EndTestWindow());
        }
        UpdateWindow(main);
        SendMessageW(main, WM_CLOSE, 0, 0);
        DrainQuitMessages();
    }
    EXPECT_EQ(heapBefore, CrtHeapBytesInUse()) << "heap bytes of the C runtime";
    EXPECT_EQ(before, DescribeCounts(CurrentObjectCounts()));
}

}  // namespace
