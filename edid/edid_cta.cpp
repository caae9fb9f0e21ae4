// CTA-861 extension blocks: the data block collection (video codes, HDMI
// VICs, DisplayID timings, variable refresh ranges, HDR) and the detailed
// timings and display descriptors that follow it.
#include "edid/edid_parts.h"

#include <string.h>

enum {
    TAG_VIDEO = 2,
    TAG_VENDOR = 3,
    TAG_EXTENDED = 7,
    EXTENDED_HDR_STATIC = 6,
    EXTENDED_NATIVE_RESOLUTION = 8,
    EXTENDED_FORMAT_PREFERENCE = 13,
    EXTENDED_YCBCR420_VIDEO = 14,
    EXTENDED_TIMINGS_VII = 0x22,    // DisplayID timings of types VII, VIII and X, after a revision byte
    EXTENDED_TIMINGS_VIII = 0x23,
    EXTENDED_TIMINGS_X = 0x2A,
    EXTENDED_HDMI_FORUM = 0x79
};

// A short video descriptor: the VIC, with bytes 129 to 192 flagging one of
// VICs 1 to 64 as native.
static void AddShortVideoDescriptors(const unsigned char* p, int length, EdidFacts* facts)
{
    for (int i = 0; i < length; ++i)
        AddVicMode(facts, p[i] >= 129 && p[i] <= 192 ? p[i] & 0x7F : p[i]);
}

// Short video references: VICs among references to detailed timings.
static void AddVideoReferences(const unsigned char* p, int length, EdidFacts* facts)
{
    for (int i = 0; i < length; ++i)
        if ((p[i] >= 1 && p[i] <= 127) || p[i] >= 193)
            AddVicMode(facts, p[i]);
}

static bool HasOui(const unsigned char* p, int length, int oui)
{
    return length >= 3 && Word24(p) == oui;
}

// HDMI vendor block: after the fixed bytes and the latencies, when HDMI
// video is present, the HDMI VICs.
static void ReadHdmiBlock(const unsigned char* p, int length, EdidFacts* facts)
{
    if (length < 8 || (p[7] & 0x20) == 0)
        return;
    // Interlaced latencies only follow the progressive ones.
    int at = 8 + ((p[7] & 0x80) ? 2 : 0) + ((p[7] & 0xC0) == 0xC0 ? 2 : 0);
    if (at + 2 > length)
        return;
    int count = p[at + 1] >> 5;
    for (int i = 0; i < count && at + 2 + i < length; ++i)
        AddHdmiVicMode(facts, p[at + 2 + i]);
}

// The HDMI Forum blocks' variable refresh range: p at the version byte. The
// first block that gives both ends counts.
static void ReadHdmiForumRange(const unsigned char* p, int length, EdidFacts* facts)
{
    if (length < 7 || facts->hdmiVrrMaxHz != 0)
        return;
    int minimum = p[5] & 0x3F, maximum = (p[5] & 0xC0) << 2 | p[6];
    if (minimum > 0 && maximum > 0) {
        facts->hdmiVrrMinHz = minimum;
        facts->hdmiVrrMaxHz = maximum;
    }
}

static void ReadVendorBlock(const unsigned char* p, int length, EdidFacts* facts)
{
    if (HasOui(p, length, 0x000C03))
        ReadHdmiBlock(p, length, facts);
    else if (HasOui(p, length, 0xC45DD8))
        ReadHdmiForumRange(p + 3, length - 3, facts);
    else if (HasOui(p, length, 0x00001A) && length >= 7 && facts->amdMaxHz == 0) {
        facts->amdMinHz = p[5];
        facts->amdMaxHz = p[6];
    }
}

