// The EDID decoder: the base block (VESA E-EDID 1.0 to 1.4), its display
// descriptors, which CTA-861 blocks may hold too, and the choice of the
// native mode. Every read is bounded by the blocks that lie wholly inside
// the buffer.
#include "edid/edid_parts.h"

#include <string.h>

static const unsigned char EdidHeader[8] = { 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00 };

enum {
    FIRST_DESCRIPTOR = 54,     // the base block's four descriptors start here
    CTA_EXTENSION_TAG = 0x02,
    DISPLAYID_EXTENSION_TAG = 0x70,
    TAG_SERIAL = 0xFF,
    TAG_RANGE = 0xFD,
    TAG_NAME = 0xFC,
    TAG_CVT_CODES = 0xF8,
    TAG_ESTABLISHED_III = 0xF7,
    TAG_STANDARD_TIMINGS = 0xFA,
    RANGE_KIND_CVT = 0x04      // byte 10 of the range limits: CVT supported
};

int64_t RefreshFromHalfLines(uint64_t pixelClockKhz, int64_t horizontalTotal, int64_t halfLines)
{
    if (horizontalTotal <= 0 || halfLines <= 0)
        return -1;
    // kHz to mHz is a factor of 1000000; twice that for the half lines.
    int64_t denominator = horizontalTotal * halfLines;
    uint64_t numerator = pixelClockKhz * 2000000u;
    return static_cast<int64_t>((2 * numerator + denominator) / (2 * denominator));
}

// Keeps the detailed timing at d and lists its mode; returns false, keeping
// nothing, for filler and for a timing of no width or height.
static bool AddTiming(const unsigned char* d, EdidFacts* facts)
{
    if (Word(d) < MIN_PIXEL_CLOCK) {
        facts->problems |= EDID_SLOW_TIMING;
        return false;
    }
    EdidTiming timing = {};
    int horizontalBlank = d[3] | (d[4] & 0x0F) << 8;
    int verticalActive = d[5] | (d[7] & 0xF0) << 4;
    int verticalBlank = d[6] | (d[7] & 0x0F) << 8;
    timing.interlaced = (d[17] & 0x80) != 0;
    timing.width = d[2] | (d[4] & 0xF0) << 4;
    timing.height = timing.interlaced ? 2 * verticalActive : verticalActive;
    // The vertical total is a field's when interlaced, and a field has half a line more.
    timing.refreshMillihertz = RefreshFromHalfLines(Word(d) * 10u, timing.width + horizontalBlank,
                                                    2 * static_cast<int64_t>(verticalActive + verticalBlank) +
                                                        (timing.interlaced ? 1 : 0));
    timing.widthMm = d[12] | (d[14] & 0xF0) << 4;
    timing.heightMm = d[13] | (d[14] & 0x0F) << 8;
    if (timing.width == 0 || timing.height == 0)
        return false;
    AddTimingMode(facts, timing);
    if (facts->timingCount < EDID_MAX_TIMINGS)
        facts->timings[facts->timingCount++] = timing;
    return true;
}

// Copies a descriptor's text: printable ASCII up to the line feed, trailing
// spaces dropped. Returns false when a byte other than the line feed or zero
// padding cut it short.
static bool CopyDescriptorText(const unsigned char* d, char* text)
{
    int length = 0;
    bool printable = true;
    for (int i = 5; i < DESCRIPTOR_SIZE && d[i] != 0x0A; ++i) {
        if (d[i] < 0x20 || d[i] > 0x7E) {
            printable = d[i] == 0x00;
            break;
        }
        text[length++] = static_cast<char>(d[i]);
    }
    while (length > 0 && text[length - 1] == ' ')
        --length;
    text[length] = '\0';
    return printable;
}

// Takes the first text of a kind that is not empty.
static void TakeText(const unsigned char* d, char* text, unsigned unprintableProblem, EdidFacts* facts)
{
    if (text[0] == '\0' && !CopyDescriptorText(d, text))
        facts->problems |= unprintableProblem;
}

static bool IsEdid14(const EdidFacts* facts)
{
    return facts->version == 1 && facts->revision >= 4;
}

