// DisplayID extension blocks (versions 1.x and 2.0): the display parameters
// with the native pixel format, detailed timings (types I and VII), timing
// codes (types IV and VIII, and bitmaps of DMT and CTA-861 modes) and the
// CTA-861 data blocks a DisplayID block may carry.
#include "edid/edid_parts.h"

enum {
    SECTION_START = 5,             // after the tag, version, length, product type and count
    TIMING_SIZE = 20,
    TAG_PARAMETERS = 0x01,
    TAG_TIMINGS_I = 0x03,
    TAG_DMT_IDS = 0x06,
    TAG_DMT_BITS = 0x07,
    TAG_VIC_BITS = 0x08,
    TAG_PARAMETERS_2 = 0x21,
    TAG_TIMINGS_VII = 0x22,
    TAG_TIMING_CODES = 0x23,
    TAG_CTA_BLOCKS = 0x81
};

// A 20-byte detailed timing; the clock is in steps of clockStepKhz. Every
// field is one less than its value. An interlaced timing gives the frame's
// lines; each part of its vertical blanking is halved, whole lines, in a field.
static void AddDisplayIdTiming(const unsigned char* t, int block, unsigned clockStepKhz, EdidFacts* facts)
{
    EdidTiming timing = {};
    int verticalActive = Word(t + 12) + 1, verticalBlank = Word(t + 14) + 1;
    int verticalFront = (Word(t + 16) & 0x7FFF) + 1, verticalSync = (Word(t + 18) & 0x7FFF) + 1;
    timing.block = block;
    timing.preferred = (t[3] & 0x80) != 0;
    timing.interlaced = (t[3] & 0x10) != 0;
    timing.width = Word(t + 4) + 1;
    timing.height = verticalActive;
    timing.pixelClockKhz = (Word24(t) + 1) * clockStepKhz;
    timing.horizontalTotal = timing.width + Word(t + 6) + 1;
    timing.verticalTotal = verticalActive + verticalBlank;
    int64_t halfLines = 2 * static_cast<int64_t>(timing.verticalTotal);
    if (timing.interlaced) {
        int back = verticalBlank - verticalFront - verticalSync;
        halfLines = 2 * (verticalActive / 2 + verticalFront / 2 + verticalSync / 2 + back / 2) + 1;
    }
    timing.refreshMillihertz = RefreshFromHalfLines(timing.pixelClockKhz, timing.horizontalTotal, halfLines);
    AddTimingMode(facts, timing);
    if (facts->displayIdTimingCount < EDID_MAX_TIMINGS)
        facts->displayIdTimings[facts->displayIdTimingCount++] = timing;
}

// A bitmap of codes, the lowest bit of the first byte for code 1; only its
// first bytes count (ten of DMT IDs, eight of VICs).
static void AddCodeBits(const unsigned char* p, int length, int bytes, void (*add)(EdidFacts*, int), EdidFacts* facts)
{
    for (int bit = 0; bit < 8 * bytes && bit / 8 < length; ++bit)
        if (p[bit / 8] & (1 << bit % 8))
            add(facts, bit + 1);
}

// Type VIII: one- or two-byte codes of DMT, CTA-861 or HDMI modes.
static void AddTimingCodes(const unsigned char* p, int length, int revision, EdidFacts* facts)
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
// version 2 block that says so) and the native pixel format.
static void ReadParameters(const unsigned char* p, int length, bool wholeMillimetres, EdidFacts* facts)
{
    if (length < 8 || facts->displayIdNativeWidth != 0)
        return;
    int scale = wholeMillimetres ? 10 : 1;
    facts->displayIdWidthTenthsMm = Word(p) * scale;
    facts->displayIdHeightTenthsMm = Word(p + 2) * scale;
    facts->displayIdNativeWidth = Word(p + 4);
    facts->displayIdNativeHeight = Word(p + 6);
}

static void ReadDataBlock(int tag, int revision, const unsigned char* p, int length, int block, EdidFacts* facts)
{
    switch (tag) {
    case TAG_PARAMETERS: ReadParameters(p, length, false, facts); break;
    case TAG_PARAMETERS_2: ReadParameters(p, length, (revision & 0x80) != 0, facts); break;
    case TAG_TIMINGS_I:
    case TAG_TIMINGS_VII:
        for (int at = 0; at + TIMING_SIZE <= length; at += TIMING_SIZE)
            AddDisplayIdTiming(p + at, block, tag == TAG_TIMINGS_I ? 10 : 1, facts);
        break;
    case TAG_DMT_IDS:
        for (int at = 0; at < length; ++at)
            AddDmtMode(facts, p[at]);
        break;
    case TAG_DMT_BITS: AddCodeBits(p, length, 10, AddDmtMode, facts); break;
    case TAG_VIC_BITS: AddCodeBits(p, length, 8, AddVicMode, facts); break;
    case TAG_TIMING_CODES: AddTimingCodes(p, length, revision, facts); break;
    case TAG_CTA_BLOCKS: ReadCtaDataBlocks(p, length, facts); break;
    }
}

// The section: its data blocks from byte 5, as many bytes as byte 2 says,
// before the section's checksum.
void ReadDisplayIdBlock(const unsigned char* block, int number, EdidFacts* facts)
{
    int end = SECTION_START + block[2];
    if (end > EDID_BLOCK_SIZE - 2) {
        facts->problems |= EDID_DISPLAYID_OVERRUN;
        end = EDID_BLOCK_SIZE - 2;
    }
    for (int at = SECTION_START; at + 3 <= end;) {
        int length = block[at + 2];
        if (block[at] == 0 && block[at + 1] == 0 && length == 0)
            break;  // padding
        if (at + 3 + length > end) {
            facts->problems |= EDID_DISPLAYID_OVERRUN;
            return;
        }
        ReadDataBlock(block[at], block[at + 1], block + at + 3, length, number, facts);
        at += 3 + length;
    }
}
