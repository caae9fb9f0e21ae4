// The main window: its template, its commands, the start of a test and its
// refusals, the banner, and tear-down without leaks.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>
#include <stdlib.h>

#include "app/app_state.h"
#include "app/startup.h"
#include "bench/bench.h"
#include "bench/records.h"
#include "bench/dialog_template.h"
#include "mainwin/device_list.h"
#include "mainwin/main_dialog.h"
#include "res/resource.h"

namespace {

const DWORD Child = WS_CHILD | WS_VISIBLE;
const DWORD Label = Child | WS_GROUP;
const DWORD Field = Child | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | ES_READONLY;
const DWORD Push = Child | WS_TABSTOP | BS_PUSHBUTTON;

const ExpectedControl MainTemplate[] = {
    { -1, L"Static", L"Available di&splay devices:", 10, 10, 93, 8, Label | SS_LEFT },
    { 1000, L"SysListView32", L"", 10, 22, 471, 135,
      Child | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS |
          LVS_OWNERDRAWFIXED | LVS_ALIGNLEFT | LVS_NOSORTHEADER },
    { -1, L"Static", L"&Color bits per pixel:", 10, 164, 88, 8, Label | SS_RIGHT },
    { 1002, L"Edit", L"", 103, 163, 35, 14, Field },
    { -1, L"Static", L"P&lanes:", 154, 164, 24, 8, Label | SS_LEFT },
    { 1007, L"Edit", L"", 182, 163, 21, 14, Field },
    { -1, L"Static", L"&Number of colors:", 10, 182, 88, 8, Label | SS_RIGHT },
    { 1011, L"Edit", L"", 103, 181, 100, 14, Field },
    { -1, L"Static", L"&Horizontal resolution:", 10, 200, 88, 8, Label | SS_RIGHT },
    { 1003, L"Edit", L"", 103, 199, 100, 14, Field },
    { -1, L"Static", L"DPI &X:", 208, 200, 46, 8, Label | SS_RIGHT },
    { 1005, L"Edit", L"", 258, 199, 35, 14, Field },
    { -1, L"Static", L"&Vertical resolution:", 10, 218, 88, 8, Label | SS_RIGHT },
    { 1004, L"Edit", L"", 103, 217, 100, 14, Field },
    { -1, L"Static", L"DPI &Y:", 208, 218, 46, 8, Label | SS_RIGHT },
    { 1006, L"Edit", L"", 258, 217, 35, 14, Field },
    { -1, L"Static", L"P&ixel aspect ratio:", 10, 236, 88, 8, Label | SS_RIGHT },
    { 1008, L"Edit", L"", 103, 235, 100, 14, Field },
    { -1, L"Static", L"Dia&gonal:", 208, 236, 46, 8, Label | SS_RIGHT },
    { 1010, L"Edit", L"", 258, 235, 35, 14, Field },
    { -1, L"Static", L"Screen &aspect ratio:", 10, 254, 88, 8, Label | SS_RIGHT },
    { 1009, L"Edit", L"", 103, 253, 100, 14, Field },
    { -1, L"Static", L"Hypoten&use:", 208, 254, 46, 8, Label | SS_RIGHT },
    { 1029, L"Edit", L"", 258, 253, 70, 14, Field },
    { -1, L"Static", L"&Refresh rate:", 10, 272, 88, 8, Label | SS_RIGHT },
    { 1012, L"Edit", L"", 103, 271, 35, 14, Field },
    { -1, L"Static", L"Virtual screen si&ze:", 10, 290, 88, 8, Label | SS_RIGHT },
    { 1018, L"Edit", L"", 103, 289, 100, 14, Field },
    { -1, L"Static", L"Monitor rectan&gle:", 10, 308, 88, 8, Label | SS_RIGHT },
    { 1020, L"Edit", L"", 103, 307, 100, 14, Field },
    { -1, L"Static", L"&Display modes:", 338, 169, 49, 8, Label | SS_LEFT },
    { 1013, L"ListBox", L"", 338, 181, 143, 122,
      Child | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT },
    { 1022, L"Button", L"Set test mode as selec&tion", 338, 307, 143, 10,
      Child | WS_TABSTOP | BS_AUTOCHECKBOX },
    { -1, L"Static", L"", 10, 330, 471, 1, Child | SS_ETCHEDHORZ },
    { 1021, L"Button", L"About...", 10, 340, 65, 16, Push },
    { 110, L"Button", L"?", 79, 340, 19, 16, Push },
    { 1046, L"Static", L"", 278, 338, 137, 21, WS_CHILD | SS_BLACKRECT },
    { 1030, L"Button", L"&Motion Test", 347, 340, 65, 16, Push },
    { 1015, L"Button", L"&Pattern Test", 416, 340, 65, 16, Push },
};

TEST(MainWindowTemplate, MatchesItsTable)
{
    DialogTemplate dialog;
    ASSERT_TRUE(LoadDialogTemplate(IDD_MAIN, &dialog));
    EXPECT_EQ(static_cast<DWORD>(WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | DS_CENTER |
                                 DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS | DS_3DLOOK),
              dialog.style);
    EXPECT_EQ(static_cast<DWORD>(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT), dialog.exStyle);
    EXPECT_EQ(491, dialog.cx);
    EXPECT_EQ(366, dialog.cy);
    EXPECT_EQ(L"Pelmira", dialog.caption);
    EXPECT_EQ(L"MS Shell Dlg", dialog.fontFace);
    EXPECT_EQ(8, dialog.pointSize);
    EXPECT_EQ(400, dialog.weight);

    ExpectControls(MainTemplate, ARRAYSIZE(MainTemplate), dialog);
}

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        StartRecordingMessageBoxes();
        main = CreateMainWindow();
        ASSERT_TRUE(main != NULL);
        list = GetDlgItem(main, IDC_DEVICE_LIST);
        PumpMessagesFor(20);
    }

    void TearDown() override
    {
        DestroyMainWindow(main);
        PelmiraCreateTestWindow = CreateWindowExW;
        boxes = StopRecordingMessageBoxes();
        EXPECT_EQ(NULL, AppState.testWindow);
    }

    void Command(int id)
    {
        SendMessageW(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }

    // Puts synthetic rows in the list (the list frees them) and selects row.
    void ReplaceRows(DisplayDeviceRecord** records, int count, int row)
    {
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
        PopulateDeviceList(list, records, count);
        SelectOnly(row);
    }

    void SelectOnly(int row)
    {
        SetRowSelected(list, -1, false);
        if (row >= 0)
            SetRowSelected(list, row, true);
    }

    HWND main = NULL;
    HWND list = NULL;
    std::vector<RecordedMessageBox> boxes;
};

