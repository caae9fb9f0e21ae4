// The display mode list: the machine's modes in its order with the current
// one selected, and synthetic modes through the enumeration seam.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "app/app_state.h"
#include "app/startup.h"
#include "bench/bench.h"
#include "display/mode_list.h"
#include "res/resource.h"

namespace {

// Modes offered by the synthetic enumeration.
std::vector<DEVMODEW> OfferedModes;
bool CurrentModeReadable;
DEVMODEW OfferedCurrent;

DEVMODEW Mode(DWORD width, DWORD height, DWORD bits, DWORD frequency, DWORD flags)
{
    DEVMODEW mode;
    ClearDevMode(&mode);
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmBitsPerPel = bits;
    mode.dmDisplayFrequency = frequency;
    mode.dmDisplayFlags = flags;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFLAGS | DM_DISPLAYFREQUENCY;
    return mode;
}

BOOL WINAPI EnumerateOfferedModes(LPCWSTR, DWORD number, DEVMODEW* mode, DWORD)
{
    if (number == ENUM_CURRENT_SETTINGS) {
        if (CurrentModeReadable)
            *mode = OfferedCurrent;
        return CurrentModeReadable;
    }
    if (number >= OfferedModes.size())
        return FALSE;
    *mode = OfferedModes[number];
    return TRUE;
}

std::wstring ItemText(HWND list, int index)
{
    WCHAR text[256];
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

class ModeListTest : public testing::Test {
protected:
    void SetUp() override
    {
        main = CreateMainWindow();
        ASSERT_TRUE(main != NULL);
        modes = GetDlgItem(main, IDC_MODE_LIST);
    }

    void TearDown() override
    {
        PelmiraEnumDisplaySettings = EnumDisplaySettingsExW;
        DestroyMainWindow(main);
    }

    int Fill()
    {
        ClearModeList(modes);
        return FillModeList(modes, L"\\\\.\\DISPLAY1");
    }

    HWND main = NULL;
    HWND modes = NULL;
};

TEST_F(ModeListTest, ListsTheMachinesModesWithTheCurrentOneSelected)
{
    // Filled when the window opened, for the primary display.
    DEVMODEW current;
    ClearDevMode(&current);
    ASSERT_TRUE(EnumDisplaySettingsExW(L"\\\\.\\DISPLAY1", ENUM_CURRENT_SETTINGS, &current, 0));
    int count = static_cast<int>(SendMessageW(modes, LB_GETCOUNT, 0, 0));
    int expectedSelection = -1;
    DEVMODEW mode;
    ClearDevMode(&mode);
    int number = 0;
    for (; EnumDisplaySettingsExW(L"\\\\.\\DISPLAY1", number, &mode, 0); ++number) {
        SCOPED_TRACE(testing::Message() << "mode " << number);
        ASSERT_LT(number, count);
        WCHAR expected[256];
        swprintf(expected, 256, L"%u x %u, %u bit, %u Hz%ls\n", static_cast<unsigned>(mode.dmPelsWidth),
                 static_cast<unsigned>(mode.dmPelsHeight), static_cast<unsigned>(mode.dmBitsPerPel),
                 static_cast<unsigned>(mode.dmDisplayFrequency),
                 (mode.dmDisplayFlags & DM_INTERLACED) ? L", Interlaced" : L"");
        EXPECT_EQ(expected, ItemText(modes, number));
        const DisplayModeEntry* entry =
            reinterpret_cast<const DisplayModeEntry*>(SendMessageW(modes, LB_GETITEMDATA, number, 0));
        ASSERT_TRUE(entry != NULL);
        EXPECT_EQ(mode.dmPelsWidth, entry->width);
        EXPECT_EQ(mode.dmPelsHeight, entry->height);
        if (expectedSelection < 0 && ModeMatchesEntry(current, *entry))
            expectedSelection = number;
    }
    EXPECT_EQ(number, count);
    EXPECT_GT(count, 10) << "a Wine desktop offers many modes";
    ASSERT_GE(expectedSelection, 0);
    EXPECT_EQ(expectedSelection, SendMessageW(modes, LB_GETCURSEL, 0, 0));
    EXPECT_EQ(L"1920 x 1080, 32 bit, 60 Hz\n", ItemText(modes, expectedSelection));
}

TEST_F(ModeListTest, DuplicatesInterlacingAndAnUnreadableCurrentMode)
{
    PelmiraEnumDisplaySettings = EnumerateOfferedModes;
    OfferedModes = { Mode(640, 480, 8, 60, 0), Mode(1024, 768, 32, 75, 0), Mode(1920, 1080, 32, 60, DM_INTERLACED),
                     Mode(1024, 768, 32, 75, 0) };
    OfferedCurrent = Mode(1024, 768, 32, 75, 0);
    CurrentModeReadable = true;
    EXPECT_EQ(1, Fill());
    ASSERT_EQ(4, SendMessageW(modes, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(L"640 x 480, 8 bit, 60 Hz\n", ItemText(modes, 0));
    EXPECT_EQ(L"1024 x 768, 32 bit, 75 Hz\n", ItemText(modes, 1));
    EXPECT_EQ(L"1920 x 1080, 32 bit, 60 Hz, Interlaced\n", ItemText(modes, 2));
    EXPECT_EQ(L"1024 x 768, 32 bit, 75 Hz\n", ItemText(modes, 3));
    const DisplayModeEntry* interlaced =
        reinterpret_cast<const DisplayModeEntry*>(SendMessageW(modes, LB_GETITEMDATA, 2, 0));
    EXPECT_EQ(static_cast<DWORD>(DM_INTERLACED), interlaced->displayFlags);

    // Another rate is another mode.
    OfferedCurrent = Mode(1024, 768, 32, 60, 0);
    EXPECT_EQ(-1, Fill());
    // A current mode that cannot be read selects nothing.
    OfferedCurrent = Mode(640, 480, 8, 60, 0);
    CurrentModeReadable = false;
    EXPECT_EQ(-1, Fill());
    EXPECT_EQ(4, SendMessageW(modes, LB_GETCOUNT, 0, 0));
    // No modes at all.
    OfferedModes.clear();
    EXPECT_EQ(-1, Fill());
    EXPECT_EQ(0, SendMessageW(modes, LB_GETCOUNT, 0, 0));
}

TEST_F(ModeListTest, HundredRefillsLeakNothing)
{
    PelmiraEnumDisplaySettings = EnumerateOfferedModes;
    OfferedModes = { Mode(640, 480, 32, 60, 0), Mode(800, 600, 32, 60, 0), Mode(1920, 1080, 32, 60, 0) };
    CurrentModeReadable = true;
    OfferedCurrent = OfferedModes[2];
    Fill();
    size_t heapBefore = CrtHeapBytesInUse();
    for (int i = 0; i < 100; ++i)
        Fill();
    EXPECT_EQ(heapBefore, CrtHeapBytesInUse()) << "heap bytes of the C runtime";
    ClearModeList(modes);
    EXPECT_EQ(0, SendMessageW(modes, LB_GETCOUNT, 0, 0));
    // Items without a record (item data 0) are emptied too.
    SendMessageW(modes, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"no record"));
    ClearModeList(modes);
    EXPECT_EQ(0, SendMessageW(modes, LB_GETCOUNT, 0, 0));
}

}  // namespace
