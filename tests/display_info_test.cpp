// The information panel: FormatText, the standard resolution names, the
// fourteen fields from synthetic and real device caps, and device failures.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <locale.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "app/app_state.h"
#include "app/format_text.h"
#include "app/startup.h"
#include "bench/bench.h"
#include "bench/records.h"
#include "display/display_info.h"
#include "display/resolution_names.h"
#include "mainwin/device_list.h"
#include "res/resource.h"

namespace {

TEST(FormatText, FullStopWhateverTheLocale)
{
    _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    const char* german = setlocale(LC_ALL, "German_Germany.1252");
    if (german == NULL)
        german = setlocale(LC_ALL, "de-DE");
    std::string localeName = german != NULL ? german : "";
    // The runtime's own printf follows the locale: a comma.
    WCHAR localePrinted[64] = L"";
    _snwprintf(localePrinted, 64, L"%.2f", 2.5);
    WCHAR text[64];
    int length = FormatText(text, 64, L"%.2f (%ls) %d %u", 1.7777, L"16:9", -3, 7u);
    setlocale(LC_ALL, "C");
    _configthreadlocale(_DISABLE_PER_THREAD_LOCALE);

    ASSERT_FALSE(localeName.empty()) << "no German locale to try FormatText with";
    EXPECT_STREQ(L"2,50", localePrinted) << "locale " << localeName;
    EXPECT_EQ(16, length);
    EXPECT_STREQ(L"1.78 (16:9) -3 7", text);
}

TEST(FormatText, TruncationAndTermination)
{
    WCHAR text[16];
    // Exactly fits: six characters and the terminator in seven.
    wmemset(text, L'#', 16);
    EXPECT_EQ(6, FormatText(text, 7, L"%d", 123456));
    EXPECT_STREQ(L"123456", text);
    EXPECT_EQ(L'#', text[7]);
    // One short: nothing but an empty text.
    wmemset(text, L'#', 16);
    EXPECT_EQ(-1, FormatText(text, 6, L"%d", 123456));
    EXPECT_EQ(L'\0', text[0]);
    EXPECT_EQ(L'#', text[6]);
    // A buffer of one character holds only the terminator.
    EXPECT_EQ(0, FormatText(text, 1, L""));
    EXPECT_EQ(-1, FormatText(text, 1, L"x"));
    EXPECT_EQ(L'\0', text[0]);
    // No room at all: nothing is written.
    text[0] = L'#';
    EXPECT_EQ(-1, FormatText(text, 0, L"x"));
    EXPECT_EQ(L'#', text[0]);
    EXPECT_EQ(-1, FormatText(NULL, 10, L"x"));
}

TEST(StandardResolutionName, EveryPairAndTheMisses)
{
    struct Pair {
        int width, height;
        const WCHAR* name;
    } pairs[] = {
        { 320, 200, L"8:5 CGA" },      { 320, 240, L"4:3 QVGA" },    { 352, 288, L"CIF" },
        { 384, 288, L"4:3 SIF" },      { 480, 320, L"3:2 HVGA" },    { 640, 480, L"4:3 VGA" },
        { 720, 480, L"3:2" },          { 720, 576, L"5:4" },         { 768, 576, L"4:3 PAL" },
        { 800, 480, L"5:3 WVGA" },     { 800, 600, L"4:3 SVGA" },    { 854, 480, L"16:9 WVGA" },
        { 1024, 576, L"16:9 PAL" },    { 1024, 600, L"WSVGA" },      { 1024, 768, L"4:3 XGA" },
        { 1152, 768, L"3:2" },         { 1152, 864, L"4:3 XGA+" },   { 1280, 720, L"16:9 HD" },
        { 1280, 768, L"5:3 WXGA" },    { 1280, 800, L"8:5 WXGA" },   { 1280, 854, L"3:2" },
        { 1280, 960, L"4:3" },         { 1280, 1024, L"5:4 SXGA" },  { 1366, 768, L"16:9" },
        { 1400, 1050, L"4:3 SXGA+" },  { 1440, 900, L"8:5" },        { 1440, 960, L"3:2" },
        { 1440, 1080, L"4:3" },        { 1600, 900, L"16:9" },       { 1600, 1200, L"4:3 UXGA" },
        { 1680, 1050, L"8:5 WSXGA+" }, { 1920, 1080, L"16:9 FHD" },  { 1920, 1200, L"8:5 WUXGA" },
        { 2048, 1080, L"17:9 2K" },    { 2048, 1536, L"4:3 QXGA" },  { 2560, 1080, L"21:9 UWHD" },
        { 2560, 1440, L"16:9 WQHD" },  { 2560, 1600, L"8:5 WQXGA" }, { 2560, 2048, L"5:4 QSXGA" },
        { 3440, 1440, L"21:9 UWQHD" }, { 3840, 2160, L"16:9 UHD-1" }, { 4096, 2160, L"17:9 4K" },
    };
    ASSERT_EQ(42u, ARRAYSIZE(pairs));
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(testing::Message() << pair.width << " x " << pair.height);
        const WCHAR* name = StandardResolutionName(pair.width, pair.height);
        ASSERT_TRUE(name != NULL);
        EXPECT_STREQ(pair.name, name);
        // Portrait and off-by-one neighbours are not standard.
        EXPECT_EQ(NULL, StandardResolutionName(pair.height, pair.width));
        EXPECT_EQ(NULL, StandardResolutionName(pair.width, pair.height + 1));
        EXPECT_EQ(NULL, StandardResolutionName(pair.width - 1, pair.height));
    }
    EXPECT_EQ(NULL, StandardResolutionName(0, 0));
    EXPECT_EQ(NULL, StandardResolutionName(-1920, -1080));
    EXPECT_EQ(NULL, StandardResolutionName(-1920, 1080));
}

