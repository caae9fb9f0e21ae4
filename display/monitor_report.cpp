// The monitor report: the facts of the EDID, what follows from them for the
// screen, the current mode, and notes on what the user should act on.
#include "display/monitor_report.h"

#include <math.h>

#include "app/format_text.h"
#include "display/edid.h"

// The report as it grows in the caller's buffer.
struct ReportText {
    wchar_t* text;
    int capacity;
    int length;
    bool full;      // a line did not fit
};

static void AddLine(ReportText* report, const wchar_t* format, ...)
{
    if (report->full)
        return;
    va_list arguments;
    va_start(arguments, format);
    int written = FormatTextV(report->text + report->length, report->capacity - report->length, format, arguments);
    va_end(arguments);
    if (written < 0)
        report->full = true;
    else
        report->length += written;
}

enum { RATE_CAPACITY = 32 };

// "59.951 Hz", or "" when the rate is not known (negative).
static const wchar_t* RateText(int64_t millihertz, wchar_t* text)
{
    text[0] = L'\0';
    if (millihertz >= 0)
        FormatText(text, RATE_CAPACITY, L"%d.%03d Hz", static_cast<int>(millihertz / 1000),
                   static_cast<int>(millihertz % 1000));
    return text;
}

// A mode's line: "Native mode: 1920 x 1080 interlaced at 60.000 Hz".
static void AddModeLine(ReportText* report, const wchar_t* label, int width, int height, bool interlaced,
                        int64_t millihertz)
{
    wchar_t rate[RATE_CAPACITY];
    AddLine(report, L"%ls: %d x %d%ls%ls%ls\r\n", label, width, height, interlaced ? L" interlaced" : L"",
            millihertz >= 0 ? L" at " : L"", RateText(millihertz, rate));
}

// The exact rate of the current mode in millihertz, -1 when not known.
static int64_t CurrentMillihertz(const MonitorCurrentMode* current)
{
    if (current->refreshDenominator == 0)
        return -1;
    uint64_t numerator = 2000ull * current->refreshNumerator;
    return static_cast<int64_t>((numerator + current->refreshDenominator) / (2ull * current->refreshDenominator));
}

// The screen's physical size in millimetres: the native timing's, else the
// image size of the base block.
static bool PhysicalSizeMm(const EdidFacts& facts, const EdidTiming* native, double* width, double* height)
{
    if (native != NULL && native->widthMm > 0 && native->heightMm > 0) {
        *width = native->widthMm;
        *height = native->heightMm;
    } else if (facts.widthCm > 0 && facts.heightCm > 0) {
        *width = facts.widthCm * 10.0;
        *height = facts.heightCm * 10.0;
    } else {
        return false;
    }
    return true;
}

static void AddIdentity(ReportText* report, const EdidFacts& facts)
{
    if (facts.name[0] != '\0')
        AddLine(report, L"Monitor: %hs\r\n", facts.name);
    AddLine(report, L"Manufacturer: %hs\r\nProduct code: %04X\r\n", facts.manufacturer, facts.productCode);
    if (facts.serialText[0] != '\0')
        AddLine(report, L"Serial number: %hs\r\n", facts.serialText);
    else if (facts.serialNumber != 0)
        AddLine(report, L"Serial number: %u\r\n", static_cast<unsigned>(facts.serialNumber));
    if (facts.week == 255)
        AddLine(report, L"Manufactured: model year %d\r\n", facts.year);
    else if (facts.week == 0)
        AddLine(report, L"Manufactured: %d\r\n", facts.year);
    else
        AddLine(report, L"Manufactured: week %d of %d\r\n", facts.week, facts.year);
    AddLine(report, L"EDID: version %d.%d, %d extension block%ls\r\n", facts.version, facts.revision,
            facts.extensionCount, facts.extensionCount == 1 ? L"" : L"s");
}