// The range-limits descriptor. EDID 1.4 can add 255 to a maximum, or to
// both limits, of either rate.
static void ReadRange(const unsigned char* d, EdidFacts* facts)
{
    int flags = IsEdid14(facts) ? d[4] : 0;
    int verticalMinOffset = (flags & 0x03) == 0x03 ? 255 : 0;
    int verticalMaxOffset = (flags & 0x02) != 0 ? 255 : 0;
    int horizontalMinOffset = (flags & 0x0C) == 0x0C ? 255 : 0;
    int horizontalMaxOffset = (flags & 0x08) != 0 ? 255 : 0;
    facts->hasRange = true;
    facts->minVerticalHz = d[5] + verticalMinOffset;
    facts->maxVerticalHz = d[6] + verticalMaxOffset;
    facts->minHorizontalKhz = d[7] + horizontalMinOffset;
    facts->maxHorizontalKhz = d[8] + horizontalMaxOffset;
    facts->maxPixelClockMhz = d[9] * 10;
}

bool ReadDescriptor(const unsigned char* d, EdidFacts* facts)
{
    if (d[0] != 0 || d[1] != 0)
        return AddTiming(d, facts);
    switch (d[3]) {
    case TAG_NAME: TakeText(d, facts->name, EDID_UNPRINTABLE_NAME, facts); break;
    case TAG_SERIAL: TakeText(d, facts->serialText, EDID_UNPRINTABLE_SERIAL, facts); break;
    case TAG_CVT_CODES: AddCvtCodes(d, facts); break;
    case TAG_ESTABLISHED_III: AddEstablishedIIIModes(d, facts); break;
    case TAG_STANDARD_TIMINGS:
        for (int i = 5; i + 1 < 17; i += 2)
            AddStandardTiming(d + i, facts);
        break;
    }
    return false;
}

// The image size, or EDID 1.4's aspect ratio when one of the two is 0.
static void ReadImageSize(const unsigned char* base, EdidFacts* facts)
{
    int width = base[21], height = base[22];
    if (width != 0 && height != 0) {
        facts->widthCm = width;
        facts->heightCm = height;
    } else if (IsEdid14(facts) && width != 0) {
        facts->aspectHundredths = width + 99;
    } else if (IsEdid14(facts) && height != 0) {
        // 100 / (height + 99), in hundredths rounded half to even as "%.2f"
        // rounds the one tie among these quotients (0.625).
        int divisor = height + 99, quotient = 10000 / divisor, twiceRest = 2 * (10000 % divisor);
        facts->aspectPortrait = true;
        facts->aspectHundredths = quotient + (twiceRest > divisor || (twiceRest == divisor && quotient % 2 == 1));
    }
}

// Digital or analog; EDID 1.4 adds the interface and the bits per colour.
static void ReadInput(const unsigned char* base, EdidFacts* facts)
{
    facts->input.digital = (base[20] & 0x80) != 0;
    if (!facts->input.digital || !IsEdid14(facts))
        return;
    int depth = base[20] >> 4 & 0x07, interfaceType = base[20] & 0x0F;
    if (depth >= 1 && depth <= 6)
        facts->input.bitsPerColour = 4 + 2 * depth;
    if (interfaceType >= 1 && interfaceType <= 5)
        facts->input.interfaceType = interfaceType;
}

// Ten bits each: the high eight in bytes 27 to 34, the low two packed in 25 and 26.
static void ReadColourPoints(const unsigned char* base, EdidFacts* facts)
{
    for (int i = 0; i < 4; ++i) {
        int low = base[25 + i / 2] >> (i % 2 == 0 ? 4 : 0);
        facts->colours.x[i] = base[27 + 2 * i] << 2 | (low >> 2 & 0x03);
        facts->colours.y[i] = base[28 + 2 * i] << 2 | (low & 0x03);
    }
}

