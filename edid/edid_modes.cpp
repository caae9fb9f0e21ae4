// The modes an EDID lists, from every place that lists one: detailed
// timings, codes of the published standards, and standard timings and CVT
// codes worked out by the VESA GTF and CVT formulas.
#include "edid/edid_parts.h"

#include <math.h>

#include <algorithm>

#include "edid/standard_modes.h"

static bool SameMode(const EdidMode& a, const EdidMode& b)
{
    return a.width == b.width && a.height == b.height && a.interlaced == b.interlaced &&
           a.refreshMillihertz == b.refreshMillihertz;
}

// The report's order: widest first, then tallest, then fastest; a
// progressive mode before an interlaced one of the same rate.
static bool ComesBefore(const EdidMode& a, const EdidMode& b)
{
    if (a.width != b.width)
        return a.width > b.width;
    if (a.height != b.height)
        return a.height > b.height;
    if (a.refreshMillihertz != b.refreshMillihertz)
        return a.refreshMillihertz > b.refreshMillihertz;
    return !a.interlaced && b.interlaced;
}

void SortModes(EdidFacts* facts)
{
    std::sort(facts->modes, facts->modes + facts->modeCount, ComesBefore);
}

// The slot of the open-addressed table where the mode is, or the empty one
// where it would go.
static int FindModeSlot(const EdidFacts* facts, const EdidMode& mode)
{
    uint32_t hash = static_cast<uint32_t>(mode.width) * 2654435761u ^ static_cast<uint32_t>(mode.height) * 40503u ^
                    static_cast<uint32_t>(mode.refreshMillihertz) * 2246822519u ^ (mode.interlaced ? 1u : 0u);
    int slot = static_cast<int>((hash ^ hash >> 15) % EDID_MODE_SLOTS);
    while (facts->modeSlots[slot] != 0 && !SameMode(facts->modes[facts->modeSlots[slot] - 1], mode))
        slot = (slot + 1) % EDID_MODE_SLOTS;
    return slot;
}

void AddMode(EdidFacts* facts, int width, int height, bool interlaced, int64_t millihertz)
{
    if (width <= 0 || height <= 0 || millihertz <= 0)
        return;
    EdidMode mode = { width, height, interlaced, millihertz };
    int slot = FindModeSlot(facts, mode);
    if (facts->modeSlots[slot] != 0)
        return;
    if (facts->modeCount == EDID_MAX_MODES) {
        facts->problems |= EDID_TOO_MANY_MODES;
        return;
    }
    facts->modes[facts->modeCount++] = mode;
    facts->modeSlots[slot] = static_cast<uint16_t>(facts->modeCount);
}

void AddTimingMode(EdidFacts* facts, const EdidTiming& timing)
{
    AddMode(facts, timing.width, timing.height, timing.interlaced, timing.refreshMillihertz);
}

static void AddTableMode(EdidFacts* facts, const StandardMode& mode)
{
    AddMode(facts, mode.width, mode.height, mode.interlaced != 0, mode.millihertz);
}

void AddDmtMode(EdidFacts* facts, int id)
{
    if (id > 0 && id < EDID_DMT_IDS)
        AddTableMode(facts, DmtModes[id]);
}

void AddVicMode(EdidFacts* facts, int vic)
{
    if (vic > 0 && vic < EDID_VICS)
        AddTableMode(facts, VicModes[vic]);
}

void AddHdmiVicMode(EdidFacts* facts, int vic)
{
    if (vic > 0 && vic < EDID_HDMI_VICS)
        AddTableMode(facts, HdmiVicModes[vic]);
}

void AddEstablishedModes(const unsigned char* bits, EdidFacts* facts)
{
    for (int bit = 0; bit < EDID_ESTABLISHED_BITS; ++bit)
        if (bits[bit / 8] & (0x80 >> bit % 8))
            AddTableMode(facts, EstablishedModes[bit]);
}