// Image size, native mode and size, and what follows from them; pixels is
// the width and height that one logical inch is drawn in.
static void AddScreen(ReportText* report, const EdidFacts& facts, const EdidTiming* native, int logicalDpi,
                      const int pixels[2])
{
    if (facts.widthCm > 0 && facts.heightCm > 0)
        AddLine(report, L"Image size: %d x %d cm\r\n", facts.widthCm, facts.heightCm);
    else if (facts.aspectHundredths > 0)
        AddLine(report, L"Image size: not given; aspect ratio %d.%02d (%ls)\r\n", facts.aspectHundredths / 100,
                facts.aspectHundredths % 100, facts.aspectPortrait ? L"portrait" : L"landscape");
    if (native != NULL) {
        AddModeLine(report, L"Native mode", native->width, native->height, native->interlaced,
                    native->refreshMillihertz);
        if (native->widthMm > 0 && native->heightMm > 0)
            AddLine(report, L"Native size: %d x %d mm\r\n", native->widthMm, native->heightMm);
    }
    double widthMm, heightMm;
    if (!PhysicalSizeMm(facts, native, &widthMm, &heightMm))
        return;
    double diagonalInches = hypot(widthMm, heightMm) / 25.4;
    AddLine(report, L"Diagonal: %.1f in\r\n", diagonalInches);
    if (native != NULL && native->width > 0 && native->height > 0)
        AddLine(report, L"Pixel density: %.0f ppi\r\n", hypot(native->width, native->height) / diagonalInches);
    if (pixels[0] > 0 && pixels[1] > 0)
        AddLine(report, L"One logical inch: %.2f in on this monitor\r\n",
                logicalDpi * diagonalInches / hypot(pixels[0], pixels[1]));
}

// Whether a timing is of the given size, upright or turned a quarter (a
// monitor on its side reports its mode with width and height swapped).
static bool IsOfSize(const EdidTiming& timing, int width, int height)
{
    return (timing.width == width && timing.height == height) ||
           (timing.width == height && timing.height == width);
}

// The fastest timing of the given size that the EDID lists, in millihertz,
// or -1. The range limits' highest rate is no promise for every size: the
// line rate and the pixel clock limit it at the larger ones.
static int64_t HighestMillihertz(const EdidFacts& facts, int width, int height)
{
    int64_t highest = -1;
    for (int i = 0; i < facts.timingCount; ++i) {
        const EdidTiming& timing = facts.timings[i];
        if (IsOfSize(timing, width, height) && timing.refreshMillihertz > highest)
            highest = timing.refreshMillihertz;
    }
    return highest;
}

static void AddBlockNotes(ReportText* report, const EdidFacts& facts)
{
    int missing = facts.extensionCount + 1 - facts.blocksRead;
    if (facts.problems & EDID_TOO_SHORT)
        AddLine(report, L"Note: The EDID is only %d bytes long; a valid one has at least 128.\r\n",
                static_cast<int>(facts.size));
    if (facts.problems & EDID_BAD_HEADER)
        AddLine(report, L"Note: The EDID does not begin with the EDID header, so none of it can be read.\r\n");
    if (facts.problems & EDID_PARTIAL_BLOCK)
        AddLine(report, L"Note: The EDID is %d bytes long, not a whole number of 128-byte blocks; "
                L"the last %d bytes are left out.\r\n", static_cast<int>(facts.size),
                static_cast<int>(facts.size - facts.blocksRead * EDID_BLOCK_SIZE));
    if (facts.problems & EDID_MISSING_BLOCKS)
        AddLine(report, L"Note: The EDID announces %d extension block%ls, but %d of them %ls missing.\r\n",
                facts.extensionCount, facts.extensionCount == 1 ? L"" : L"s", missing,
                missing == 1 ? L"is" : L"are");
    for (int i = 0; i < facts.badBlockCount && i < EDID_MAX_BAD_BLOCKS; ++i)
        AddLine(report, L"Note: EDID block %d has a wrong checksum, so what it says may be wrong.\r\n",
                facts.badBlocks[i]);
}

