// The Monitor details dialog from the main window's button: the report it
// shows for Wine's monitor and for an offered EDID and refresh, "&Copy",
// "Close" and Escape, the button for a row without monitor, no leaks.
#include "bench/fixture.h"
#include "bench/records.h"
#include "display/monitor_query.h"

#include <stdlib.h>

namespace {

// 2560 x 1440 at 59.951 Hz, 60 x 34 cm, 48-165 Hz, "Pelmira 27".
const char SampleEdid[] =
    "00FFFFFFFFFFFF0040AC34123930000014240104A53C22783AEE91A3544C9926"
    "0F505400000001010101010101010101010101010101565E00A0A0A029503020"
    "350055502100001A000000FD0030A51EFA3C000A202020202020000000FC0050"
    "656C6D6972612032370A2020000000FF005058303034320A2020202020200003";

// The same monitor with a 143.967 Hz timing of its native size in place of its range.
const char FastEdid[] =
    "00FFFFFFFFFFFF0040AC34123930000014240104A53C22783AEE91A3544C9926"
    "0F505400000001010101010101010101010101010101565E00A0A0A029503020"
    "350055502100001AFAE600A0A0A046505020E50C544F2100001A000000FC0050"
    "656C6D6972612032370A2020000000FF005058303034320A202020202020005E";

std::vector<unsigned char> OfferedEdid;
DISPLAYCONFIG_RATIONAL OfferedRefresh;

// An adapter that offers its monitor 2560 x 1440 at 60 Hz only, and is in that mode.
BOOL WINAPI OfferOneMode(LPCWSTR, DWORD number, DEVMODEW* mode, DWORD)
{
    if (number != 0 && number != ENUM_CURRENT_SETTINGS)
        return FALSE;
    ClearDevMode(mode);
    mode->dmPelsWidth = 2560;
    mode->dmPelsHeight = 1440;
    mode->dmDisplayFrequency = 60;
    return TRUE;
}

size_t OfferEdid(const WCHAR*, unsigned char* edid, size_t)
{
    memcpy(edid, OfferedEdid.data(), OfferedEdid.size());
    return OfferedEdid.size();
}

bool OfferRefresh(const WCHAR*, DISPLAYCONFIG_RATIONAL* refresh)
{
    *refresh = OfferedRefresh;
    return refresh->Denominator != 0;
}

// What a tick of a thread timer in the dialog's modal loop saw: the report
// and, after "&Copy", the clipboard (each case's report differs, so an old
// text cannot pass). The tick then ends the dialog with Escape or "Close";
// one still there at the next tick is ended by force.
struct Seen {
    HWND dialog;
    std::wstring report, copied;
};
std::vector<Seen> SeenDialogs;
bool EndWithEscape;

void CALLBACK DriveMonitorDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = GetActiveWindow();
    if (dialog == NULL || GetWindow(dialog, GW_OWNER) == NULL)
        return;
    if (!SeenDialogs.empty() && SeenDialogs.back().dialog == dialog) {
        SeenDialogs.back().report = L"<not ended>";
        EndDialog(dialog, 0);
        return;
    }
    std::vector<WCHAR> report(MonitorReportCapacity);
    GetDlgItemTextW(dialog, IDC_MONITOR_REPORT, report.data(), MonitorReportCapacity);
    SendDlgItemMessageW(dialog, IDC_MONITOR_COPY, BM_CLICK, 0, 0);
    OpenClipboard(NULL);
    HANDLE copied = GetClipboardData(CF_UNICODETEXT);
    SeenDialogs.push_back({ dialog, report.data(), copied ? static_cast<const WCHAR*>(GlobalLock(copied)) : L"<none>" });
    GlobalUnlock(copied);
    CloseClipboard();
    if (EndWithEscape)
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    else
        PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
}

// Presses "Monitor details" and returns what the dialogs it opened showed.
std::vector<Seen> PressMonitorDetails(HWND main)
{
    SeenDialogs.clear();
    UINT_PTR timer = SetTimer(NULL, 0, 20, DriveMonitorDialog);
    SendMessageW(main, WM_COMMAND, IDC_MONITOR_DETAILS, 0);
    KillTimer(NULL, timer);
    return SeenDialogs;
}

