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
    EDID_MAX_BAD_BLOCKS = 8,    // numbers of blocks with a wrong checksum kept
    EDID_MAX_MODES = 1024,      // distinct modes kept
    EDID_MODE_SLOTS = 2048      // the hash table that keeps them distinct
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
    EDID_FIRST_NOT_TIMING = 0x080,    // the base block's first descriptor is no usable timing (filler, no size)
    EDID_SLOW_TIMING = 0x200,         // a timing's pixel clock is below 10 MHz: filler, left out
    EDID_CTA_OVERRUN = 0x400,         // a CTA-861 data block runs past its room: read as it stands
    EDID_DISPLAYID_OVERRUN = 0x800,   // a DisplayID section or data block runs past its room: it and the rest left out
    EDID_TOO_MANY_MODES = 0x1000      // more distinct modes than EDID_MAX_MODES: the rest left out
};

// One detailed timing.
struct EdidTiming {
    int width, height;          // active pixels; an interlaced height counts both fields
    bool interlaced;
    bool preferred;             // a DisplayID timing flagged preferred
    int64_t refreshMillihertz;  // vertical refresh rounded to 0.001 Hz (of the
                                //   fields when interlaced)
    int widthMm, heightMm;      // image size; 0 when not given
};

// A mode the monitor lists, by whatever means: a timing, a code of a
// standard, or a formula applied to a standard timing.
struct EdidMode {
    int width, height;          // an interlaced height counts both fields
    bool interlaced;
    int64_t refreshMillihertz;  // of the fields when interlaced
};

// The monitor's chromaticity: x and y of red, green, blue and white in
// 1/1024 steps, as the base block gives them.
struct EdidColourPoints {
    int x[4], y[4];
};

// The transfer functions of the HDR static metadata block: bits of EdidHdr.transfers.
enum EdidTransfer {
    TRANSFER_SDR_GAMMA = 0x01,
    TRANSFER_HDR_GAMMA = 0x02,
    TRANSFER_PQ = 0x04,
    TRANSFER_HLG = 0x08
};

struct EdidHdr {
    bool present;               // a CTA-861 HDR static metadata block was found
    unsigned transfers;         // EdidTransfer bits
    int luminanceCount;         // how many of the three codes below are given
    int maxCode, averageCode, minCode;  // desired content max, max frame average and min luminance
};

// The input the monitor takes.
struct EdidInput {
    bool digital;
    int interfaceType;          // EDID 1.4 digital: 1 DVI, 2 HDMI-a, 3 HDMI-b, 4 MDDI, 5 DisplayPort; 0 none
    int bitsPerColour;          // EDID 1.4 digital: 6 to 16; 0 when not given
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
    int week;                   // as given (1 to 54 when valid); 0: none; 255: year is a model year
    int year;
    int version, revision;
    int extensionCount;         // as the base block says
    EdidInput input;

    int widthCm, heightCm;      // image size; both 0 when not given
    int aspectHundredths;       // EDID 1.4 without a size: width / height x 100, rounded
                                //   as "%.2f" does; 0 when not given
    bool aspectPortrait;        // that ratio was given for a portrait screen
    EdidColourPoints colours;

    bool hasRange;              // the base block's first range-limits descriptor, its offsets applied
    int minVerticalHz, maxVerticalHz;
    int minHorizontalKhz, maxHorizontalKhz;
    int maxPixelClockMhz;       // 0: not given
    bool cvtSupported;          // a range-limits descriptor allows CVT (EDID 1.4)

    int timingCount;            // detailed timings of the base block, then of
    EdidTiming timings[EDID_MAX_TIMINGS];  // CTA-861 extensions
    int displayIdTimingCount;   // DisplayID timings, in the EDID's order
    EdidTiming displayIdTimings[EDID_MAX_TIMINGS];
    int displayIdNativeWidth, displayIdNativeHeight;  // DisplayID's native pixel format; 0: none
    int displayIdWidthTenthsMm, displayIdHeightTenthsMm;  // its image size in 0.1 mm; 0: none
    bool hasNative;             // the native mode: a DisplayID timing of the stated native
    EdidTiming native;          //   format (its size from DisplayID), else the first of timings
    bool nativeFromDisplayId;

    int hdmiVrrMinHz, hdmiVrrMaxHz;  // the first HDMI Forum VRR range with both ends; 0: none
    int amdMinHz, amdMaxHz;     // the first AMD refresh range with a maximum; 0: none
    EdidHdr hdr;

    int modeCount;              // every distinct mode listed, widest first, then
    EdidMode modes[EDID_MAX_MODES];  // tallest, then fastest, progressive first
    uint16_t modeSlots[EDID_MODE_SLOTS];  // each a mode's index + 1, or 0
};

// Decodes size bytes at data into facts. Returns facts->decoded. Reads no
// byte outside the buffer whatever the bytes say.
bool DecodeEdid(const unsigned char* data, size_t size, EdidFacts* facts);

#endif