std::wstring Field(HWND window, int id)
{
    WCHAR text[256];
    GetDlgItemTextW(window, id, text, 256);
    return text;
}

// 1920 x 1080 at 96 dots per inch, as a common monitor reports it.
DisplayCaps FullHdCaps()
{
    DisplayCaps caps = { 32, 1, 1920, 1080, 508, 286, 1920, 1080, 96, 96, 36, 36, 51, 60,
                         3840, 1080, { 0, 0, 1920, 1080 } };
    return caps;
}

class DisplayPanelTest : public testing::Test {
protected:
    void SetUp() override
    {
        StartRecordingMessageBoxes();
        main = CreateMainWindow();
        ASSERT_TRUE(main != NULL);
        list = GetDlgItem(main, IDC_DEVICE_LIST);
    }

    void TearDown() override
    {
        DestroyMainWindow(main);
        StopRecordingMessageBoxes();
    }

    HWND main = NULL;
    HWND list = NULL;
};

// The fields of a 1920 x 1080 display at 96 dots per inch.
void ExpectFullHdFields(HWND main, const WCHAR* virtualScreen)
{
    EXPECT_EQ(L"32", Field(main, IDC_BITS_PER_PIXEL));
    EXPECT_EQ(L"1", Field(main, IDC_PLANES));
    EXPECT_EQ(L"16,777,216 (True Color)", Field(main, IDC_NUMBER_OF_COLORS));
    EXPECT_EQ(L"1920 pixels (508 millimeters)", Field(main, IDC_HORZ_RESOLUTION));
    EXPECT_EQ(L"1080 pixels (286 millimeters)", Field(main, IDC_VERT_RESOLUTION));
    EXPECT_EQ(L"96", Field(main, IDC_DPI_X));
    EXPECT_EQ(L"96", Field(main, IDC_DPI_Y));
    EXPECT_EQ(L"36/36 (1.00) square", Field(main, IDC_PIXEL_ASPECT));
    EXPECT_EQ(L"51", Field(main, IDC_PIXEL_DIAGONAL));
    EXPECT_EQ(L"1.78 (16:9 FHD)", Field(main, IDC_SCREEN_ASPECT));
    EXPECT_EQ(L"2202.91 (22.83\")", Field(main, IDC_HYPOTENUSE));
    EXPECT_EQ(L"60 Hz", Field(main, IDC_REFRESH_RATE));
    EXPECT_EQ(virtualScreen, Field(main, IDC_VIRTUAL_SCREEN));
    EXPECT_EQ(L"(0, 0) - (1920, 1080)", Field(main, IDC_MONITOR_RECT));
}

