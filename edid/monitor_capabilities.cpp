// What the monitor can show, in the report: its fastest mode at the native
// size, variable refresh, colour points and gamut, HDR, and every mode it
// lists.
#include "edid/report_text.h"

#include <math.h>

#include "app/format_text.h"
#include "edid/gamut.h"

// The fastest listed mode of the native size; on a tie the progressive one,
// which sorts first.
static void AddHighestRefresh(ReportText* report, const EdidFacts& facts)
{
    if (!facts.hasNative)
        return;
    for (int i = 0; i < facts.modeCount; ++i) {
        const EdidMode& mode = facts.modes[i];
        if (mode.width == facts.native.width && mode.height == facts.native.height) {
            wchar_t text[MODE_CAPACITY];
            AddLine(report, L"Highest refresh: %ls\r\n",
                    ModeText(mode.width, mode.height, mode.interlaced, mode.refreshMillihertz, text));
            return;
        }
    }
}

static void AddVariableRefresh(ReportText* report, const EdidFacts& facts)
{
    if (facts.hdmiVrrMaxHz > 0)
        AddLine(report, L"Variable refresh: %d - %d Hz\r\n", facts.hdmiVrrMinHz, facts.hdmiVrrMaxHz);
    else if (facts.amdMaxHz > 0)
        AddLine(report, L"Variable refresh: %d - %d Hz\r\n", facts.amdMinHz, facts.amdMaxHz);
}

// A coordinate in 1/1024 steps to four decimals, cut off as edid-decode
// prints it.
static const wchar_t* CoordinateText(int value, wchar_t* text)
{
    int tenThousandths = value * 10000 / 1024;
    FormatText(text, 16, L"%d.%04d", tenThousandths / 10000, tenThousandths % 10000);
    return text;
}

// The colour points, and the gamut when red, green and blue make a triangle.
static void AddColour(ReportText* report, const EdidColourPoints& colours)
{
    static const wchar_t* const Names[4] = { L"red", L"green", L"blue", L"white" };
    bool given = false;
    for (int i = 0; i < 4; ++i)
        given = given || colours.x[i] != 0 || colours.y[i] != 0;
    if (!given)
        return;
    wchar_t line[160] = L"Colour points: ";
    for (int i = 0; i < 4; ++i) {
        wchar_t x[16], y[16];
        size_t at = wcslen(line);
        FormatText(line + at, static_cast<int>(160 - at), L"%ls%ls %ls, %ls", i > 0 ? L"; " : L"", Names[i],
                   CoordinateText(colours.x[i], x), CoordinateText(colours.y[i], y));
    }
    AddLine(report, L"%ls\r\n", line);
    // Twice the signed area of red, green and blue, in whole steps squared.
    int64_t area = static_cast<int64_t>(colours.x[1] - colours.x[0]) * (colours.y[2] - colours.y[0]) -
                   static_cast<int64_t>(colours.y[1] - colours.y[0]) * (colours.x[2] - colours.x[0]);
    if (area == 0)
        return;
    Chromaticity monitor[3];
    for (int i = 0; i < 3; ++i)
        monitor[i] = { colours.x[i] / 1024.0, colours.y[i] / 1024.0 };
    AddLine(report, L"Colour gamut: %.1f%% of sRGB, %.1f%% of DCI-P3, %.1f%% of BT.2020\r\n",
            100 * GamutCoverage(monitor, SrgbPrimaries), 100 * GamutCoverage(monitor, DciP3Primaries),
            100 * GamutCoverage(monitor, Bt2020Primaries));
}

