// The EDID decoder: what a monitor says of itself in its EDID, read from the
// bytes alone (no system calls), as a plain record of facts.
#ifndef PELMIRA_EDID_H
#define PELMIRA_EDID_H

#include <stddef.h>
#include <stdint.h>

enum {
    EDID_BLOCK_SIZE = 128,
    EDID_TEXT_CAPACITY = 14,    // a descriptor's 13 characters and the terminator
    EDID_MAX_TIMINGS = 32,      // detailed timings kept, in the EDID's order
    EDID_MAX_BAD_BLOCKS = 8     // numbers of blocks with a wrong checksum kept
};

// What is wrong with an EDID: bits of EdidFacts.problems.
enum EdidProblem {
    EDID_TOO_SHORT = 0x001,           // fewer than 128 bytes: nothing decoded
    EDID_BAD_HEADER = 0x002,          // no EDID header: nothing decoded
    EDID_PARTIAL_BLOCK = 0x004,       // bytes after the last whole block, ignored
    EDID_MISSING_BLOCKS = 0x008,      // the extension count runs past the data
    EDID_BAD_CHECKSUM = 0x010,        // see badBlocks
    EDID_UNPRINTABLE_NAME = 0x020,    // the name stops at an unprintable byte
    EDID_UNPRINTABLE_SERIAL = 0x040,  // the serial text stops at one
    EDID_FIRST_NOT_TIMING = 0x080,    // the base block's first descriptor is no usable timing
    EDID_ZERO_TOTALS = 0x100,         // the native timing has no lines or no pixels per line
    EDID_SLOW_TIMING = 0x200          // a timing's pixel clock is below 10 MHz: filler, left out
};

// One detailed timing descriptor.
struct EdidTiming {
    int block;                  // 0: the base block, else the extension's number
    int width, height;          // active pixels; an interlaced height counts both fields
    bool interlaced;
    unsigned pixelClockKhz;     // the EDID gives it in steps of 10 kHz
    int horizontalTotal;        // pixels of a line, blanking included
    int verticalTotal;          // lines of a frame (of a field when interlaced)
    int64_t refreshMillihertz;  // vertical refresh rounded to 0.001 Hz (of the
                                //   fields when interlaced); -1 with a zero total
    int widthMm, heightMm;      // image size; 0 when not given
};

struct EdidFacts {
    bool decoded;               // a base block was found: the facts below are set
    unsigned problems;          // EdidProblem bits
    size_t size;                // bytes given
    int blocksRead;             // whole blocks decoded, the base block included
    int badBlockCount;          // blocks read whose checksum is wrong,
    int badBlocks[EDID_MAX_BAD_BLOCKS];  //   the first of them by number

    char manufacturer[4];       // three letters, as "DEL"
    unsigned productCode;       // 16 bits
    uint32_t serialNumber;      // 0: none
    char serialText[EDID_TEXT_CAPACITY];  // the serial-number descriptor; "" when none
    char name[EDID_TEXT_CAPACITY];        // the display-name descriptor; "" when none
    int week;                   // 1 to 54 (as given); 0: not given; 255: year is a model year
    int year;
    int version, revision;
    int extensionCount;         // as the base block says

    int widthCm, heightCm;      // image size; both 0 when not given
    int aspectHundredths;       // EDID 1.4 without a size: width / height x 100, rounded
                                //   as "%.2f" does; 0 when not given
    bool aspectPortrait;        // that ratio was given for a portrait screen

    bool hasRange;              // a range-limits descriptor, its offsets applied
    int minVerticalHz, maxVerticalHz;
    int minHorizontalKhz, maxHorizontalKhz;
    int maxPixelClockMhz;       // 0: not given

    int timingCount;            // detailed timings of the base block, then of
    EdidTiming timings[EDID_MAX_TIMINGS];  // CTA-861 extensions; the first is the native mode
};

// Decodes size bytes at data into facts. Returns facts->decoded. Reads no
// byte outside the buffer whatever the bytes say.
bool DecodeEdid(const unsigned char* data, size_t size, EdidFacts* facts);

#endif