TEST_F(DisplayPanelTest, WorkedExample)
{
    ShowDisplayCaps(main, FullHdCaps());
    ExpectFullHdFields(main, L"3840 x 1080 pixels");
}

TEST_F(DisplayPanelTest, EdgeCases)
{
    DisplayCaps caps = FullHdCaps();
    caps.desktopVertRes = 1000;
    ShowDisplayCaps(main, caps);
    EXPECT_EQ(L"1.92", Field(main, IDC_SCREEN_ASPECT));

    struct Depth {
        int bits;
        const WCHAR* colours;
    } depths[] = { { 1, L"2 (Monochrome)" }, { 2, L"" }, { 4, L"16" }, { 8, L"256" },
                   { 15, L"32,768 (High Color)" }, { 16, L"65,536 (High Color)" },
                   { 24, L"16,777,216 (True Color)" }, { 32, L"16,777,216 (True Color)" }, { 64, L"" } };
    for (const Depth& depth : depths) {
        SCOPED_TRACE(testing::Message() << depth.bits << " bits per pixel");
        caps = FullHdCaps();
        caps.bitsPixel = depth.bits;
        ShowDisplayCaps(main, caps);
        EXPECT_EQ(depth.colours, Field(main, IDC_NUMBER_OF_COLORS));
    }

    struct Rate {
        int vRefresh;
        const WCHAR* text;
    } rates[] = { { 0, L"(H/W Default)" }, { 1, L"(H/W Default)" }, { 2, L"2 Hz" }, { 144, L"144 Hz" } };
    for (const Rate& rate : rates) {
        caps = FullHdCaps();
        caps.vRefresh = rate.vRefresh;
        ShowDisplayCaps(main, caps);
        EXPECT_EQ(rate.text, Field(main, IDC_REFRESH_RATE)) << "VREFRESH " << rate.vRefresh;
    }

    caps = FullHdCaps();
    caps.aspectX = 0;
    ShowDisplayCaps(main, caps);
    EXPECT_EQ(L"n/a", Field(main, IDC_PIXEL_ASPECT));
    EXPECT_EQ(L"1.78 (16:9 FHD)", Field(main, IDC_SCREEN_ASPECT));
    EXPECT_EQ(L"51", Field(main, IDC_PIXEL_DIAGONAL));

    caps.aspectX = 40;
    caps.aspectY = 36;
    ShowDisplayCaps(main, caps);
    EXPECT_EQ(L"40/36 (1.11) stretched", Field(main, IDC_PIXEL_ASPECT));
    caps.aspectX = 18;
    ShowDisplayCaps(main, caps);
    EXPECT_EQ(L"18/36 (0.50) squashed", Field(main, IDC_PIXEL_ASPECT));

    // Zero divisors: the quotient prints as the formatter prints it, and
    // the other fields are still filled.
    caps = FullHdCaps();
    caps.aspectY = 0;
    caps.desktopVertRes = 0;
    ShowDisplayCaps(main, caps);
    EXPECT_EQ(0u, Field(main, IDC_PIXEL_ASPECT).find(L"36/0 ("));
    EXPECT_FALSE(Field(main, IDC_SCREEN_ASPECT).empty());
    EXPECT_EQ(L"60 Hz", Field(main, IDC_REFRESH_RATE));
    // No dots per inch: no inches, and no division by zero.
    caps = FullHdCaps();
    caps.logPixelsX = 0;
    ShowDisplayCaps(main, caps);
    EXPECT_EQ(L"2202.91 (n/a)", Field(main, IDC_HYPOTENUSE));
    caps = FullHdCaps();
    caps.logPixelsY = 0;
    ShowDisplayCaps(main, caps);
    EXPECT_EQ(L"2202.91 (n/a)", Field(main, IDC_HYPOTENUSE));
}