// The HDR transfer functions, then the luminances the block gives: the
// peak and frame average from their codes, 50 x 2^(code / 32) cd/m2, and
// black as a share of the peak.
static void AddHdr(ReportText* report, const EdidHdr& hdr)
{
    static const struct { unsigned bit; const wchar_t* name; } Transfers[3] = {
        { TRANSFER_PQ, L"PQ" }, { TRANSFER_HLG, L"HLG" }, { TRANSFER_HDR_GAMMA, L"HDR gamma" }
    };
    if (!hdr.present || (hdr.transfers & (TRANSFER_PQ | TRANSFER_HLG | TRANSFER_HDR_GAMMA)) == 0)
        return;
    wchar_t names[32] = L"";
    for (const auto& transfer : Transfers) {
        if (hdr.transfers & transfer.bit) {
            size_t at = wcslen(names);
            FormatText(names + at, static_cast<int>(32 - at), L"%ls%ls", at > 0 ? L", " : L"", transfer.name);
        }
    }
    double peak = 50 * pow(2.0, hdr.maxCode / 32.0);
    double black = peak * pow(hdr.minCode / 255.0, 2) / 100;
    wchar_t luminances[128] = L"";
    if (hdr.luminanceCount >= 1)
        FormatText(luminances, 128, L"; peak %.3f cd/m\u00B2", peak);
    if (hdr.luminanceCount >= 2) {
        size_t at = wcslen(luminances);
        FormatText(luminances + at, static_cast<int>(128 - at), L", frame average %.3f cd/m\u00B2",
                   50 * pow(2.0, hdr.averageCode / 32.0));
    }
    if (hdr.luminanceCount >= 3) {
        size_t at = wcslen(luminances);
        FormatText(luminances + at, static_cast<int>(128 - at), L", black %.3f cd/m\u00B2", black);
    }
    AddLine(report, L"HDR: %ls%ls\r\n", names, luminances);
}

void AddCapabilities(ReportText* report, const EdidFacts& facts)
{
    AddHighestRefresh(report, facts);
    AddVariableRefresh(report, facts);
    AddColour(report, facts.colours);
    AddHdr(report, facts.hdr);
}

void AddAdapterNote(ReportText* report, const EdidFacts& facts, const MonitorCurrentMode* current)
{
    if (!facts.hasNative)
        return;
    const EdidTiming& native = facts.native;
    int offered = HighestOfferedHertz(current, native.width, native.height);
    int64_t listed = HighestListedMillihertz(facts, native.width, native.height, -1);
    if (offered < 0 || listed < 0 || (listed + 500) / 1000 <= offered + 1)
        return;
    wchar_t mode[MODE_CAPACITY];
    AddLine(report, L"Note: The monitor can show %ls, but the display adapter offers at most %d Hz at that size. "
            L"A cable, port or setting that carries less, such as an older cable or a port of an older "
            L"standard, is a common cause.\r\n",
            ModeText(native.width, native.height, false, listed, mode), offered);
}

// The listed mode that the current mode is: of its size, either way round,
// progressive, the nearest in rate and within 0.5 Hz of it; -1 when none.
static int CurrentModeIndex(const EdidFacts& facts, const MonitorCurrentMode* current)
{
    int64_t now = current != NULL ? CurrentMillihertz(current) : -1;
    int found = -1;
    int64_t nearest = 501;
    for (int i = 0; i < facts.modeCount && now >= 0; ++i) {
        const EdidMode& mode = facts.modes[i];
        int64_t distance = mode.refreshMillihertz > now ? mode.refreshMillihertz - now : now - mode.refreshMillihertz;
        if (!mode.interlaced && IsOfSize(mode.width, mode.height, current->width, current->height) &&
            distance < nearest) {
            nearest = distance;
            found = i;
        }
    }
    return found;
}

void AddModeList(ReportText* report, const EdidFacts& facts, const MonitorCurrentMode* current)
{
    if (facts.modeCount == 0)
        return;
    int currentIndex = CurrentModeIndex(facts, current);
    AddLine(report, L"Modes the monitor lists (%d):\r\n", facts.modeCount);
    for (int i = 0; i < facts.modeCount; ++i) {
        const EdidMode& mode = facts.modes[i];
        const EdidTiming& native = facts.native;
        bool isNative = facts.hasNative && mode.width == native.width && mode.height == native.height &&
                        mode.interlaced == native.interlaced && mode.refreshMillihertz == native.refreshMillihertz;
        wchar_t text[MODE_CAPACITY];
        AddLine(report, L"  %ls%ls%ls\r\n", ModeText(mode.width, mode.height, mode.interlaced,
                                                       mode.refreshMillihertz, text),
                isNative ? L" (native)" : L"", i == currentIndex ? L" (current)" : L"");
    }
}