static void AddContentNotes(ReportText* report, const EdidFacts& facts, const EdidTiming* native)
{
    if (facts.problems & EDID_UNPRINTABLE_NAME)
        AddLine(report, L"Note: The monitor name in the EDID holds unprintable bytes; "
                L"they and what follows them are left out.\r\n");
    if (facts.problems & EDID_UNPRINTABLE_SERIAL)
        AddLine(report, L"Note: The serial number in the EDID holds unprintable bytes; "
                L"they and what follows them are left out.\r\n");
    if (native == NULL)
        AddLine(report, L"Note: The EDID lists no detailed timing in its base block or a CTA-861 extension, "
                L"so the native mode is not known.\r\n");
    else if (facts.problems & EDID_FIRST_NOT_TIMING)
        AddLine(report, L"Note: The EDID's first descriptor is not a usable detailed timing; "
                L"the native mode shown is the first one that follows.\r\n");
    if (facts.problems & EDID_SLOW_TIMING)
        AddLine(report, L"Note: The EDID holds a detailed timing with a pixel clock below 10 MHz, "
                L"which no monitor uses; it is left out.\r\n");
    if (facts.problems & EDID_ZERO_TOTALS)
        AddLine(report, L"Note: The native mode's timing has zero totals, so its refresh rate is not known.\r\n");
    double widthMm, heightMm;
    if (!PhysicalSizeMm(facts, native, &widthMm, &heightMm))
        AddLine(report, L"Note: The EDID gives no physical size (usual for projectors and TVs), "
                L"so the diagonal and pixel density are not known.\r\n");
}

// Notes on the current mode; facts may be those of no EDID (all zero).
static void AddCurrentNotes(ReportText* report, const EdidFacts& facts, const EdidTiming* native,
                            const MonitorCurrentMode* current)
{
    bool usable = native != NULL && native->refreshMillihertz >= 0;
    if (usable && !IsOfSize(*native, current->width, current->height))
        AddLine(report, L"Note: The current mode is not the monitor's native %d x %d, "
                L"so one-pixel patterns are scaled by the monitor.\r\n", native->width, native->height);
    int64_t now = CurrentMillihertz(current);
    if (now < 0)
        return;
    wchar_t nowText[RATE_CAPACITY], highestText[RATE_CAPACITY];
    int64_t highest = HighestMillihertz(facts, current->width, current->height);
    if (highest > now + 500)
        AddLine(report, L"Note: The monitor accepts up to %ls, but the current mode runs at %ls; "
                L"a higher rate can be chosen in the display settings.\r\n",
                RateText(highest, highestText), RateText(now, nowText));
    int nearest = static_cast<int>((now + 500) / 1000);
    if (now % 1000 != 0)
        AddLine(report, L"Note: The current refresh rate is %ls, not exactly %d Hz: "
                L"video made for %d frames per second skips or repeats a frame now and then.\r\n",
                RateText(now, nowText), nearest, nearest);
}

int FormatMonitorReport(const unsigned char* edid, size_t edidSize, const MonitorCurrentMode* current,
                        wchar_t* text, int capacity)
{
    if (text == NULL || capacity <= 0)
        return -1;
    text[0] = L'\0';
    ReportText report = { text, capacity, 0, false };
    EdidFacts facts;
    DecodeEdid(edid, edidSize, &facts);
    const EdidTiming* native = facts.timingCount > 0 ? &facts.timings[0] : NULL;
    if (facts.decoded) {
        int pixels[2] = { current != NULL ? current->width : native != NULL ? native->width : 0,
                          current != NULL ? current->height : native != NULL ? native->height : 0 };
        int logicalDpi = current != NULL && current->logicalDpi > 0 ? current->logicalDpi : 96;
        AddIdentity(&report, facts);
        AddScreen(&report, facts, native, logicalDpi, pixels);
        if (facts.hasRange && facts.maxVerticalHz > 0)
            AddLine(&report, L"Refresh range: %d - %d Hz\r\n", facts.minVerticalHz, facts.maxVerticalHz);
    }
    if (current != NULL)
        AddModeLine(&report, L"Current mode", current->width, current->height, false, CurrentMillihertz(current));
    if (edid == NULL || edidSize == 0) {
        AddLine(&report, L"Note: The monitor reports no EDID.\r\n");
    } else {
        AddBlockNotes(&report, facts);
        if (facts.decoded)
            AddContentNotes(&report, facts, native);
    }
    if (current != NULL)
        AddCurrentNotes(&report, facts, native, current);
    if (report.full) {
        text[0] = L'\0';
        return -1;
    }
    return report.length;
}