void AddEstablishedIIIModes(const unsigned char* d, EdidFacts* facts)
{
    for (int bit = 0; bit < EDID_ESTABLISHED_III_BITS; ++bit)
        if (d[6 + bit / 8] & (0x80 >> bit % 8))
            AddDmtMode(facts, EstablishedIIIIds[bit]);
}

// The mode of a formula: refresh from the pixel clock as the monitor gets it.
static void AddFormulaMode(EdidFacts* facts, int width, int height, double clockKhz, double totalPixels,
                           double totalLines)
{
    AddMode(facts, width, height, false,
            RefreshFromHalfLines(static_cast<uint64_t>(clockKhz), static_cast<int64_t>(totalPixels),
                                 2 * static_cast<int64_t>(totalLines)));
}

// VESA GTF with the default curve; the pixel clock rounded to kHz.
static void AddGtfMode(EdidFacts* facts, int width, int height, int refresh)
{
    const double MinSyncAndBackPorch = 550.0, CPrime = 30.0, MPrime = 300.0;
    double pixels = round(width / 8.0) * 8;
    double periodEstimate = (1.0 / refresh - MinSyncAndBackPorch / 1000000) / (height + 1) * 1000000;
    double syncAndBackPorch = round(MinSyncAndBackPorch / periodEstimate);
    double totalLines = height + syncAndBackPorch + 1;
    double fieldRateEstimate = 1 / periodEstimate / totalLines * 1000000;
    double period = periodEstimate / (refresh / fieldRateEstimate);
    double duty = CPrime - (MPrime * period / 1000);
    double blank = round(pixels * duty / (100 - duty) / 16) * 16;
    double totalPixels = pixels + blank;
    AddFormulaMode(facts, width, height, round(totalPixels / period * 1000), totalPixels, totalLines);
}

// Whether width is what the ratio num:den gives for height, rounded down.
static bool HasRatio(int width, int height, int num, int den)
{
    return width == height * num / den;
}

// CVT's vertical sync width tells the aspect ratio, which edid-decode finds
// so (5:4 only when exact).
static int CvtSyncLines(int width, int height)
{
    if (HasRatio(width, height, 4, 3))
        return 4;
    if (HasRatio(width, height, 16, 9))
        return 5;
    if (HasRatio(width, height, 16, 10))
        return 6;
    if (width * 4 == height * 5 || HasRatio(width, height, 15, 9))
        return 7;
    return 10;
}

// VESA CVT: standard blanking, reduced blanking, or its versions 2 and 3 (80
// pixels or version 3's wide 160, at least 15 lines; version 2 the clock in
// kHz steps, its video-optimized form at 1000/1001 of the rate, version 3
// rounded up to 0.25 MHz); else the clock rounded down to 0.25 MHz. The
// blanking and clock are worked out for the width rounded down to 8 pixels
// (but version 2's), and the refresh over the width itself, as edid-decode does.
void AddCvtMode(EdidFacts* facts, int width, int height, int refresh, CvtBlanking blanking)
{
    const int FrontPorch = 3, MinBackPorch = 7;
    double pixels = floor(width / 8.0) * 8;
    int minBlankLines = FrontPorch + CvtSyncLines(width, height) + MinBackPorch;
    double blankPixels, totalLines, clockKhz;
    if (blanking != CVT_STANDARD) {
        const double MinBlankTime = 460.0;
        double periodEstimate = (1000000.0 / refresh - MinBlankTime) / height;
        double blankLines = floor(MinBlankTime / periodEstimate) + 1;
        if (blanking == CVT_REDUCED_2 || blanking == CVT_REDUCED_2_VIDEO) {
            double multiplier = blanking == CVT_REDUCED_2_VIDEO ? 1000.0 / 1001 : 1.0;
            blankPixels = 80;
            totalLines = std::max(blankLines, 15.0) + height;
            clockKhz = floor(refresh * totalLines * (width + blankPixels) / 1000000 * multiplier / 0.001);
        } else if (blanking == CVT_REDUCED_3 || blanking == CVT_REDUCED_3_WIDE) {
            blankPixels = blanking == CVT_REDUCED_3_WIDE ? 160 : 80;
            totalLines = std::max(blankLines, 15.0) + height;
            clockKhz = 250 * ceil(refresh * totalLines * (pixels + blankPixels) / 1000000 / 0.25);
        } else {
            blankPixels = 160;
            totalLines = std::max(blankLines, static_cast<double>(minBlankLines)) + height;
            clockKhz = 250 * floor(refresh * totalLines * (pixels + blankPixels) / 1000000 / 0.25);
        }
    } else {
        const double MinSyncAndBackPorch = 550.0, CPrime = 30.0, MPrime = 300.0;
        double periodEstimate = (1.0 / refresh - MinSyncAndBackPorch / 1000000) / (height + FrontPorch) * 1000000;
        double syncAndBackPorch = floor(MinSyncAndBackPorch / periodEstimate) + 1;
        if (syncAndBackPorch < minBlankLines - FrontPorch)
            syncAndBackPorch = minBlankLines - FrontPorch;
        totalLines = height + syncAndBackPorch + FrontPorch;
        double duty = std::max(CPrime - MPrime * periodEstimate / 1000, 20.0);
        blankPixels = floor(pixels * duty / (100 - duty) / 16) * 16;
        clockKhz = 250 * floor((pixels + blankPixels) / periodEstimate / 0.25);
    }
    AddFormulaMode(facts, width, height, clockKhz, width + blankPixels, totalLines);
}

