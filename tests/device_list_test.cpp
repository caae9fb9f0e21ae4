// The device list: state words, the row chosen at start, row heights, and
// the rows as drawn with visual styles and without.
#include "bench/fixture.h"
#include "bench/records.h"

#include <uxtheme.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

TEST(DeviceList, StateWordsInTableOrder)
{
    const std::pair<DWORD, const WCHAR*> cases[] = {
        { DISPLAY_DEVICE_ATTACHED_TO_DESKTOP | DISPLAY_DEVICE_PRIMARY_DEVICE | DISPLAY_DEVICE_VGA_COMPATIBLE,
          L"PRIMARY, DESKTOP, VGA" },
        { DISPLAY_DEVICE_ACTIVE | DISPLAY_DEVICE_ATTACHED, L"DESKTOP, MULTI" },
        { 0, L"" },
        { 0x40 | 0x10000000, L"" },  // bits without a word
        { 0xFFFFFFFF, L"PRIMARY, DESKTOP, MULTI, MIRROR, VGA, TS, REMOVABLE, MODESPRUNED, REMOTE, DISCONNECT, UNSAFE" },
    };
    for (const auto& c : cases) {
        WCHAR words[DeviceStateTextCapacity];
        FormatDeviceStateFlags(c.first, words);
        EXPECT_STREQ(c.second, words) << "flags 0x" << std::hex << c.first;
    }
}

// The row chosen among adapters of the given flags, each with a monitor of
// the given flags or (-1) none.
int ChooseFor(const std::vector<std::pair<DWORD, LONG>>& devices)
{
    std::vector<DisplayDeviceRecord> records(devices.size(), DisplayDeviceRecord());
    std::vector<const DisplayDeviceRecord*> pointers;
    for (size_t i = 0; i < devices.size(); ++i) {
        records[i].adapter.StateFlags = devices[i].first;
        records[i].hasMonitor = devices[i].second != -1;
        records[i].monitor.StateFlags = devices[i].second != -1 ? devices[i].second : 0;
        pointers.push_back(&records[i]);
    }
    return ChooseInitialDeviceRow(pointers.data(), static_cast<int>(pointers.size()));
}

TEST(DeviceList, StartSelectsThePrimaryWithAMonitorElseTheFirstActiveElseNone)
{
    const DWORD primary = DISPLAY_DEVICE_PRIMARY_DEVICE | DISPLAY_DEVICE_ATTACHED_TO_DESKTOP;
    const LONG active = DISPLAY_DEVICE_ACTIVE;
    EXPECT_EQ(-1, ChooseFor({}));
    // A primary adapter without a monitor is passed over.
    EXPECT_EQ(1, ChooseFor({ { primary, -1 }, { 0, active }, { 0, active } }));
    // A primary adapter after an active one wins.
    EXPECT_EQ(2, ChooseFor({ { 0, active }, { 0, 0 }, { primary, 0 } }));
    // The last primary adapter with a monitor wins.
    EXPECT_EQ(1, ChooseFor({ { primary, active }, { primary, active }, { 0, active } }));
    // No primary, no active monitor, or no monitor at all: none.
    EXPECT_EQ(-1, ChooseFor({ { 0, 0 }, { primary, -1 } }));
}

TEST(DeviceList, RowHeightIsTwiceTheDefaultGuiFontButAtLeast40)
{
    LOGFONTW font = {};
    const LONG heights[][2] = { { -11, 40 }, { -20, 40 }, { -21, 42 }, { -25, 50 }, { 25, 50 }, { 0, 40 } };
    for (const auto& height : heights) {
        font.lfHeight = height[0];
        EXPECT_EQ(height[1], DeviceRowHeight(&font)) << "lfHeight " << height[0];
    }
    EXPECT_EQ(40, DeviceRowHeight(NULL));  // a font that cannot be read
}

using DeviceListTest = MainWindowTest;

// The adapter's picture, drawn on paper, with its top left corner at (x, y)
// of dib: in a row of 40 pixels, centred on the upper line of 20.
void ExpectAdapterPicture(const TestDib& dib, int x, int y, COLORREF paper)
{
    TestDib picture;
    ASSERT_TRUE(CreateTestDib(&picture, 16, 16));
    FillDib(picture, paper);
    ImageList_Draw(AppState.deviceImageList, 0, picture.dc, 0, 0, ILD_TRANSPARENT);
    int differing = 0;
    for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i)
            differing += DibPixel(picture, i, j) != DibPixel(dib, x + i, y + j);
    EXPECT_EQ(0, differing) << "pixels of the adapter's picture at (" << x << ", " << y << ")";
    DestroyTestDib(&picture);
}

