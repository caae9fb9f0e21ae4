// What the parts of the EDID decoder share: the base block, the CTA-861 and
// DisplayID extensions, and the list of modes they all add to.
#ifndef PELMIRA_EDID_PARTS_H
#define PELMIRA_EDID_PARTS_H

#include "edid/edid.h"

enum {
    DESCRIPTOR_SIZE = 18,
    MIN_PIXEL_CLOCK = 1000      // 10 MHz in a descriptor's steps: slower "timings" are filler
};

// Little-endian numbers of 16 and 24 bits.
inline int Word(const unsigned char* p) { return p[0] | p[1] << 8; }
inline int Word24(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16; }

// The vertical refresh in millihertz, rounded half up, of pixelClockKhz
// over horizontalTotal pixels by halfLines / 2 lines; -1 when a total is 0.
int64_t RefreshFromHalfLines(uint64_t pixelClockKhz, int64_t horizontalTotal, int64_t halfLines);

// An 18-byte descriptor of the base block or a CTA-861 block: a detailed
// timing (kept, and its mode listed) or a display descriptor. Returns true
// when it was a timing that was kept.
bool ReadDescriptor(const unsigned char* d, EdidFacts* facts);

// The mode list.
void AddMode(EdidFacts* facts, int width, int height, bool interlaced, int64_t millihertz);
void AddTimingMode(EdidFacts* facts, const EdidTiming& timing);
void AddDmtMode(EdidFacts* facts, int id);
void AddVicMode(EdidFacts* facts, int vic);
void AddHdmiVicMode(EdidFacts* facts, int vic);
void AddEstablishedModes(const unsigned char* bits, EdidFacts* facts);        // 3 bytes: I and II
void AddEstablishedIIIModes(const unsigned char* d, EdidFacts* facts);        // descriptor 0xF7
void AddStandardTiming(const unsigned char* code, EdidFacts* facts);          // 2 bytes
void AddCvtCodes(const unsigned char* d, EdidFacts* facts);                   // descriptor 0xF8
enum CvtBlanking {
    CVT_STANDARD, CVT_REDUCED, CVT_REDUCED_2, CVT_REDUCED_2_VIDEO, CVT_REDUCED_3, CVT_REDUCED_3_WIDE
};
void AddCvtMode(EdidFacts* facts, int width, int height, int refresh, CvtBlanking blanking);
void SortModes(EdidFacts* facts);

// DisplayID timings, which CTA-861 blocks may hold too. Detailed timings of
// size bytes (20 and more: types I and VII), kept among the candidates for
// the native mode when they stand in a DisplayID block; the clock in steps
// of clockStepKhz, every field one less than its value.
void AddDetailedTimings(const unsigned char* p, int length, int size, unsigned clockStepKhz, bool candidates,
                        EdidFacts* facts);
// Type VIII: one- or two-byte codes of DMT, CTA-861 or HDMI modes.
void AddTimingCodes(const unsigned char* p, int length, int revision, EdidFacts* facts);
// Types IX and X: CVT timings of size bytes, the formula and options in the
// first, then the width, height and rate, each one less. Type X adds reduced
// blanking version 3, and its option bit 4 makes version 2 video-optimized
// and version 3 wide (in type IX it changes nothing in edid-decode's figures).
void AddFormulaTimings(const unsigned char* p, int length, int size, bool typeX, EdidFacts* facts);

// The extension blocks.
void ReadCtaBlock(const unsigned char* block, EdidFacts* facts);
void ReadCtaDataBlocks(const unsigned char* data, int length, int room, EdidFacts* facts);
void ReadDisplayIdBlock(const unsigned char* block, EdidFacts* facts);

#endif