using MonitorDialogTest = MainWindowTest;

TEST_F(MonitorDialogTest, ShowsAndCopiesTheReportOfTheSelectedMonitor)
{
    // Wine's desktop is 1920 x 1080 at 96 dots per inch; its own queries
    // (not offered) find no EDID and 60 / 1 Hz. The last adapter offers the
    // monitor's native size at 60 Hz only.
    const struct {
        bool offered;
        const char* edid;
        DISPLAYCONFIG_RATIONAL refresh;
        const WCHAR* lines[2];
        bool oneMode = false;
    } cases[] = {
        { false, "", { 60, 1 }, { L"Current mode: 1920 x 1080 at 60.000 Hz", L"Note: The monitor reports no EDID." } },
        { true, SampleEdid, { 60000, 1001 }, { L"Current mode: 1920 x 1080 at 59.940 Hz", L"Native mode: 2560 x 1440 at 59.951 Hz" } },
        { true, "", { 0, 0 }, { L"Current mode: 1920 x 1080", L"Note: The monitor reports no EDID." } },
        { true, FastEdid, { 59951, 1000 }, { L"Note: The monitor can show 2560 x 1440 at 143.967 Hz, but the display "
          L"adapter offers at most 60 Hz at that size. A cable, port or setting that carries less, such as an older "
          L"cable or a port of an older standard, is a common cause.", L"  2560 x 1440 at 59.951 Hz (native) (current)" }, true },
    };
    std::string before = DescribeCounts(CurrentObjectCounts());
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "offered " << c.offered << ", " << c.refresh.Numerator << " / " << c.refresh.Denominator << " Hz");
        OfferedEdid.clear();
        for (const char* hex = c.edid; *hex != '\0'; hex += 2)
            OfferedEdid.push_back(static_cast<unsigned char>(strtoul(std::string(hex, 2).c_str(), NULL, 16)));
        OfferedRefresh = c.refresh;
        PelmiraReadMonitorEdid = c.offered ? OfferEdid : ReadMonitorEdid;
        PelmiraQueryExactRefresh = c.offered ? OfferRefresh : QueryExactRefresh;
        PelmiraEnumDisplaySettings = c.oneMode ? OfferOneMode : EnumDisplaySettingsExW;
        EndWithEscape = !EndWithEscape;

        const OfferedMode offered = { 2560, 1440, 60 };
        MonitorCurrentMode current = { c.oneMode ? 2560 : 1920, c.oneMode ? 1440 : 1080, c.refresh.Numerator,
                                       c.refresh.Denominator, 96, c.oneMode ? &offered : NULL, c.oneMode ? 1 : 0 };
        std::vector<WCHAR> expected(MonitorReportCapacity);
        FormatMonitorReport(OfferedEdid.empty() ? NULL : OfferedEdid.data(), OfferedEdid.size(), &current,
                            expected.data(), MonitorReportCapacity);
        std::vector<Seen> seen = PressMonitorDetails(main);
        ASSERT_EQ(1u, seen.size());
        EXPECT_EQ(Narrow(expected.data()), Narrow(seen[0].report));
        EXPECT_EQ(Narrow(expected.data()), Narrow(seen[0].copied));
        // The adapter's shortfall, not a rate to choose in the display settings.
        EXPECT_EQ(std::wstring::npos, seen[0].report.find(L"accepts up to")) << Narrow(seen[0].report);
        for (const WCHAR* line : c.lines)
            EXPECT_NE(std::wstring::npos, (L"\n" + seen[0].report).find(L"\n" + std::wstring(line) + L"\r\n")) << Narrow(line);
    }
    EXPECT_EQ(before, DescribeCounts(CurrentObjectCounts()));

    // The button follows the selected row's monitor; without a selected row
    // it does nothing.
    ReplaceRows(list, L"\\\\.\\DISPLAY7", false);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(main, IDC_MONITOR_DETAILS)));
    EXPECT_EQ(0u, PressMonitorDetails(main).size());
    ReplaceRows(list, L"\\\\.\\DISPLAY1", true);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, IDC_MONITOR_DETAILS)));
    SetRowSelected(list, -1, false);
    EXPECT_EQ(0u, PressMonitorDetails(main).size());
}

}  // namespace
