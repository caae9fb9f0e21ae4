// The device list: state words, the row chosen at start, row heights,
// monitor rectangles, and the list as the main window sets it up.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <stdlib.h>

#include "app/app_state.h"
#include "app/startup.h"
#include "bench/bench.h"
#include "bench/records.h"
#include "display/mode_list.h"
#include "mainwin/device_list.h"
#include "res/resource.h"

namespace {

std::wstring StateWords(DWORD flags)
{
    WCHAR buffer[DeviceStateTextCapacity];
    FormatDeviceStateFlags(flags, buffer);
    return buffer;
}

TEST(DeviceStateWords, InTableOrder)
{
    EXPECT_EQ(L"PRIMARY, DESKTOP, VGA",
              StateWords(DISPLAY_DEVICE_ATTACHED_TO_DESKTOP | DISPLAY_DEVICE_PRIMARY_DEVICE |
                         DISPLAY_DEVICE_VGA_COMPATIBLE));
    EXPECT_EQ(L"DESKTOP, MULTI", StateWords(DISPLAY_DEVICE_ACTIVE | DISPLAY_DEVICE_ATTACHED));
    EXPECT_EQ(L"", StateWords(0));
    EXPECT_EQ(L"", StateWords(0x40 | 0x10000000));  // bits without a word
    EXPECT_EQ(L"PRIMARY, DESKTOP, MULTI, MIRROR, VGA, TS, REMOVABLE, MODESPRUNED, REMOTE, "
              L"DISCONNECT, UNSAFE",
              StateWords(0xFFFFFFFF));
}

struct DeviceSketch {
    DWORD adapterFlags;
    bool hasMonitor;
    DWORD monitorFlags;
};

int ChooseFor(const std::vector<DeviceSketch>& devices)
{
    std::vector<DisplayDeviceRecord> records(devices.size());
    std::vector<const DisplayDeviceRecord*> pointers;
    for (size_t i = 0; i < devices.size(); ++i) {
        ZeroMemory(&records[i], sizeof(records[i]));
        records[i].adapter.StateFlags = devices[i].adapterFlags;
        records[i].hasMonitor = devices[i].hasMonitor;
        records[i].monitor.StateFlags = devices[i].monitorFlags;
        pointers.push_back(&records[i]);
    }
    return ChooseInitialDeviceRow(pointers.data(), static_cast<int>(pointers.size()));
}

TEST(DeviceListSelection, PrimaryWithMonitorElseFirstActiveElseNone)
{
    const DWORD primary = DISPLAY_DEVICE_PRIMARY_DEVICE | DISPLAY_DEVICE_ATTACHED_TO_DESKTOP;
    const DWORD active = DISPLAY_DEVICE_ACTIVE;
    EXPECT_EQ(-1, ChooseFor({}));
    EXPECT_EQ(0, ChooseFor({ { primary, true, active } }));
    // A primary adapter without a monitor is passed over.
    EXPECT_EQ(1, ChooseFor({ { primary, false, 0 }, { 0, true, active }, { 0, true, active } }));
    // A primary adapter after an active one wins.
    EXPECT_EQ(2, ChooseFor({ { 0, true, active }, { 0, true, 0 }, { primary, true, 0 } }));
    // The last primary adapter with a monitor wins.
    EXPECT_EQ(1, ChooseFor({ { primary, true, active }, { primary, true, active }, { 0, true, active } }));
    // No primary, no active monitor, or no monitor at all: none.
    EXPECT_EQ(-1, ChooseFor({ { 0, true, 0 }, { primary, false, 0 } }));
}

TEST(DeviceListRows, HeightFromTheDefaultGuiFont)
{
    LOGFONTW font;
    ZeroMemory(&font, sizeof(font));
    struct Case {
        LONG lfHeight;
        int rowHeight;
    } cases[] = { { -11, 40 }, { -25, 50 }, { 25, 50 }, { -20, 40 }, { -21, 42 }, { 0, 40 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "lfHeight " << c.lfHeight);
        font.lfHeight = c.lfHeight;
        EXPECT_EQ(c.rowHeight, DeviceRowHeight(&font));
    }
    // A font that cannot be read.
    EXPECT_EQ(40, DeviceRowHeight(NULL));

    LOGFONTW stock;
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(stock), &stock);
    MEASUREITEMSTRUCT measure;
    ZeroMemory(&measure, sizeof(measure));
    measure.CtlType = ODT_LISTVIEW;
    measure.CtlID = IDC_DEVICE_LIST;
    MeasureDeviceListItem(&measure);
    EXPECT_EQ(static_cast<UINT>(DeviceRowHeight(&stock)), measure.itemHeight);
}

class DeviceListTest : public testing::Test {
protected:
    void SetUp() override
    {
        main = CreateMainWindow();
        ASSERT_TRUE(main != NULL);
        list = GetDlgItem(main, IDC_DEVICE_LIST);
    }

    void TearDown() override
    {
        DestroyMainWindow(main);
    }