static void ReadBaseBlock(const unsigned char* base, EdidFacts* facts)
{
    int letters = base[8] << 8 | base[9];
    for (int i = 0; i < 3; ++i)
        facts->manufacturer[i] = static_cast<char>('@' + (letters >> (10 - 5 * i) & 0x1F));
    facts->productCode = Word(base + 10);
    facts->serialNumber = base[12] | base[13] << 8 | base[14] << 16 | static_cast<uint32_t>(base[15]) << 24;
    facts->week = base[16];
    facts->year = 1990 + base[17];
    facts->version = base[18];
    facts->revision = base[19];
    facts->extensionCount = base[126];
    ReadInput(base, facts);
    ReadImageSize(base, facts);
    ReadColourPoints(base, facts);
    // The range limits first (the first descriptor of them): whether any
    // allows CVT decides how a standard timing outside DMT is worked out.
    for (int slot = 0; slot < 4; ++slot) {
        const unsigned char* d = base + FIRST_DESCRIPTOR + slot * DESCRIPTOR_SIZE;
        if (d[0] != 0 || d[1] != 0 || d[3] != TAG_RANGE)
            continue;
        if (!facts->hasRange)
            ReadRange(d, facts);
        facts->cvtSupported = facts->cvtSupported || (IsEdid14(facts) && d[10] == RANGE_KIND_CVT);
    }
    AddEstablishedModes(base + 35, facts);
    for (int i = 0; i < 8; ++i)
        AddStandardTiming(base + 38 + 2 * i, facts);
    for (int slot = 0; slot < 4; ++slot) {
        bool kept = ReadDescriptor(base + FIRST_DESCRIPTOR + slot * DESCRIPTOR_SIZE, facts);
        if (slot == 0 && !kept)
            facts->problems |= EDID_FIRST_NOT_TIMING;
    }
}

static void CheckBlock(const unsigned char* block, int number, EdidFacts* facts)
{
    unsigned sum = 0;
    for (int i = 0; i < EDID_BLOCK_SIZE; ++i)
        sum += block[i];
    if (sum % 256 == 0)
        return;
    facts->problems |= EDID_BAD_CHECKSUM;
    if (facts->badBlockCount < EDID_MAX_BAD_BLOCKS)
        facts->badBlocks[facts->badBlockCount] = number;
    facts->badBlockCount++;
}

// A DisplayID block that states a native pixel format, and lists a timing
// of exactly that size, names the native mode: the timing flagged preferred,
// else the first. Otherwise it is the first detailed timing.
static void ChooseNative(EdidFacts* facts)
{
    const EdidTiming* chosen = NULL;
    for (int i = 0; i < facts->displayIdTimingCount; ++i) {
        const EdidTiming& timing = facts->displayIdTimings[i];
        if (timing.width == facts->displayIdNativeWidth && timing.height == facts->displayIdNativeHeight &&
            (chosen == NULL || (timing.preferred && !chosen->preferred)))
            chosen = &timing;
    }
    if (chosen != NULL) {
        facts->native = *chosen;
        facts->nativeFromDisplayId = true;
        facts->native.widthMm = (facts->displayIdWidthTenthsMm + 5) / 10;
        facts->native.heightMm = (facts->displayIdHeightTenthsMm + 5) / 10;
    } else if (facts->timingCount > 0) {
        facts->native = facts->timings[0];
    } else {
        return;
    }
    facts->hasNative = true;
}

bool DecodeEdid(const unsigned char* data, size_t size, EdidFacts* facts)
{
    memset(facts, 0, sizeof *facts);
    facts->size = size;
    if (data == NULL || size < EDID_BLOCK_SIZE) {
        facts->problems = EDID_TOO_SHORT;
        return false;
    }
    if (memcmp(data, EdidHeader, sizeof EdidHeader) != 0) {
        facts->problems = EDID_BAD_HEADER;
        return false;
    }
    facts->decoded = true;
    ReadBaseBlock(data, facts);
    size_t wholeBlocks = size / EDID_BLOCK_SIZE;
    if (size % EDID_BLOCK_SIZE != 0)
        facts->problems |= EDID_PARTIAL_BLOCK;
    // Whole blocks past the announced ones are read too, as edid-decode reads them.
    if (wholeBlocks < static_cast<size_t>(1 + facts->extensionCount))
        facts->problems |= EDID_MISSING_BLOCKS;
    facts->blocksRead = static_cast<int>(wholeBlocks);
    for (int number = 0; number < facts->blocksRead; ++number) {
        const unsigned char* block = data + number * EDID_BLOCK_SIZE;
        CheckBlock(block, number, facts);
        if (number > 0 && block[0] == CTA_EXTENSION_TAG)
            ReadCtaBlock(block, facts);
        else if (number > 0 && block[0] == DISPLAYID_EXTENSION_TAG)
            ReadDisplayIdBlock(block, facts);
    }
    ChooseNative(facts);
    SortModes(facts);
    return true;
}
