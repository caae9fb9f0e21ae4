// Owner drawing of the device list rows into a DIB section, with visual
// styles and without.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include "app/app_state.h"
#include "app/startup.h"
#include "bench/bench.h"
#include "mainwin/device_list.h"
#include "res/resource.h"

namespace {

const COLORREF Magenta = RGB(255, 0, 255);

class DeviceListDrawTest : public testing::Test {
protected:
    void SetUp() override
    {
        main = CreateMainWindow();
        ASSERT_TRUE(main != NULL);
        savedTheme = AppState.listTheme;
        list = GetDlgItem(main, IDC_DEVICE_LIST);
        ZeroMemory(&record, sizeof(record));
        lstrcpyW(record.adapter.DeviceName, L"\\\\.\\DISPLAY1");
        lstrcpyW(record.adapter.DeviceString, L"Adapter");
        record.adapter.StateFlags = DISPLAY_DEVICE_PRIMARY_DEVICE;
        ASSERT_TRUE(CreateTestDib(&dib, 800, 100));
    }

    void TearDown() override
    {
        DestroyTestDib(&dib);
        if (ownTheme != NULL)
            CloseThemeData(ownTheme);
        AppState.listTheme = savedTheme;
        DestroyMainWindow(main);
    }

    // Draws row 0 of the list with the test's record into the DIB, which is
    // first filled with magenta; returns the row rectangle.
    RECT Draw(bool selected, bool focused)
    {
        SetFocus(focused ? list : GetDlgItem(main, IDC_ABOUT));
        FillDib(dib, Magenta);
        DRAWITEMSTRUCT item;
        ZeroMemory(&item, sizeof(item));
        item.CtlType = ODT_LISTVIEW;
        item.CtlID = IDC_DEVICE_LIST;
        item.itemID = 0;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = selected ? ODS_SELECTED : 0;
        item.hwndItem = list;
        item.hDC = dib.dc;
        item.itemData = reinterpret_cast<ULONG_PTR>(&record);
        item.rcItem.left = LVIR_BOUNDS;
        SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item.rcItem));
        DrawDeviceListItem(IDC_DEVICE_LIST, &item);
        GdiFlush();
        return item.rcItem;
    }

    RECT LowerLine(const RECT& row)
    {
        RECT cell;
        cell.top = 0;
        cell.left = LVIR_LABEL;
        SendMessageW(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
        RECT lower = { cell.left + 16, row.top + (row.bottom - row.top) / 2, cell.right - 2, row.bottom };
        return lower;
    }

    HWND main = NULL;
    HWND list = NULL;
    HTHEME savedTheme = NULL;
    HTHEME ownTheme = NULL;
    DisplayDeviceRecord record;
    TestDib dib;
};

TEST_F(DeviceListDrawTest, ClassicColoursFollowSelectionAndFocus)
{
    AppState.listTheme = NULL;
    struct Case {
        bool selected, focused;
        int background, text;
    } cases[] = { { false, false, COLOR_WINDOW, COLOR_GRAYTEXT },
                  { false, true, COLOR_WINDOW, COLOR_GRAYTEXT },
                  { true, true, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT },
                  { true, false, COLOR_BTNFACE, COLOR_BTNTEXT } };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "selected " << c.selected << ", focused " << c.focused);
        RECT row = Draw(c.selected, c.focused);
        ASSERT_GT(row.bottom - row.top, 0);
        EXPECT_EQ(GetSysColor(c.background), DibPixel(dib, row.right - 3, row.top + 3));
        // Without a monitor, the lower line says so: grey on an unselected
        // row, in the row's own text colour on a selected one.
        RECT lower = LowerLine(row);
        EXPECT_GT(CountDibPixels(dib, lower, GetSysColor(c.text)), 5);
        if (c.text != COLOR_GRAYTEXT) {
            EXPECT_EQ(0, CountDibPixels(dib, lower, GetSysColor(COLOR_GRAYTEXT)));
        }
    }
}

// The 32-bit pixels of bitmap resource id, top row first, as 0xAARRGGBB.
std::vector<DWORD> BitmapResource(int id, int* width, int* height)
{
    HMODULE module = GetModuleHandleW(NULL);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    const BITMAPINFOHEADER* header =
        static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, found)));
    *width = header->biWidth;
    *height = header->biHeight;
    const DWORD* bits = reinterpret_cast<const DWORD*>(reinterpret_cast<const BYTE*>(header) + header->biSize);
    std::vector<DWORD> pixels(*width * *height);
    for (int y = 0; y < *height; ++y)
        for (int x = 0; x < *width; ++x)
            pixels[y * *width + x] = bits[(*height - 1 - y) * *width + x];
    return pixels;
}

TEST_F(DeviceListDrawTest, ImagesSitCentredOnTheirLines)
{
    AppState.listTheme = NULL;
    record.hasMonitor = 1;
    lstrcpyW(record.monitor.DeviceName, L"\\\\.\\DISPLAY1\\Monitor0");
    RECT row = Draw(false, false);
    RECT cell;
    cell.top = 0;
    cell.left = LVIR_LABEL;
    SendMessageW(list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    int lineHeight = (row.bottom - row.top) / 2;
    struct Image {
        int id, x, y;
    } images[] = { { IDB_ADAPTER, cell.left, row.top + (lineHeight - 16) / 2 },
                   { IDB_MONITOR, cell.left + 16, row.top + lineHeight + (row.bottom - row.top - lineHeight - 16) / 2 } };
    for (const Image& image : images) {
        SCOPED_TRACE(testing::Message() << "bitmap " << image.id);
        int width = 0, height = 0;
        std::vector<DWORD> pixels = BitmapResource(image.id, &width, &height);
        ASSERT_EQ(16, width);
        ASSERT_EQ(16, height);
        int opaque = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                DWORD pixel = pixels[y * 16 + x];
                if ((pixel >> 24) != 0xFF)
                    continue;
                ++opaque;
                COLORREF expected = RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
                ASSERT_EQ(expected, DibPixel(dib, image.x + x, image.y + y)) << "at " << x << ", " << y;
            }
        EXPECT_GT(opaque, 64);
    }
}

TEST_F(DeviceListDrawTest, ThemedRowsUseTheListViewTheme)
{
    // Wine has no "EXPLORER::LISTVIEW" class: the test hands the drawing the
    // plain list view theme.
    ownTheme = OpenThemeData(list, L"LISTVIEW");
    if (ownTheme == NULL)
        GTEST_SKIP() << "visual styles are off";
    AppState.listTheme = ownTheme;

    RECT row = Draw(false, true);
    EXPECT_EQ(Magenta, DibPixel(dib, row.right - 3, row.top + 3)) << "no background for a normal row";
    EXPECT_GT(CountDibPixels(dib, LowerLine(row), GetSysColor(COLOR_GRAYTEXT)), 5);

    row = Draw(true, true);
    EXPECT_NE(Magenta, DibPixel(dib, row.right - 3, row.top + 3)) << "a selected row has a background";
    // The placeholder stays grey on a selected themed row.
    EXPECT_GT(CountDibPixels(dib, LowerLine(row), GetSysColor(COLOR_GRAYTEXT)), 5);
}

}  // namespace