RECT PrimaryMonitorRect()
{
    MONITORINFO info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromPoint(POINT(), MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcMonitor;
}

TEST_F(MainWindowTest, QuickHelpAndIgnoredCommands)
{
    Command(IDC_QUICK_HELP);
    Command(IDOK);
    Command(IDCANCEL);
    std::vector<RecordedMessageBox> shown = StopRecordingMessageBoxes();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(main, shown[0].owner);
    EXPECT_EQ(234u, shown[0].text.size());
    EXPECT_EQ(0u, shown[0].text.find(L"Quick Help:\n"));
    EXPECT_EQ(L"Pelmira", shown[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), shown[0].type);
    EXPECT_TRUE(IsWindow(main));
    EXPECT_EQ(NULL, AppState.testWindow);

    // The motion button was raised above the banner's placeholder.
    EXPECT_EQ(GetDlgItem(main, IDC_MOTION_TEST), GetWindow(GetDlgItem(main, IDC_ABOUT), GW_HWNDFIRST));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(main, IDC_BANNER_PLACE)));
}

TEST_F(MainWindowTest, BannerFramesTheMotionButtonInRed)
{
    SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(main, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessagesFor(100);

    RECT banner;
    GetWindowRect(GetDlgItem(main, IDC_BANNER_PLACE), &banner);
    RECT button;
    GetWindowRect(GetDlgItem(main, IDC_MOTION_TEST), &button);
    TestDib screen;
    ASSERT_TRUE(CreateTestDib(&screen, banner.right - banner.left, banner.bottom - banner.top));
    HDC screenDc = GetDC(NULL);
    BitBlt(screen.dc, 0, 0, screen.width, screen.height, screenDc, banner.left, banner.top, SRCCOPY);
    ReleaseDC(NULL, screenDc);

    const COLORREF red = RGB(255, 0, 0);
    EXPECT_EQ(red, DibPixel(screen, 1, 1));
    EXPECT_EQ(red, DibPixel(screen, screen.width - 2, screen.height - 2));
    // Red on the top, right and bottom of the button, which is drawn over it.
    int buttonX = (button.left + button.right) / 2 - banner.left;
    EXPECT_EQ(red, DibPixel(screen, buttonX, 0));
    EXPECT_EQ(red, DibPixel(screen, buttonX, screen.height - 1));
    EXPECT_NE(red, DibPixel(screen, buttonX, (button.top + button.bottom) / 2 - banner.top));
    // White caption text left of the button.
    RECT caption = { 0, 0, button.left - banner.left, screen.height };
    EXPECT_GT(CountDibPixels(screen, caption, RGB(255, 255, 255)), 20);
    DestroyTestDib(&screen);
}

TEST_F(MainWindowTest, StartRefusals)
{
    // No selected row: nothing happens.
    SelectOnly(-1);
    Command(IDC_PATTERN_TEST);
    EXPECT_EQ(NULL, AppState.testWindow);

    // A row without a monitor: string 105, with the adapter noted.
    DisplayDeviceRecord* lonely[] = { NewDeviceRecord(L"\\\\.\\DISPLAY7", false) };
    ReplaceRows(lonely, 1, 0);
    Command(IDC_MOTION_TEST);
    EXPECT_STREQ(L"\\\\.\\DISPLAY7", AppState.testDeviceName);

    // A monitor that no display monitor matches: string 107.
    DisplayDeviceRecord* unmatched[] = { NewDeviceRecord(L"\\\\.\\DISPLAY9", true) };
    ReplaceRows(unmatched, 1, 0);
    Command(IDC_PATTERN_TEST);

    std::vector<RecordedMessageBox> shown = StopRecordingMessageBoxes();
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ(L"No monitor attached to this device.", shown[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), shown[0].type);
    EXPECT_EQ(L"Invalid monitor rectangle.", shown[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), shown[1].type);
    for (const RecordedMessageBox& box : shown) {
        EXPECT_EQ(main, box.owner);
        EXPECT_EQ(L"Pelmira", box.caption);
    }
    EXPECT_EQ(NULL, AppState.testWindow);
}

TEST_F(MainWindowTest, TestWindowThatCannotBeCreated)
{
    PelmiraCreateTestWindow = RefuseToCreateWindow;
    Command(IDC_PATTERN_TEST);
    EXPECT_EQ(NULL, AppState.testWindow);
    EXPECT_EQ(0, AppState.displayModeChanged);
    EXPECT_TRUE(StopRecordingMessageBoxes().empty());
}

TEST_F(MainWindowTest, TestWindowsCoverTheMonitorAndEndOnEscape)
{
    struct Case {
        int command;
        const WCHAR* className;
        LONG motion;
    } cases[] = { { IDC_PATTERN_TEST, L"Ardvane_PatternTest_WndClass", 0 },
                  { IDC_MOTION_TEST, L"Ardvane_MotionTest_WndClass", 1 } };
    RECT monitor = PrimaryMonitorRect();
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.className));
        Command(c.command);
        HWND test = AppState.testWindow;
        ASSERT_TRUE(IsWindow(test));
        WCHAR className[64];
        GetClassNameW(test, className, 64);
        EXPECT_STREQ(c.className, className);
        RECT rect;
        GetWindowRect(test, &rect);
        EXPECT_EQ(RectText(monitor), RectText(rect));
        EXPECT_EQ(static_cast<LONG>(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN),
                  GetWindowLongW(test, GWL_STYLE) & (WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CAPTION));
        EXPECT_EQ(main, GetWindow(test, GW_OWNER));
        EXPECT_EQ(c.motion, AppState.motionActive);

        // Either button only brings the running test forward.
        int windows = CurrentObjectCounts().windows;
        Command(IDC_PATTERN_TEST);
        Command(IDC_MOTION_TEST);
        EXPECT_EQ(test, AppState.testWindow);
        EXPECT_EQ(windows, CurrentObjectCounts().windows);

        SendMessageW(test, WM_KEYDOWN, VK_ESCAPE, 0);
        PumpMessagesUntil([test] { return !IsWindow(test); }, 5000);  // the motion window waits for its threads
        EXPECT_FALSE(IsWindow(test));
        EXPECT_EQ(NULL, AppState.testWindow);
        EXPECT_EQ(0, AppState.motionActive);
    }
    // A device name that differs only in case still finds its monitor.
    DisplayDeviceRecord* lowerCase[] = { NewDeviceRecord(L"\\\\.\\display1", true) };
    ReplaceRows(lowerCase, 1, 0);
    Command(IDC_PATTERN_TEST);
    ASSERT_TRUE(IsWindow(AppState.testWindow));
    RECT rect;
    GetWindowRect(AppState.testWindow, &rect);
    EXPECT_EQ(RectText(monitor), RectText(rect));
    SendMessageW(AppState.testWindow, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(MainWindowTest, FiftyTestsLeakNothing)
{
    const int commands[] = { IDC_PATTERN_TEST, IDC_MOTION_TEST };
    for (int command : commands) {
        SCOPED_TRACE(testing::Message() << "command " << command);
        Command(command);  // the first run may make lasting system objects
        SendMessageW(AppState.testWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        PumpMessagesUntil([] { return AppState.testWindow == NULL; }, 5000);
        ObjectCounts before = CurrentObjectCounts();
        for (int i = 0; i < 50; ++i) {
            Command(command);
            ASSERT_TRUE(IsWindow(AppState.testWindow)) << "run " << i;
            UpdateWindow(AppState.testWindow);
            SendMessageW(AppState.testWindow, WM_KEYDOWN, VK_ESCAPE, 0);
            PumpMessagesUntil([] { return AppState.testWindow == NULL; }, 5000);
        }
        PumpMessagesFor(20);
        ObjectCounts after = CurrentObjectCounts();
        EXPECT_TRUE(SameCounts(before, after)) << "before: " << DescribeCounts(before)
                                               << "\nafter:  " << DescribeCounts(after);
    }
}

TEST_F(MainWindowTest, ThemeChangeRenewsTheListTheme)
{
    // Whatever the window had is closed and replaced by the Explorer list
    // theme, or by none (the classic drawing) when there is no such theme.
    ObjectCounts before = CurrentObjectCounts();
    AppState.listTheme = OpenThemeData(list, L"LISTVIEW");
    SendMessageW(main, WM_THEMECHANGED, 0, 0);
    HTHEME explorer = OpenThemeData(list, L"EXPLORER::LISTVIEW");
    EXPECT_EQ(explorer != NULL, AppState.listTheme != NULL);
    if (explorer != NULL)
        CloseThemeData(explorer);
    EXPECT_EQ(before.themes + (AppState.listTheme != NULL ? 1 : 0), CurrentObjectCounts().themes);
}

TEST_F(MainWindowTest, ClosingTearsDownAndQuits)
{
    // What this main window made beyond the objects that a closed one leaves.
    ObjectCounts open = CurrentObjectCounts();
    EXPECT_EQ(1, open.imageLists);
    // A test window open at the time goes with the main window.
    Command(IDC_PATTERN_TEST);
    HWND test = AppState.testWindow;
    ASSERT_TRUE(IsWindow(test));

    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_FALSE(IsWindow(test));
    EXPECT_EQ(NULL, AppState.testWindow);
    EXPECT_EQ(NULL, AppState.deviceImageList);
    EXPECT_EQ(NULL, AppState.listTheme);
    ObjectCounts closed = CurrentObjectCounts();
    EXPECT_EQ(0, closed.imageLists);
    EXPECT_EQ(0, closed.themes);
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, quit.wParam);
}

TEST_F(MainWindowTest, OpeningAndClosingLeaksNothing)
{
    SendMessageW(main, WM_CLOSE, 0, 0);
    DrainQuitMessages();
    ObjectCounts before = CurrentObjectCounts();
    size_t heapBefore = CrtHeapBytesInUse();
    for (int i = 0; i < 20; ++i) {
        HWND window = CreateMainWindow();
        ASSERT_TRUE(window != NULL);
        // Rows of its own, which only LVN_DELETEITEM frees.
        DisplayDeviceRecord* rows[] = { NewDeviceRecord(L"\\\\.\\DISPLAY5", true), NewDeviceRecord(L"\\\\.\\DISPLAY6", false) };
        PopulateDeviceList(GetDlgItem(window, IDC_DEVICE_LIST), rows, 2);
        UpdateWindow(window);
        SendMessageW(window, WM_CLOSE, 0, 0);
        DrainQuitMessages();
    }
    EXPECT_TRUE(SameCounts(before, CurrentObjectCounts()))
        << "before: " << DescribeCounts(before) << "\nafter:  " << DescribeCounts(CurrentObjectCounts());
    EXPECT_EQ(heapBefore, CrtHeapBytesInUse()) << "heap bytes of the C runtime";
    main = CreateMainWindow();
}

}  // namespace
