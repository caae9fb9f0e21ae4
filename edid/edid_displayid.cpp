// DisplayID extension blocks (versions 1.x and 2.0): the display parameters
// with the native pixel format, detailed timings (types I, II and VII),
// timings by the CVT formula (types III, V, IX and X), timing codes (types IV
// and VIII, and bitmaps of DMT and CTA-861 modes) and the CTA-861 data blocks
// a DisplayID block may carry.
#include "edid/edid_parts.h"

enum {
    SECTION_START = 5,             // after the tag, version, length, product type and count
    TAG_PARAMETERS = 0x01,
    TAG_TIMINGS_I = 0x03,
    TAG_TIMINGS_II = 0x04,
    TAG_TIMINGS_III = 0x05,
    TAG_DMT_IDS = 0x06,
    TAG_DMT_BITS = 0x07,
    TAG_VIC_BITS = 0x08,
    TAG_TIMINGS_V = 0x11,
    TAG_PARAMETERS_2 = 0x21,
    TAG_TIMINGS_VII = 0x22,
    TAG_TIMING_CODES = 0x23,
    TAG_TIMINGS_IX = 0x24,
    TAG_TIMINGS_X = 0x32,
    TAG_CTA_BLOCKS = 0x81
};

// A detailed timing, kept among the candidates for the native mode when it
// stands in a DisplayID block; the pixel clock in kHz. An interlaced timing
// gives the frame's lines; each part of its vertical blanking is halved,
// whole lines, in a field.
static void AddDisplayIdTiming(bool candidate, unsigned pixelClockKhz, int options, int width, int horizontalBlank,
                               int height, int verticalBlank, int verticalFront, int verticalSync, EdidFacts* facts)
{
    EdidTiming timing = {};
    timing.preferred = (options & 0x80) != 0;
    timing.interlaced = (options & 0x10) != 0;
    timing.width = width;
    timing.height = height;
    int64_t halfLines = 2 * static_cast<int64_t>(height + verticalBlank);
    if (timing.interlaced) {
        int back = verticalBlank - verticalFront - verticalSync;
        halfLines = 2 * (height / 2 + verticalFront / 2 + verticalSync / 2 + back / 2) + 1;
    }
    timing.refreshMillihertz = RefreshFromHalfLines(pixelClockKhz, width + horizontalBlank, halfLines);
    AddTimingMode(facts, timing);
    if (candidate && facts->displayIdTimingCount < EDID_MAX_TIMINGS)
        facts->displayIdTimings[facts->displayIdTimingCount++] = timing;
}

void AddDetailedTimings(const unsigned char* p, int length, int size, unsigned clockStepKhz, bool candidates,
                        EdidFacts* facts)
{
    for (int at = 0; at + size <= length; at += size) {
        const unsigned char* t = p + at;
        AddDisplayIdTiming(candidates, (Word24(t) + 1) * clockStepKhz, t[3], Word(t + 4) + 1, Word(t + 6) + 1,
                           Word(t + 12) + 1, Word(t + 14) + 1, (Word(t + 16) & 0x7FFF) + 1,
                           (Word(t + 18) & 0x7FFF) + 1, facts);
    }
}

// Type II: 11 bytes, every field one less; the clock in 10 kHz steps, the
// horizontal sizes in 8-pixel cells.
static void AddShortDetailedTiming(const unsigned char* t, EdidFacts* facts)
{
    int cells = Word(t + 4);
    AddDisplayIdTiming(true, (Word24(t) + 1) * 10u, t[3], 8 * ((cells & 0x1FF) + 1), 8 * ((cells >> 9) + 1),
                       (Word(t + 7) & 0xFFF) + 1, t[9] + 1, (t[10] >> 4) + 1, (t[10] & 0x0F) + 1, facts);
}

// Type III: 3 bytes; the width in 8-pixel cells, the height from the aspect
// ratio (codes 8 and above name none).
static void AddCvtShortTiming(const unsigned char* t, EdidFacts* facts)
{
    static const int Ratios[8][2] = { { 1, 1 }, { 5, 4 }, { 4, 3 }, { 15, 9 }, { 16, 9 }, { 16, 10 }, { 64, 27 },
                                      { 256, 135 } };
    int aspect = t[0] & 0x0F, width = 8 * (t[1] + 1);
    if (aspect < 8)
        AddCvtMode(facts, width, width * Ratios[aspect][1] / Ratios[aspect][0], (t[2] & 0x7F) + 1,
                   (t[0] >> 4 & 0x07) == 1 ? CVT_REDUCED : CVT_STANDARD);
}

void AddFormulaTimings(const unsigned char* p, int length, int size, bool typeX, EdidFacts* facts)
{
    for (int at = 0; at + size <= length; at += size) {
        const unsigned char* t = p + at;
        int formula = t[0] & 0x07, rate = size == 6 ? t[5] : Word(t + 5) & 0x3FF;
        bool option = typeX && (t[0] & 0x10) != 0;
        CvtBlanking blanking = CVT_STANDARD;
        if (formula == 1)
            blanking = CVT_REDUCED;
        else if (formula == 2)
            blanking = option ? CVT_REDUCED_2_VIDEO : CVT_REDUCED_2;
        else if (formula == 3 && typeX)
            blanking = option ? CVT_REDUCED_3_WIDE : CVT_REDUCED_3;
        AddCvtMode(facts, Word(t + 1) + 1, Word(t + 3) + 1, rate + 1, blanking);
    }
}

