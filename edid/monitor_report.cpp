// The monitor report: the facts of the EDID, what follows from them for the
// screen, the current mode, and notes on what the user should act on.
#include "edid/monitor_report.h"

#include <math.h>
#include <stdlib.h>

#include "app/format_text.h"
#include "edid/report_text.h"

void AddLine(ReportText* report, const wchar_t* format, ...)
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

const wchar_t* RateText(int64_t millihertz, wchar_t* text)
{
    text[0] = L'\0';
    if (millihertz >= 0)
        FormatText(text, RATE_CAPACITY, L"%lld.%03d Hz", static_cast<long long>(millihertz / 1000),
                   static_cast<int>(millihertz % 1000));
    return text;
}

const wchar_t* ModeText(int width, int height, bool interlaced, int64_t millihertz, wchar_t* text)
{
    wchar_t rate[RATE_CAPACITY];
    FormatText(text, MODE_CAPACITY, L"%d x %d%ls%ls%ls", width, height, interlaced ? L" interlaced" : L"",
               millihertz >= 0 ? L" at " : L"", RateText(millihertz, rate));
    return text;
}

// A mode's line: "Native mode: 1920 x 1080 interlaced at 60.000 Hz".
static void AddModeLine(ReportText* report, const wchar_t* label, int width, int height, bool interlaced,
                        int64_t millihertz)
{
    wchar_t mode[MODE_CAPACITY];
    AddLine(report, L"%ls: %ls\r\n", label, ModeText(width, height, interlaced, millihertz, mode));
}

int64_t CurrentMillihertz(const MonitorCurrentMode* current)
{
    if (current->refreshDenominator == 0)
        return -1;
    uint64_t numerator = 2000ull * current->refreshNumerator;
    return static_cast<int64_t>((numerator + current->refreshDenominator) / (2ull * current->refreshDenominator));
}

bool IsOfSize(int modeWidth, int modeHeight, int width, int height)
{
    return (modeWidth == width && modeHeight == height) || (modeWidth == height && modeHeight == width);
}

int64_t HighestListedMillihertz(const EdidFacts& facts, int width, int height, int limitHertz)
{
    int64_t highest = -1;
    for (int i = 0; i < facts.modeCount; ++i) {
        const EdidMode& mode = facts.modes[i];
        if (!mode.interlaced && IsOfSize(mode.width, mode.height, width, height) && mode.refreshMillihertz > highest &&
            (limitHertz < 0 || (mode.refreshMillihertz + 500) / 1000 <= limitHertz + 1))
            highest = mode.refreshMillihertz;
    }
    return highest;
}

int HighestOfferedHertz(const MonitorCurrentMode* current, int width, int height)
{
    int highest = -1;
    for (int i = 0; current->offered != NULL && i < current->offeredCount; ++i) {
        const OfferedMode& mode = current->offered[i];
        // 0 and 1 stand for the hardware's default rate.
        if (mode.hertz > 1 && IsOfSize(mode.width, mode.height, width, height) && mode.hertz > highest)
            highest = mode.hertz;
    }
    return highest;
}

// The screen's physical size in millimetres: the native timing's, else the
// image size of the base block.
static bool PhysicalSizeMm(const EdidFacts& facts, double* width, double* height)
{
    if (facts.hasNative && facts.native.widthMm > 0 && facts.native.heightMm > 0) {
        *width = facts.native.widthMm;
        *height = facts.native.heightMm;
    } else if (facts.widthCm > 0 && facts.heightCm > 0) {
        *width = facts.widthCm * 10.0;
        *height = facts.heightCm * 10.0;
    } else {
        return false;
    }
    return true;
}

static void AddInput(ReportText* report, const EdidInput& input)
{
    static const wchar_t* const Interfaces[6] = { L"", L", DVI", L", HDMI-a", L", HDMI-b", L", MDDI", L", DisplayPort" };
    wchar_t bits[32] = L"";
    if (input.bitsPerColour > 0)
        FormatText(bits, 32, L", %d bits per colour", input.bitsPerColour);
    AddLine(report, L"Input: %ls%ls%ls\r\n", input.digital ? L"digital" : L"analog", Interfaces[input.interfaceType],
            bits);
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
    AddInput(report, facts.input);
}

// Image size, native mode and size, and what follows from them; pixels is
// the width and height that one logical inch is drawn in.
static void AddScreen(ReportText* report, const EdidFacts& facts, int logicalDpi, const int pixels[2])
{
    const EdidTiming& native = facts.native;
    if (facts.widthCm > 0 && facts.heightCm > 0)
        AddLine(report, L"Image size: %d x %d cm\r\n", facts.widthCm, facts.heightCm);
    else if (facts.aspectHundredths > 0)
        AddLine(report, L"Image size: not given; aspect ratio %d.%02d (%ls)\r\n", facts.aspectHundredths / 100,
                facts.aspectHundredths % 100, facts.aspectPortrait ? L"portrait" : L"landscape");
    if (facts.hasNative) {
        AddModeLine(report, L"Native mode", native.width, native.height, native.interlaced, native.refreshMillihertz);
        if (native.widthMm > 0 && native.heightMm > 0)
            AddLine(report, L"Native size: %d x %d mm\r\n", native.widthMm, native.heightMm);
    }
    double widthMm, heightMm;
    if (!PhysicalSizeMm(facts, &widthMm, &heightMm))
        return;
    double diagonalInches = hypot(widthMm, heightMm) / 25.4;
    AddLine(report, L"Diagonal: %.1f in\r\n", diagonalInches);
    if (facts.hasNative && native.width > 0 && native.height > 0)
        AddLine(report, L"Pixel density: %.0f ppi\r\n", hypot(native.width, native.height) / diagonalInches);
    if (pixels[0] > 0 && pixels[1] > 0)
        AddLine(report, L"One logical inch: %.2f in on this monitor\r\n",
                logicalDpi * diagonalInches / hypot(pixels[0], pixels[1]));
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
    if (facts.problems & EDID_CTA_OVERRUN)
        AddLine(report, L"Note: A CTA-861 block of the EDID holds a data block that runs past its room; "
                L"what it and the timings after it say may be wrong.\r\n");
    if (facts.problems & EDID_DISPLAYID_OVERRUN)
        AddLine(report, L"Note: A DisplayID block of the EDID holds a section or data block that runs past "
                L"its room; it and what follows it are left out.\r\n");
    if (facts.problems & EDID_TOO_MANY_MODES)
        AddLine(report, L"Note: The EDID lists more than %d modes; the rest are left out.\r\n", EDID_MAX_MODES);
}