static bool HasStandardCode(const StandardCode& entry, int code)
{
    return entry.code < code;
}

// A two-byte standard timing: a DMT mode when the code stands for one, else
// the GTF mode of its size and rate (EDID 1.2 on), and with EDID 1.4 range
// limits that allow CVT, the CVT mode too.
void AddStandardTiming(const unsigned char* code, EdidFacts* facts)
{
    if (code[0] <= 0x01)  // 0x01 0x01 marks an unused slot; no width starts at 0 or 1
        return;
    int value = code[0] << 8 | code[1];
    const StandardCode* end = DmtStandardCodes + EDID_DMT_STANDARD_CODES;
    const StandardCode* entry = std::lower_bound(DmtStandardCodes, end, value, HasStandardCode);
    if (entry != end && entry->code == value) {
        AddDmtMode(facts, entry->dmtId);
        return;
    }
    int width = (code[0] + 31) * 8, refresh = (code[1] & 0x3F) + 60, height;
    switch (code[1] >> 6) {
    case 0: height = facts->version == 1 && facts->revision >= 3 ? width * 10 / 16 : width; break;
    case 1: height = width * 3 / 4; break;
    case 2: height = width * 4 / 5; break;
    default: height = width * 9 / 16; break;
    }
    if (facts->version != 1 || facts->revision < 2) {  // no formula before EDID 1.2: the rate as given
        AddMode(facts, width, height, false, refresh * 1000);
        return;
    }
    if (facts->cvtSupported)
        AddCvtMode(facts, width, height, refresh, CVT_STANDARD);
    AddGtfMode(facts, width, height, refresh);
}

// Descriptor 0xF8: four CVT codes of three bytes, each a height, an aspect
// ratio and the rates it supports.
void AddCvtCodes(const unsigned char* d, EdidFacts* facts)
{
    static const int Ratios[4][2] = { { 4, 3 }, { 16, 9 }, { 16, 10 }, { 15, 9 } };
    static const int Rates[5] = { 50, 60, 75, 85, 60 };
    for (const unsigned char* c = d + 6; c + 3 <= d + DESCRIPTOR_SIZE; c += 3) {
        int height = ((c[1] >> 4 << 8 | c[0]) + 1) * 2;
        const int* ratio = Ratios[c[1] >> 2 & 0x03];
        int width = height * ratio[0] / (ratio[1] * 8) * 8;
        for (int rate = 0; rate < 5; ++rate)
            if (c[2] & (0x10 >> rate))
                AddCvtMode(facts, width, height, Rates[rate], rate == 4 ? CVT_REDUCED : CVT_STANDARD);
    }
}