// The HDR static metadata block: p after the extended tag.
static void ReadHdrBlock(const unsigned char* p, int length, EdidFacts* facts)
{
    if (facts->hdr.present)
        return;
    facts->hdr.present = true;  // the first block counts, even one too short to say anything
    if (length < 2)
        return;
    facts->hdr.transfers = p[0] & 0x0F;
    facts->hdr.luminanceCount = length - 2 < 3 ? length - 2 : 3;
    facts->hdr.maxCode = length > 2 ? p[2] : 0;
    facts->hdr.averageCode = length > 3 ? p[3] : 0;
    facts->hdr.minCode = length > 4 ? p[4] : 0;
}

// edid-decode reads DisplayID timings of one revision only: type VII's of
// 20-byte timings, type VIII's of DMT codes; type X's gives the size of its
// descriptors.
static void ReadExtendedBlock(const unsigned char* p, int length, EdidFacts* facts)
{
    if (length < 1)
        return;
    int revision = length >= 2 ? p[1] : -1;
    switch (p[0]) {
    case EXTENDED_YCBCR420_VIDEO: AddShortVideoDescriptors(p + 1, length - 1, facts); break;
    case EXTENDED_FORMAT_PREFERENCE: AddVideoReferences(p + 1, length - 1, facts); break;
    case EXTENDED_NATIVE_RESOLUTION: AddVideoReferences(p + 1, length > 1 ? 1 : 0, facts); break;  // its first byte
    case EXTENDED_HDR_STATIC: ReadHdrBlock(p + 1, length - 1, facts); break;
    case EXTENDED_HDMI_FORUM:
        if (length >= 3)
            ReadHdmiForumRange(p + 3, length - 3, facts);
        break;
    case EXTENDED_TIMINGS_VII:
        if ((revision & 0x70) == 0)
            AddDetailedTimings(p + 2, length - 2, 20, 1, false, facts);
        break;
    case EXTENDED_TIMINGS_VIII:
        if ((revision & 0xC0) == 0)
            AddTimingCodes(p + 2, length - 2, revision, facts);
        break;
    case EXTENDED_TIMINGS_X:
        if (revision >= 0)
            AddFormulaTimings(p + 2, length - 2, 6 + (revision >> 4 & 0x07), true, facts);
        break;
    }
}

// The data blocks that start within length bytes; as edid-decode reads it,
// the last may run on past them, up to room.
void ReadCtaDataBlocks(const unsigned char* data, int length, int room, EdidFacts* facts)
{
    for (int at = 0; at < length;) {
        int tag = data[at] >> 5, size = data[at] & 0x1F;
        if (at + 1 + size > length)
            facts->problems |= EDID_CTA_OVERRUN;
        if (at + 1 + size > room)
            size = room - at - 1;
        const unsigned char* p = data + at + 1;
        switch (tag) {
        case TAG_VIDEO: AddShortVideoDescriptors(p, size, facts); break;
        case TAG_VENDOR: ReadVendorBlock(p, size, facts); break;
        case TAG_EXTENDED: ReadExtendedBlock(p, size, facts); break;
        }
        at += 1 + size;
    }
}

// From byte 4 to the offset in byte 2, the data blocks (revision 3 on); from
// there up to the checksum byte, the detailed timings and descriptors, ended
// early by zero padding. Revision 0 holds neither.
void ReadCtaBlock(const unsigned char* block, EdidFacts* facts)
{
    static const unsigned char Padding[DESCRIPTOR_SIZE] = {};
    const int Room = EDID_BLOCK_SIZE - 1;
    int offset = block[2];
    if (offset < 4 || block[1] == 0)
        return;
    if (block[1] >= 3)
        ReadCtaDataBlocks(block + 4, (offset < Room ? offset : Room) - 4, Room - 4, facts);
    for (int at = offset; at + DESCRIPTOR_SIZE < EDID_BLOCK_SIZE; at += DESCRIPTOR_SIZE) {
        if (memcmp(block + at, Padding, DESCRIPTOR_SIZE) == 0)
            break;
        ReadDescriptor(block + at, facts);
    }
}