// A bitmap of codes, the lowest bit of the first byte for code 1; only its
// first bytes count (ten of DMT IDs, eight of VICs).
static void AddCodeBits(const unsigned char* p, int length, int bytes, void (*add)(EdidFacts*, int), EdidFacts* facts)
{
    for (int bit = 0; bit < 8 * bytes && bit / 8 < length; ++bit)
        if (p[bit / 8] & (1 << bit % 8))
            add(facts, bit + 1);
}

void AddTimingCodes(const unsigned char* p, int length, int revision, EdidFacts* facts)
{
    int step = (revision & 0x08) ? 2 : 1, kind = revision >> 6;
    for (int at = 0; at + step <= length; at += step) {
        int code = step == 2 ? Word(p + at) : p[at];
        if (kind == 0)
            AddDmtMode(facts, code);
        else if (kind == 1)
            AddVicMode(facts, code);
        else if (kind == 2)
            AddHdmiVicMode(facts, code);
    }
}

// The display parameters: the image size (0.1 mm steps, or 1 mm in a
// version 2 block that says so) and the native pixel format; edid-decode
// reads only a block of its exact size.
static void ReadParameters(const unsigned char* p, int length, int size, bool wholeMillimetres, EdidFacts* facts)
{
    if (length != size || facts->displayIdNativeWidth != 0)
        return;
    int scale = wholeMillimetres ? 10 : 1;
    facts->displayIdWidthTenthsMm = Word(p) * scale;
    facts->displayIdHeightTenthsMm = Word(p + 2) * scale;
    facts->displayIdNativeWidth = Word(p + 4);
    facts->displayIdNativeHeight = Word(p + 6);
}

static void ReadDataBlock(int tag, int revision, const unsigned char* p, int length, EdidFacts* facts)
{
    switch (tag) {
    case TAG_PARAMETERS: ReadParameters(p, length, 12, false, facts); break;
    case TAG_PARAMETERS_2: ReadParameters(p, length, 29, (revision & 0x80) != 0, facts); break;
    case TAG_TIMINGS_I: AddDetailedTimings(p, length, 20, 10, true, facts); break;
    // A type VII timing may have bytes beyond its 20, as the revision says.
    case TAG_TIMINGS_VII: AddDetailedTimings(p, length, 20 + (revision >> 4 & 0x07), 1, true, facts); break;
    case TAG_TIMINGS_II:
        for (int at = 0; at + 11 <= length; at += 11)
            AddShortDetailedTiming(p + at, facts);
        break;
    case TAG_TIMINGS_III:
        for (int at = 0; at + 3 <= length; at += 3)
            AddCvtShortTiming(p + at, facts);
        break;
    case TAG_TIMINGS_V:  // two bytes of options, the width, height and rate, each one less
        for (int at = 0; at + 7 <= length; at += 7)
            AddCvtMode(facts, Word(p + at + 2) + 1, Word(p + at + 4) + 1, p[at + 6] + 1, CVT_REDUCED_2);
        break;
    case TAG_TIMINGS_IX: AddFormulaTimings(p, length, 6, false, facts); break;
    case TAG_TIMINGS_X: AddFormulaTimings(p, length, 6 + (revision >> 4 & 0x07), true, facts); break;
    case TAG_DMT_IDS:  // type IV: one-byte DMT IDs, or VICs as the revision says
        if (revision < 0x80)
            AddTimingCodes(p, length, revision & 0x40, facts);
        break;
    case TAG_DMT_BITS: AddCodeBits(p, length, 10, AddDmtMode, facts); break;
    case TAG_VIC_BITS: AddCodeBits(p, length, 8, AddVicMode, facts); break;
    case TAG_TIMING_CODES: AddTimingCodes(p, length, revision, facts); break;
    case TAG_CTA_BLOCKS: ReadCtaDataBlocks(p, length, length, facts); break;
    }
}

// The section: its data blocks from byte 5, as many bytes as byte 2 says,
// before the section's checksum.
void ReadDisplayIdBlock(const unsigned char* block, EdidFacts* facts)
{
    int end = SECTION_START + block[2];
    if (end > EDID_BLOCK_SIZE - 2) {
        facts->problems |= EDID_DISPLAYID_OVERRUN;
        end = EDID_BLOCK_SIZE - 2;
    }
    for (int at = SECTION_START; at + 3 <= end;) {
        int length = block[at + 2];
        if (block[at] == 0 && length == 0)
            break;  // padding
        if (at + 3 + length > end) {
            facts->problems |= EDID_DISPLAYID_OVERRUN;
            return;
        }
        ReadDataBlock(block[at], block[at + 1], block + at + 3, length, facts);
        at += 3 + length;
    }
}