TEST_F(DeviceListTest, RowColoursWithVisualStylesAndWithout)
{
    // Wine has no "EXPLORER::LISTVIEW" class: the rows get the plain list
    // view theme. The list, with one row without a monitor, prints itself
    // into a DIB filled with magenta.
    int themes = CurrentObjectCounts().themes;
    HTHEME theme = OpenThemeData(list, L"LISTVIEW");
    ASSERT_TRUE(theme != NULL) << "visual styles are off in the test prefix";
    ReplaceRows(list, L"\\\\.\\DISPLAY1", false);
    RECT row = { LVIR_BOUNDS, 0, 0, 0 }, cell = { LVIR_LABEL, 0, 0, 0 };
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    SendMessageW(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    RECT client;  // the columns may run past it
    GetClientRect(list, &client);
    EXPECT_EQ(40, row.bottom - row.top) << "the height for Wine's default GUI font";
    const RECT lower = { cell.left + 16, (row.top + row.bottom) / 2, cell.right - 2, row.bottom };
    TestDib dib;
    ASSERT_TRUE(CreateTestDib(&dib, row.right, row.bottom));
    const COLORREF magenta = RGB(255, 0, 255);
    const int Untouched = -1, Highlight = -2;  // no background; a themed one
    struct Case {
        bool themed, selected, focused;
        int background, placeholder;  // system colours
    } cases[] = { { false, false, false, COLOR_WINDOW, COLOR_GRAYTEXT },
                  { false, false, true, COLOR_WINDOW, COLOR_GRAYTEXT },
                  { false, true, true, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT },
                  { false, true, false, COLOR_BTNFACE, COLOR_BTNTEXT },
                  { true, false, true, Untouched, COLOR_GRAYTEXT },
                  { true, true, true, Highlight, COLOR_GRAYTEXT },
                  { true, true, false, Highlight, COLOR_GRAYTEXT } };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "themed " << c.themed << ", selected " << c.selected << ", focused "
                                        << c.focused);
        AppState.listTheme = c.themed ? theme : NULL;
        SetRowSelected(list, 0, c.selected);
        SetFocus(c.focused ? list : GetDlgItem(main, IDC_ABOUT));
        FillDib(dib, magenta);
        SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc), PRF_CLIENT);
        COLORREF background = DibPixel(dib, std::min(row.right, client.right) - 3, row.top + 3);
        if (c.background == Highlight) {
            EXPECT_NE(magenta, background) << "a selected row keeps its highlight";
        } else {
            EXPECT_EQ(c.background == Untouched ? magenta : GetSysColor(c.background), background);
        }
        EXPECT_GT(CountDibPixels(dib, lower, GetSysColor(c.placeholder)), 5);
        EXPECT_EQ(c.placeholder == COLOR_GRAYTEXT, CountDibPixels(dib, lower, GetSysColor(COLOR_GRAYTEXT)) > 0);
        if (&c == cases)
            ExpectAdapterPicture(dib, cell.left, row.top + 2, GetSysColor(COLOR_WINDOW));
    }
    // A change of visual styles closes the theme and, Wine having no
    // Explorer list theme, goes back to the classic drawing; another change
    // leaves no handle behind either.
    AppState.listTheme = theme;
    SendMessageW(main, WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(NULL, AppState.listTheme);
    SendMessageW(main, WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(themes, CurrentObjectCounts().themes) << "theme handles left open";
    DestroyTestDib(&dib);
}

// Hardware identifiers hold '&': drawn literally, "&&" has twice the ink of
// "&"; drawn as mnemonics, "&&" would be one '&' and "&" nothing.
TEST_F(DeviceListTest, IdentifiersShowTheirAmpersands)
{
    HTHEME theme = OpenThemeData(list, L"LISTVIEW");
    ASSERT_TRUE(theme != NULL) << "visual styles are off in the test prefix";
    RECT client;
    GetClientRect(list, &client);
    TestDib dib;
    ASSERT_TRUE(CreateTestDib(&dib, client.right, client.bottom));
    for (HTHEME drawing : { static_cast<HTHEME>(NULL), theme }) {
        SCOPED_TRACE(drawing != NULL ? "themed" : "classic");
        AppState.listTheme = drawing;
        std::vector<DWORD> ink[3];
        const WCHAR* const ids[3] = { L"", L"&", L"&&" };
        RECT cell;
        for (int i = 0; i < 3; ++i) {
            ReplaceRows(list, L"\\\\.\\DISPLAY1", true);
            lstrcpyW(GetDeviceRecord(list, 0)->adapter.DeviceID, ids[i]);
            SetRect(&cell, LVIR_LABEL, 3, 0, 0);  // the hardware identifier's column
            SendMessageW(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
            FillDib(dib, RGB(255, 0, 255));
            SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.dc), PRF_CLIENT);
            GdiFlush();
            for (int y = cell.top; y < cell.bottom; ++y)
                ink[i].insert(ink[i].end(), dib.bits + y * dib.width + cell.left, dib.bits + y * dib.width + cell.right);
        }
        int differing[3] = {};
        for (int i = 1; i < 3; ++i)
            for (size_t p = 0; p < ink[0].size(); ++p)
                differing[i] += ink[i][p] != ink[0][p];
        EXPECT_GT(differing[1], 10) << "no '&' drawn";
        EXPECT_GT(differing[2], differing[1] * 3 / 2) << "\"&&\" drawn as one '&'";
    }
    CloseThemeData(theme);
    AppState.listTheme = NULL;
    DestroyTestDib(&dib);
}

}  // namespace