    int SelectedCount()
    {
        return static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
    }

    HWND main = NULL;
    HWND list = NULL;
};

TEST_F(DeviceListTest, ListsEveryAdapterAndSelectsThePrimaryDisplay)
{
    const WCHAR* headers[] = { L"Device Name", L"Device String", L"State", L"H/W ID", L"Registry Key" };
    const int widths[] = { 155, 140, 140, 160, 215 };
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(testing::Message() << "column " << i);
        WCHAR text[64];
        LVCOLUMNW column;
        ZeroMemory(&column, sizeof(column));
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = text;
        column.cchTextMax = 64;
        ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(headers[i], text);
        EXPECT_EQ(widths[i], column.cx);
        EXPECT_EQ(LVCFMT_LEFT, column.fmt & LVCFMT_JUSTIFYMASK);
    }
    DWORD extended = static_cast<DWORD>(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER),
              extended & (LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER));
    EXPECT_EQ(2, ImageList_GetImageCount(AppState.deviceImageList));
    int cx = 0, cy = 0;
    ImageList_GetIconSize(AppState.deviceImageList, &cx, &cy);
    EXPECT_EQ(16, cx);
    EXPECT_EQ(16, cy);
    EXPECT_TRUE(SendMessageW(main, WM_GETICON, ICON_BIG, 0) != 0);
    EXPECT_TRUE(SendMessageW(main, WM_GETICON, ICON_SMALL, 0) != 0);
    // Images are drawn by the program, not by the list.
    EXPECT_EQ(0, SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));

    // One row per adapter the system reports, with its record.
    int adapters = 0;
    DISPLAY_DEVICEW adapter;
    adapter.cb = sizeof(adapter);
    while (EnumDisplayDevicesW(NULL, adapters, &adapter, 0)) {
        DisplayDeviceRecord* record = GetDeviceRecord(list, adapters);
        ASSERT_TRUE(record != NULL);
        EXPECT_STREQ(adapter.DeviceName, record->adapter.DeviceName);
        ++adapters;
        adapter.cb = sizeof(adapter);
    }
    ASSERT_GT(adapters, 0);
    EXPECT_EQ(adapters, SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));

    // The primary display is the one selected, and its monitor rectangle is
    // the primary monitor's.
    int selected = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    ASSERT_GE(selected, 0);
    DisplayDeviceRecord* record = GetDeviceRecord(list, selected);
    EXPECT_TRUE(record->adapter.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE);
    EXPECT_EQ(1, record->hasMonitor);
    EXPECT_EQ(1, SelectedCount());
    MONITORINFO info;
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromPoint(POINT(), MONITOR_DEFAULTTOPRIMARY), &info);
    EXPECT_EQ(RectText(info.rcMonitor), RectText(record->monitorRect));
    // The focus state is not set at start.
    EXPECT_EQ(0, SendMessageW(list, LVM_GETITEMSTATE, selected, LVIS_FOCUSED));
}

TEST_F(DeviceListTest, MonitorRectanglesMatchAdaptersWithoutRegardToCase)
{
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    DisplayDeviceRecord* rows[] = { NewDeviceRecord(L"\\\\.\\DISPLAY1", false), NewDeviceRecord(L"\\\\.\\DISPLAY1", false),
                                    NewDeviceRecord(L"\\\\.\\Display2", false) };
    PopulateDeviceList(list, rows, 3);
    // The real monitor matched the first row of its name only.
    RECT empty = {};
    EXPECT_FALSE(IsRectEmpty(&rows[0]->monitorRect));
    EXPECT_EQ(RectText(empty), RectText(rows[1]->monitorRect));

    RECT second = { 1920, 0, 3200, 1024 };
    EXPECT_EQ(2, AssignMonitorRect(list, L"\\\\.\\DISPLAY2", &second));
    EXPECT_EQ(RectText(second), RectText(rows[2]->monitorRect));
    // A monitor that matches no adapter changes nothing.
    RECT stray = { 5, 5, 10, 10 };
    EXPECT_EQ(-1, AssignMonitorRect(list, L"\\\\.\\DISPLAY3", &stray));
    EXPECT_EQ(RectText(empty), RectText(rows[1]->monitorRect));
    // None of these has a monitor, so none was selected.
    EXPECT_EQ(0, SelectedCount());
}

TEST_F(DeviceListTest, NoAdaptersLeaveTheListEmpty)
{
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    ClearModeList(GetDlgItem(main, IDC_MODE_LIST));
    PopulateDeviceList(list, NULL, 0);
    EXPECT_EQ(0, SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(0, SelectedCount());
    EXPECT_EQ(0, SendMessageW(GetDlgItem(main, IDC_MODE_LIST), LB_GETCOUNT, 0, 0));
    // Starting a test then does nothing.
    SendMessageW(main, WM_COMMAND, IDC_PATTERN_TEST, 0);
    EXPECT_EQ(NULL, AppState.testWindow);
}

}  // namespace
