// The EDID decoder: the base block (VESA E-EDID 1.0 to 1.4) and the detailed
// timings of CTA-861 extension blocks. Every read is bounded by the blocks
// that lie wholly inside the buffer.
#include "display/edid.h"

#include <string.h>

static const unsigned char EdidHeader[8] = { 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00 };

enum {
    DESCRIPTOR_SIZE = 18,
    FIRST_DESCRIPTOR = 54,     // the base block's four descriptors start here
    MIN_PIXEL_CLOCK = 1000,    // 10 MHz in the EDID's steps: slower "timings" are filler
    CTA_EXTENSION_TAG = 0x02,
    TAG_SERIAL = 0xFF,
    TAG_RANGE = 0xFD,
    TAG_NAME = 0xFC
};

// The vertical refresh of a timing in millihertz, rounded half up; -1 when a
// total is zero. An interlaced field has verticalTotal + 0.5 lines.
static int64_t RefreshMillihertz(unsigned pixelClockKhz, int horizontalTotal, int verticalTotal, bool interlaced)
{
    if (horizontalTotal == 0 || verticalTotal == 0)
        return -1;
    // Everything counted in half lines, so that both kinds are whole numbers.
    int64_t halfLines = 2 * static_cast<int64_t>(verticalTotal) + (interlaced ? 1 : 0);
    int64_t denominator = horizontalTotal * halfLines;
    int64_t numerator = static_cast<int64_t>(pixelClockKhz) * 2000000;  // kHz -> mHz, twice
    return (2 * numerator + denominator) / (2 * denominator);
}

// Keeps the detailed timing at d; returns false, keeping nothing, for filler.
static bool AddTiming(const unsigned char* d, int block, EdidFacts* facts)
{
    if ((d[0] | d[1] << 8) < MIN_PIXEL_CLOCK) {
        facts->problems |= EDID_SLOW_TIMING;
        return false;
    }
    if (facts->timingCount >= EDID_MAX_TIMINGS)
        return true;
    EdidTiming* timing = &facts->timings[facts->timingCount++];
    int horizontalBlank = d[3] | (d[4] & 0x0F) << 8;
    int verticalActive = d[5] | (d[7] & 0xF0) << 4;
    int verticalBlank = d[6] | (d[7] & 0x0F) << 8;
    timing->block = block;
    timing->interlaced = (d[17] & 0x80) != 0;
    timing->width = d[2] | (d[4] & 0xF0) << 4;
    timing->height = timing->interlaced ? 2 * verticalActive : verticalActive;
    timing->pixelClockKhz = (d[0] | d[1] << 8) * 10u;
    timing->horizontalTotal = timing->width + horizontalBlank;
    timing->verticalTotal = verticalActive + verticalBlank;
    timing->refreshMillihertz = RefreshMillihertz(timing->pixelClockKhz, timing->horizontalTotal,
                                                  timing->verticalTotal, timing->interlaced);
    timing->widthMm = d[12] | (d[14] & 0xF0) << 4;
    timing->heightMm = d[13] | (d[14] & 0x0F) << 8;
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
    if (facts->hasRange)
        return;
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

static void ReadDescriptor(const unsigned char* d, EdidFacts* facts)
{
    switch (d[3]) {
    case TAG_NAME: TakeText(d, facts->name, EDID_UNPRINTABLE_NAME, facts); break;
    case TAG_SERIAL: TakeText(d, facts->serialText, EDID_UNPRINTABLE_SERIAL, facts); break;
    case TAG_RANGE: ReadRange(d, facts); break;
    }
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

static void ReadBaseBlock(const unsigned char* base, EdidFacts* facts)
{
    int letters = base[8] << 8 | base[9];
    for (int i = 0; i < 3; ++i)
        facts->manufacturer[i] = static_cast<char>('@' + (letters >> (10 - 5 * i) & 0x1F));
    facts->productCode = base[10] | base[11] << 8;
    facts->serialNumber = base[12] | base[13] << 8 | base[14] << 16 | static_cast<uint32_t>(base[15]) << 24;
    facts->week = base[16];
    facts->year = 1990 + base[17];
    facts->version = base[18];
    facts->revision = base[19];
    facts->extensionCount = base[126];
    ReadImageSize(base, facts);
    for (int slot = 0; slot < 4; ++slot) {
        const unsigned char* d = base + FIRST_DESCRIPTOR + slot * DESCRIPTOR_SIZE;
        bool kept = false;
        if (d[0] == 0 && d[1] == 0)
            ReadDescriptor(d, facts);
        else
            kept = AddTiming(d, 0, facts);
        if (slot == 0 && !kept)
            facts->problems |= EDID_FIRST_NOT_TIMING;
    }
}

// The detailed timings of a CTA-861 block: from the offset in its byte 2 up
// to the checksum byte, ended early by zero padding. A display descriptor
// there (some TVs put one) is passed over.
static void ReadCtaBlock(const unsigned char* block, int number, EdidFacts* facts)
{
    static const unsigned char Padding[DESCRIPTOR_SIZE] = {};
    if (block[0] != CTA_EXTENSION_TAG || block[2] < 4)
        return;
    for (int offset = block[2]; offset + DESCRIPTOR_SIZE < EDID_BLOCK_SIZE; offset += DESCRIPTOR_SIZE) {
        const unsigned char* d = block + offset;
        if (memcmp(d, Padding, DESCRIPTOR_SIZE) == 0)
            break;
        if (d[0] != 0 || d[1] != 0)
            AddTiming(d, number, facts);
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
    if (wholeBlocks < static_cast<size_t>(1 + facts->extensionCount))
        facts->problems |= EDID_MISSING_BLOCKS;
    else
        wholeBlocks = 1 + facts->extensionCount;
    facts->blocksRead = static_cast<int>(wholeBlocks);
    for (int number = 0; number < facts->blocksRead; ++number) {
        const unsigned char* block = data + number * EDID_BLOCK_SIZE;
        CheckBlock(block, number, facts);
        if (number > 0)
            ReadCtaBlock(block, number, facts);
    }
    if (facts->timingCount > 0 && facts->timings[0].refreshMillihertz < 0)
        facts->problems |= EDID_ZERO_TOTALS;
    return true;
}