static void AddContentNotes(ReportText* report, const EdidFacts& facts)
{
    if (facts.problems & EDID_UNPRINTABLE_NAME)
        AddLine(report, L"Note: The monitor name in the EDID holds unprintable bytes; "
                L"they and what follows them are left out.\r\n");
    if (facts.problems & EDID_UNPRINTABLE_SERIAL)
        AddLine(report, L"Note: The serial number in the EDID holds unprintable bytes; "
                L"they and what follows them are left out.\r\n");
    if (!facts.hasNative)
        AddLine(report, L"Note: The EDID lists no detailed timing in its base block or a CTA-861 extension, "
                L"so the native mode is not known.\r\n");
    else if ((facts.problems & EDID_FIRST_NOT_TIMING) && !facts.nativeFromDisplayId)
        AddLine(report, L"Note: The EDID's first descriptor is not a usable detailed timing; "
                L"the native mode shown is the first one that follows.\r\n");
    if (facts.problems & EDID_SLOW_TIMING)
        AddLine(report, L"Note: The EDID holds a detailed timing with a pixel clock below 10 MHz, "
                L"which no monitor uses; it is left out.\r\n");
    double widthMm, heightMm;
    if (!PhysicalSizeMm(facts, &widthMm, &heightMm))
        AddLine(report, L"Note: The EDID gives no physical size (usual for projectors and TVs), "
                L"so the diagonal and pixel density are not known.\r\n");
}

// Notes on the current mode; facts may be those of no EDID (all zero).
static void AddCurrentNotes(ReportText* report, const EdidFacts& facts, const MonitorCurrentMode* current)
{
    const EdidTiming& native = facts.native;
    if (facts.hasNative && !IsOfSize(native.width, native.height, current->width, current->height))
        AddLine(report, L"Note: The current mode is not the monitor's native %d x %d, "
                L"so one-pixel patterns are scaled by the monitor.\r\n", native.width, native.height);
    AddAdapterNote(report, facts, current);
    int64_t now = CurrentMillihertz(current);
    if (now < 0)
        return;
    wchar_t nowText[RATE_CAPACITY], highestText[RATE_CAPACITY];
    // The range limits' highest rate is no promise for every size: the line
    // rate and the pixel clock limit it at the larger ones. Only a rate the
    // adapter offers can be chosen.
    int offered = current->offered != NULL ? HighestOfferedHertz(current, current->width, current->height) : -1;
    int64_t highest = HighestListedMillihertz(facts, current->width, current->height, offered);
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

static void AddReport(ReportText* report, const unsigned char* edid, size_t edidSize, const EdidFacts& facts,
                      const MonitorCurrentMode* current)
{
    if (facts.decoded) {
        int pixels[2] = { current != NULL ? current->width : facts.hasNative ? facts.native.width : 0,
                          current != NULL ? current->height : facts.hasNative ? facts.native.height : 0 };
        int logicalDpi = current != NULL && current->logicalDpi > 0 ? current->logicalDpi : 96;
        AddIdentity(report, facts);
        AddScreen(report, facts, logicalDpi, pixels);
        if (facts.hasRange && facts.maxVerticalHz > 0)
            AddLine(report, L"Refresh range: %d - %d Hz\r\n", facts.minVerticalHz, facts.maxVerticalHz);
        AddCapabilities(report, facts);
    }
    if (current != NULL)
        AddModeLine(report, L"Current mode", current->width, current->height, false, CurrentMillihertz(current));
    if (edid == NULL || edidSize == 0) {
        AddLine(report, L"Note: The monitor reports no EDID.\r\n");
    } else {
        AddBlockNotes(report, facts);
        if (facts.decoded)
            AddContentNotes(report, facts);
    }
    if (current != NULL)
        AddCurrentNotes(report, facts, current);
    AddModeList(report, facts, current);
}

int FormatMonitorReport(const unsigned char* edid, size_t edidSize, const MonitorCurrentMode* current,
                        wchar_t* text, int capacity)
{
    if (text == NULL || capacity <= 0)
        return -1;
    text[0] = L'\0';
    // The facts hold every mode listed: too large for the stack of a dialog's caller.
    EdidFacts* facts = static_cast<EdidFacts*>(malloc(sizeof(EdidFacts)));
    if (facts == NULL)
        return -1;
    ReportText report = { text, capacity, 0, false };
    DecodeEdid(edid, edidSize, facts);
    AddReport(&report, edid, edidSize, *facts, current);
    free(facts);
    if (report.full) {
        text[0] = L'\0';
        return -1;
    }
    return report.length;
}
