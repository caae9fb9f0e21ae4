// The information panel and the mode list: the fourteen fields and the
// modes of Wine's desktop as the selected row changes, devices that cannot
// be opened, synthetic device caps under a German locale, synthetic modes.
#include "bench/fixture.h"
#include "bench/records.h"
#include "display/display_info.h"

#include <locale.h>
#include <stdio.h>

namespace {

using DisplayPanelTest = MainWindowTest;

std::wstring Text(HWND window, int id)
{
    WCHAR text[256];
    GetDlgItemTextW(window, id, text, 256);
    return text;
}

// The panel as Wine reports its 1920 x 1080 desktop at 96 dots per inch.
const std::pair<int, const WCHAR*> WineDesktopFields[] = {
    { IDC_BITS_PER_PIXEL, L"32" },
    { IDC_PLANES, L"1" },
    { IDC_NUMBER_OF_COLORS, L"16,777,216 (True Color)" },
    { IDC_HORZ_RESOLUTION, L"1920 pixels (508 millimeters)" },
    { IDC_VERT_RESOLUTION, L"1080 pixels (286 millimeters)" },
    { IDC_DPI_X, L"96" },
    { IDC_DPI_Y, L"96" },
    { IDC_PIXEL_ASPECT, L"36/36 (1.00) square" },
    { IDC_PIXEL_DIAGONAL, L"51" },
    { IDC_SCREEN_ASPECT, L"1.78 (16:9 FHD)" },
    { IDC_HYPOTENUSE, L"2202.91 (22.83\")" },
    { IDC_REFRESH_RATE, L"60 Hz" },
    { IDC_VIRTUAL_SCREEN, L"1920 x 1080 pixels" },
    { IDC_MONITOR_RECT, L"(0, 0) - (1920, 1080)" },
};

TEST_F(DisplayPanelTest, TheNewlySelectedRowFillsPanelAndModeList)
{
    // Rows 1 and 2: a device that cannot be opened, without a monitor and
    // with one. Row 0 is the real display.
    for (int row = 1; row <= 2; ++row) {
        LVITEMW item = {};
        item.mask = LVIF_PARAM;
        item.iItem = row;
        item.lParam = reinterpret_cast<LPARAM>(NewDeviceRecord(L"\\\\.\\NOSUCHDISPLAY", row == 2));
        ASSERT_EQ(row, SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    const struct {
        int row;
        bool selected, shown;
    } steps[] = { { 0, true, true },     // as the window opened, the primary display selected
                  { 1, true, false },    // without a monitor: emptied, silently
                  { 2, true, false },    // with a monitor: string 104
                  { 0, true, true } };  // selected anew
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << "row " << step.row << " selected " << step.selected);
        SetRowSelected(list, step.row, step.selected);
        for (const auto& field : WineDesktopFields)
            EXPECT_EQ(step.shown ? field.second : L"", Text(main, field.first)) << "field " << field.first;
        EXPECT_EQ(step.shown, SendMessageW(modes, LB_GETCOUNT, 0, 0) > 10) << "a Wine desktop has 60 modes";
        WCHAR current[64] = L"";
        SendMessageW(modes, LB_GETTEXT, SendMessageW(modes, LB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(current));
        EXPECT_STREQ(step.shown ? L"1920 x 1080, 32 bit, 60 Hz\n" : L"", current);
    }
    EXPECT_EQ(std::vector<std::string>({ "Failed to retrieve device information. (Pelmira, error)" }),
              StopRecordingMessageBoxes());
}

TEST_F(DisplayPanelTest, SyntheticCapsUnderAGermanLocale)
{
    // Each case changes one number of a 1920 x 1080 display at 96 dots per
    // inch and reads one field. The runtime's own printf would print "1,78".
    _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    ASSERT_TRUE(setlocale(LC_ALL, "German_Germany.1252") != NULL);
    WCHAR localePrinted[16] = L"";
    _snwprintf(localePrinted, 16, L"%.2f", 2.5);
    EXPECT_STREQ(L"2,50", localePrinted);
    const struct {
        int DisplayCaps::*number;
        int value;
        int id;
        const WCHAR* text;
    } cases[] = {
        { &DisplayCaps::virtualWidth, 3840, IDC_VIRTUAL_SCREEN, L"3840 x 1080 pixels" },
        { &DisplayCaps::bitsPixel, 1, IDC_NUMBER_OF_COLORS, L"2 (Monochrome)" },
        { &DisplayCaps::bitsPixel, 4, IDC_NUMBER_OF_COLORS, L"16" },
        { &DisplayCaps::bitsPixel, 8, IDC_NUMBER_OF_COLORS, L"256" },
        { &DisplayCaps::bitsPixel, 15, IDC_NUMBER_OF_COLORS, L"32,768 (High Color)" },
        { &DisplayCaps::bitsPixel, 16, IDC_NUMBER_OF_COLORS, L"65,536 (High Color)" },
        { &DisplayCaps::bitsPixel, 24, IDC_NUMBER_OF_COLORS, L"16,777,216 (True Color)" },
        { &DisplayCaps::bitsPixel, 64, IDC_NUMBER_OF_COLORS, L"" },
        { &DisplayCaps::vRefresh, 0, IDC_REFRESH_RATE, L"(H/W Default)" },
        { &DisplayCaps::vRefresh, 1, IDC_REFRESH_RATE, L"(H/W Default)" },
        { &DisplayCaps::vRefresh, 2, IDC_REFRESH_RATE, L"2 Hz" },
        { &DisplayCaps::aspectX, 0, IDC_PIXEL_ASPECT, L"n/a" },
        { &DisplayCaps::aspectX, 40, IDC_PIXEL_ASPECT, L"40/36 (1.11) stretched" },
        { &DisplayCaps::aspectX, 18, IDC_PIXEL_ASPECT, L"18/36 (0.50) squashed" },
        { &DisplayCaps::desktopHorzRes, 1440, IDC_SCREEN_ASPECT, L"1.33 (4:3)" },
        { &DisplayCaps::desktopVertRes, 1000, IDC_SCREEN_ASPECT, L"1.92" },
        { &DisplayCaps::desktopVertRes, 1081, IDC_SCREEN_ASPECT, L"1.78" },
        // Zero divisors: no inches, and the fields after them still filled.
        { &DisplayCaps::logPixelsX, 0, IDC_HYPOTENUSE, L"2202.91 (n/a)" },
        { &DisplayCaps::logPixelsY, 0, IDC_HYPOTENUSE, L"2202.91 (n/a)" },
        { &DisplayCaps::aspectY, 0, IDC_MONITOR_RECT, L"(0, 0) - (1920, 1080)" },
        { &DisplayCaps::desktopVertRes, 0, IDC_MONITOR_RECT, L"(0, 0) - (1920, 1080)" },
    };
    const DisplayCaps landscape = { 32, 1, 1920, 1080, 508, 286, 1920, 1080, 96, 96, 36, 36, 51, 60,
                                    1920, 1080, { 0, 0, 1920, 1080 } };
    for (const auto& c : cases) {
        DisplayCaps caps = landscape;
        caps.*c.number = c.value;
        ShowDisplayCaps(main, caps);
        EXPECT_EQ(c.text, Text(main, c.id)) << "number set to " << c.value << ", field " << c.id;
    }
    // A portrait desktop is not named after its landscape twin.
    DisplayCaps portrait = landscape;
    portrait.desktopHorzRes = 1080;
    portrait.desktopVertRes = 1920;
    ShowDisplayCaps(main, portrait);
    EXPECT_EQ(L"0.56", Text(main, IDC_SCREEN_ASPECT));
    setlocale(LC_ALL, "C");
    _configthreadlocale(_DISABLE_PER_THREAD_LOCALE);
}

// Modes of a synthetic enumeration (width, height, depth, rate, flags): the
// first OfferedCount are listed, CurrentOffered is the current one (-1: it
// cannot be read).
const DWORD Offered[][5] = { { 640, 480, 8, 60, 0 }, { 1024, 768, 32, 75, 0 }, { 1920, 1080, 32, 60, DM_INTERLACED },
                             { 1024, 768, 32, 75, 0 }, { 1024, 768, 32, 60, 0 } };
DWORD OfferedCount;
int CurrentOffered;

BOOL WINAPI EnumerateOfferedModes(LPCWSTR, DWORD number, DEVMODEW* mode, DWORD)
{
    int index = number == ENUM_CURRENT_SETTINGS ? CurrentOffered : number < OfferedCount ? static_cast<int>(number) : -1;
    if (index < 0 || mode == NULL)
        return FALSE;
    ClearDevMode(mode);
    mode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFLAGS | DM_DISPLAYFREQUENCY;
    mode->dmPelsWidth = Offered[index][0];
    mode->dmPelsHeight = Offered[index][1];
    mode->dmBitsPerPel = Offered[index][2];
    mode->dmDisplayFrequency = Offered[index][3];
    mode->dmDisplayFlags = Offered[index][4];
    return TRUE;
}

TEST_F(DisplayPanelTest, ModeListDuplicatesInterlacingAndAnUnreadableCurrentMode)
{
    PelmiraEnumDisplaySettings = EnumerateOfferedModes;
    const struct {
        DWORD count;
        int current, selected;
    } cases[] = { { 4, 4, -1 },    // another rate is another mode
                  { 4, -1, -1 },   // the current mode cannot be read
                  { 0, 1, -1 },    // no modes at all
                  { 4, 1, 1 } };   // the first of two equal modes, kept for the texts below
    for (const auto& c : cases) {
        OfferedCount = c.count;
        CurrentOffered = c.current;
        ClearModeList(modes);
        EXPECT_EQ(c.selected, FillModeList(modes, L"\\\\.\\DISPLAY1")) << "current mode " << c.current;
        EXPECT_EQ(static_cast<LRESULT>(c.count), SendMessageW(modes, LB_GETCOUNT, 0, 0));
    }
    const WCHAR* texts[] = { L"640 x 480, 8 bit, 60 Hz\n", L"1024 x 768, 32 bit, 75 Hz\n",
                             L"1920 x 1080, 32 bit, 60 Hz, Interlaced\n" };
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(i, SendMessageW(modes, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(texts[i]))) << Narrow(texts[i]);
    auto interlaced = reinterpret_cast<const DisplayModeEntry*>(SendMessageW(modes, LB_GETITEMDATA, 2, 0));
    EXPECT_EQ(static_cast<DWORD>(DM_INTERLACED), interlaced->displayFlags);
}

}  // namespace