const int PanelFields[] = { IDC_BITS_PER_PIXEL, IDC_NUMBER_OF_COLORS, IDC_PLANES, IDC_HORZ_RESOLUTION,
                            IDC_VERT_RESOLUTION, IDC_DPI_X, IDC_DPI_Y, IDC_PIXEL_ASPECT,
                            IDC_PIXEL_DIAGONAL, IDC_SCREEN_ASPECT, IDC_REFRESH_RATE,
                            IDC_VIRTUAL_SCREEN, IDC_MONITOR_RECT, IDC_HYPOTENUSE };

TEST_F(DisplayPanelTest, WhatWineReportsForItsDesktop)
{
    // The tests run in a 1920 x 1080 Wine desktop at 96 dots per inch; the
    // primary display was selected when the window opened.
    ExpectFullHdFields(main, L"1920 x 1080 pixels");
    EXPECT_TRUE(StopRecordingMessageBoxes().empty());
}

TEST_F(DisplayPanelTest, DeviceThatCannotBeOpened)
{
    HWND modes = GetDlgItem(main, IDC_MODE_LIST);
    ASSERT_GT(SendMessageW(modes, LB_GETCOUNT, 0, 0), 0);

    // Without a monitor: silence, and everything empty.
    DisplayDeviceRecord* silent = NewDeviceRecord(L"\\\\.\\NOSUCHDISPLAY", false);
    ShowDisplayInfo(silent);
    EXPECT_TRUE(StopRecordingMessageBoxes().empty());
    for (int field : PanelFields)
        EXPECT_EQ(L"", Field(main, field)) << "field " << field;
    EXPECT_EQ(0, SendMessageW(modes, LB_GETCOUNT, 0, 0));

    // With a monitor: string 104.
    StartRecordingMessageBoxes();
    silent->hasMonitor = 1;
    ShowDisplayInfo(silent);
    std::vector<RecordedMessageBox> shown = StopRecordingMessageBoxes();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(L"Failed to retrieve device information.", shown[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), shown[0].type);
    EXPECT_EQ(main, shown[0].owner);
    EXPECT_EQ(L"", Field(main, IDC_BITS_PER_PIXEL));
    free(silent);
    StartRecordingMessageBoxes();
}

TEST_F(DisplayPanelTest, OnlyANewlySelectedRowRefillsThePanel)
{
    // Row 0 is the real display, row 1 one that cannot be opened.
    DisplayDeviceRecord* bogus = NewDeviceRecord(L"\\\\.\\NOSUCHDISPLAY", false);
    LVITEMW item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LVIF_PARAM;
    item.iItem = 1;
    item.lParam = reinterpret_cast<LPARAM>(bogus);
    ASSERT_EQ(1, SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(L"32", Field(main, IDC_BITS_PER_PIXEL));

    // Adding row 1 to the selection (Ctrl-click) shows row 1: nothing.
    SetRowSelected(list, 1, true);
    EXPECT_EQ(L"", Field(main, IDC_BITS_PER_PIXEL));
    // Deselecting it changes nothing; row 0 is still selected but was not
    // newly selected.
    SetRowSelected(list, 1, false);
    EXPECT_EQ(L"", Field(main, IDC_BITS_PER_PIXEL));
    // Selecting row 0 anew shows it again.
    SetRowSelected(list, 0, false);
    SetRowSelected(list, 0, true);
    EXPECT_EQ(L"32", Field(main, IDC_BITS_PER_PIXEL));
}

TEST_F(DisplayPanelTest, HundredSelectionsLeakNothing)
{
    DisplayDeviceRecord* record = GetDeviceRecord(list, 0);
    ASSERT_TRUE(record != NULL);
    ShowDisplayInfo(record);
    ObjectCounts before = CurrentObjectCounts();
    size_t heapBefore = CrtHeapBytesInUse();
    for (int i = 0; i < 100; ++i) {
        SetRowSelected(list, 0, false);
        SetRowSelected(list, 0, true);
    }
    EXPECT_TRUE(SameCounts(before, CurrentObjectCounts()))
        << "before: " << DescribeCounts(before) << "\nafter:  " << DescribeCounts(CurrentObjectCounts());
    EXPECT_EQ(heapBefore, CrtHeapBytesInUse()) << "heap bytes of the C runtime";
    EXPECT_EQ(L"32", Field(main, IDC_BITS_PER_PIXEL));
}

}  // namespace
