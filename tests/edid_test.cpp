// The monitor report beyond what the comparison with edid-decode reaches:
// bad and odd EDIDs give their line and no read past the buffer; the notes
// and formats that depend on the current mode.
#include <gtest/gtest.h>

#include <windows.h>

#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "edid/gamut.h"
#include "edid/monitor_report.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// 2560 x 1440, 241.5 MHz over 2720 x 1481 pixels: 59.951 Hz; 596 x 335 mm.
const char NativeTiming[] = "\x56\x5E\0\xA0\xA0\xA0\x29\x50\x30\x20\x35\0\x54\x4F\x21\0\0\x1A";
// 2560 x 1440 at 143.967 Hz.
const char FastTiming[] = "\xFA\xE6\0\xA0\xA0\xA0\x46\x50\x50\x20\xE5\x0C\x54\x4F\x21\0\0\x1A";

void FixChecksums(Bytes& edid)
{
    for (size_t block = 0; block + 128 <= edid.size(); block += 128)
        edid[block + 127] = static_cast<unsigned char>(-std::accumulate(&edid[block], &edid[block + 127], 0));
}

// The EDID of the report's worked example: a DELL G2724D, made in week 24
// of 2023. Its first CTA-861 block lists two video codes, HDR and an AMD
// refresh range, then a faster timing of its native size; the second
// repeats its native timing; a DisplayID block lists the fastest timing.
Bytes ValidEdid(int extensions = 3)
{
    const char start[] = "\0\xFF\xFF\xFF\xFF\xFF\xFF\0\x10\xAC\x75\xD1\x55\x44\x31\x30\x18\x21\x01\x04\xB5\x3C\x22\x78"
                         "\x3A\xE7\x25\xA8\x54\x49\xA1\x25\x0E\x50\x54";
    const char descriptors[] = "\0\0\0\xFF\0B4VG4V3\n     \0\0\0\xFC\0DELL G2724D\n \0\0\0\xFD\0\x30\xA5\xFF\xFF\x41";
    // The video codes of 1920 x 1080 and 1280 x 720 at 60 Hz; PQ with
    // luminance codes 99, 99 and 57; 48 - 165 Hz.
    const char cta[] = "\x02\x03\x16\0\x42\x10\x04\xE6\x06\x05\x01\x63\x63\x39\x67\x1A\0\0\x02\x01\x30\xA5";
    // 2560 x 1440 at 165.080 Hz, a type I timing.
    const char displayId[] = "\x70\x12\x17\0\0\x03\0\x14\xF3\xFB\0\x04\xFF\x09\x4F\0\x07\x80\x1F\0\x9F\x05\x27\0\x05\0\x07\0";
    Bytes edid(128 * (1 + extensions));
    std::copy(start, start + sizeof start - 1, edid.begin());
    std::copy(NativeTiming, NativeTiming + 18, edid.begin() + 54);
    std::copy(descriptors, descriptors + sizeof descriptors - 1, edid.begin() + 72);
    edid[126] = static_cast<unsigned char>(extensions);
    for (int block = 1; block <= extensions; ++block) {
        auto at = edid.begin() + 128 * block;
        if (block == 1) {
            std::copy(cta, cta + sizeof cta - 1, at);
            std::copy(FastTiming, FastTiming + 18, at + sizeof cta - 1);
        } else if (block == 2) {
            at[0] = 2, at[1] = 3, at[2] = 4;
            std::copy(NativeTiming, NativeTiming + 18, at + 4);
        } else {
            std::copy(displayId, displayId + sizeof displayId - 1, at);
            at[28] = static_cast<unsigned char>(-std::accumulate(at + 1, at + 28, 0));
        }
    }
    FixChecksums(edid);
    return edid;
}

// The report of edid placed at the very end of a readable page with a
// no-access page after it, so that a read past the buffer crashes the run.
std::wstring Report(const Bytes& edid, const MonitorCurrentMode* current = NULL)
{
    static unsigned char* pages =
        static_cast<unsigned char*>(VirtualAlloc(NULL, 3 * 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(pages + 2 * 4096, 4096, PAGE_NOACCESS, &old);
    unsigned char* data = pages + 2 * 4096 - edid.size();
    std::copy(edid.begin(), edid.end(), data);
    static wchar_t text[8192];
    int length = FormatMonitorReport(data, edid.size(), current, text, 8192);
    EXPECT_EQ(static_cast<int>(wcslen(text)), length);
    return text;
}

TEST(MonitorReportTest, EachBadOrOddEdidGivesItsLine)
{
    // 1920 x 1080 interlaced: 74.25 MHz over 2200 pixels by 562.5 lines a field.
    static const char Interlaced[] = "\x01\x1D\x80\x18\x71\x1C\x16\x20\x58\x2C\x25\0\x54\x4F\x21\0\0\x9E";
    const struct {
        void (*spoil)(Bytes& edid);
        const wchar_t* line;  // the start of the line expected
        bool absent = false;  // or of the line that must not be there
    } cases[] = {
        { [](Bytes& e) { e.clear(); }, L"Note: The monitor reports no EDID.\r\n" },
        { [](Bytes& e) { e.resize(100); }, L"Note: The EDID is only 100 bytes long; a valid one has at least 128." },
        { [](Bytes& e) { e[0] = 1; }, L"Note: The EDID does not begin with the EDID header" },
        { [](Bytes& e) { e[200] ^= 1; }, L"Note: EDID block 1 has a wrong checksum" },
        { [](Bytes& e) { e[126] = 0, e.resize(300), FixChecksums(e); },
          L"Note: The EDID is 300 bytes long, not a whole number of 128-byte blocks; the last 44 bytes are left out." },
        { [](Bytes& e) { e.resize(256); }, L"Note: The EDID announces 3 extension blocks, but 2 of them are missing." },
        { [](Bytes& e) { e[97] = 0xB0, FixChecksums(e); }, L"Note: The monitor name in the EDID holds unprintable" },
        { [](Bytes& e) { e[56] = e[57] = e[58] = 0, FixChecksums(e); }, L"Note: The EDID's first descriptor is not a" },
        { [](Bytes& e) { e[54] = e[55] = 1, FixChecksums(e); }, L"Note: The EDID holds a detailed timing with a" },
        { [](Bytes& e) { e[54] = e[55] = e[126] = 0, e.resize(128), FixChecksums(e); }, L"Note: The EDID lists no" },
        { [](Bytes& e) { e[21] = e[22] = e[66] = e[67] = e[68] = 0, FixChecksums(e); },
          L"Note: The EDID gives no physical size" },
        { [](Bytes& e) { e[21] = 0, FixChecksums(e); }, L"Image size: not given; aspect ratio 0.75 (portrait)\r\n" },
        { [](Bytes& e) { e[16] = 0, FixChecksums(e); }, L"Manufactured: 2023\r\n" },
        { [](Bytes& e) { e[16] = 255, FixChecksums(e); }, L"Manufactured: model year 2023\r\n" },
        { [](Bytes& e) { std::copy(Interlaced, Interlaced + 18, &e[54]), FixChecksums(e); },
          L"Native mode: 1920 x 1080 interlaced at 60.000 Hz\r\n" },
        { [](Bytes& e) { e[112] = 0x02, e[114] = 105, FixChecksums(e); }, L"Refresh range: 48 - 360 Hz\r\n" },
        { [](Bytes& e) { e[132] = 0x5F, FixChecksums(e); }, L"Note: A CTA-861 block of the EDID holds a data block" },
        { [](Bytes& e) { e[386] = 200, FixChecksums(e); }, L"Note: A DisplayID block of the EDID holds a section" },
        { [](Bytes& e) { e[391] = 200, FixChecksums(e); }, L"Note: A DisplayID block of the EDID holds a section" },
        // VICs 0 and 220 and the standard timings 0x0101 and 0x0040 name no mode.
        { [](Bytes& e) { e[133] = 0, e[134] = 220, e[38] = e[39] = 1, e[41] = 0x40, FixChecksums(e); },
          L"Modes the monitor lists (3):\r\n" },
        { [](Bytes& e) { std::fill(&e[25], &e[35], 0), FixChecksums(e); }, L"Colour points:", true },
        { [](Bytes& e) { e[25] = e[26] = 0, std::copy(&e[27], &e[29], &e[29]), std::copy(&e[27], &e[29], &e[31]), FixChecksums(e); },
          L"Colour gamut:", true },
    };
    for (const auto& c : cases) {
        Bytes edid = ValidEdid();
        c.spoil(edid);
        std::wstring report = Report(edid);
        EXPECT_EQ(c.absent, report.find(c.line) == std::wstring::npos) << c.line << L" in\n" << report;
    }
}

TEST(MonitorReportTest, RandomAndTruncatedEdidsGiveAReport)
{
    std::mt19937 next(15);
    for (int round = 0; round < 3000; ++round) {
        Bytes edid = ValidEdid(round % 4);
        for (int flips = next() % 12; flips > 0; --flips)
            edid[next() % edid.size()] = static_cast<unsigned char>(next() % 4 == 0 ? 0 : next());
        if (round % 2 == 0)
            FixChecksums(edid);
        edid.resize(next() % 4 == 0 ? next() % (edid.size() + 1) : edid.size());
        ASSERT_LT(0u, Report(edid).size()) << "round " << round;
    }
}

TEST(MonitorReportTest, NotesOnTheCurrentModeAndFormats)
{
    const MonitorCurrentMode example = { 2560, 1440, 59951, 1000, 96, NULL, 0 };
    EXPECT_EQ(std::wstring(L"Monitor: DELL G2724D\r\nManufacturer: DEL\r\nProduct code: D175\r\n"
                           L"Serial number: B4VG4V3\r\nManufactured: week 24 of 2023\r\n"
                           L"EDID: version 1.4, 3 extension blocks\r\nInput: digital, DisplayPort, 10 bits per colour\r\n"
                           L"Image size: 60 x 34 cm\r\nNative mode: 2560 x 1440 at 59.951 Hz\r\n"
                           L"Native size: 596 x 335 mm\r\nDiagonal: 26.9 in\r\nPixel density: 109 ppi\r\n"
                           L"One logical inch: 0.88 in on this monitor\r\nRefresh range: 48 - 165 Hz\r\n"
                           L"Highest refresh: 2560 x 1440 at 165.080 Hz\r\nVariable refresh: 48 - 165 Hz\r\n"
                           L"Colour points: red 0.6591, 0.3300; green 0.2861, 0.6318; blue 0.1445, 0.0566; "
                           L"white 0.3134, 0.3291\r\n"
                           L"Colour gamut: 100.0% of sRGB, 84.5% of DCI-P3, 60.7% of BT.2020\r\n"
                           L"HDR: PQ; peak 426.856 cd/m\u00B2, frame average 426.856 cd/m\u00B2, black 0.213 cd/m\u00B2\r\n"
                           L"Current mode: 2560 x 1440 at 59.951 Hz\r\n"
                           L"Note: The monitor accepts up to 165.080 Hz, but the current mode runs at 59.951 Hz; "
                           L"a higher rate can be chosen in the display settings.\r\n"
                           L"Note: The current refresh rate is 59.951 Hz, not exactly 60 Hz: video made for 60 "
                           L"frames per second skips or repeats a frame now and then.\r\n"
                           L"Modes the monitor lists (5):\r\n  2560 x 1440 at 165.080 Hz\r\n  2560 x 1440 at 143.967 Hz\r\n"
                           L"  2560 x 1440 at 59.951 Hz (native) (current)\r\n  1920 x 1080 at 60.000 Hz\r\n"
                           L"  1280 x 720 at 60.000 Hz\r\n"),
              Report(ValidEdid(), &example));
    const MonitorCurrentMode scaled = { 1920, 1080, 60000, 1001, 144, NULL, 0 };
    std::wstring report = Report(ValidEdid(1), &scaled);
    for (const wchar_t* line : { L"EDID: version 1.4, 1 extension block\r\n", L"One logical inch: 1.76 in on this",
                                 L"Current mode: 1920 x 1080 at 59.940 Hz\r\n",
                                 L"Note: The current mode is not the monitor's native 2560 x 1440, "
                                 L"so one-pixel patterns are scaled by the monitor.\r\n" })
        EXPECT_NE(std::wstring::npos, report.find(line)) << line << L" in\n" << report;
    // The range's 165 Hz is no promise at a size that lists no such timing.
    EXPECT_EQ(std::wstring::npos, report.find(L"accepts up to")) << report;
    // No note at the fastest rate, upright or on the monitor's side, or at
    // an unknown one; none for an adapter that offers the fastest rate as
    // Windows rounds it.
    const OfferedMode offered = { 2560, 1440, 164 };
    const MonitorCurrentMode quiet[] = { { 2560, 1440, 165, 1, 96, &offered, 1 }, { 1440, 2560, 165, 1, 96, NULL, 0 },
                                         { 2560, 1440, 0, 0, 96, NULL, 0 } };
    for (const MonitorCurrentMode& mode : quiet)
        EXPECT_EQ(std::wstring::npos, Report(ValidEdid(), &mode).find(L"Note:")) << Report(ValidEdid(), &mode);
    wchar_t small[16];
    EXPECT_EQ(-1, FormatMonitorReport(ValidEdid().data(), 384, &example, small, 16));
    EXPECT_EQ(L'\0', small[0]);
}

TEST(MonitorReportTest, GamutCoverageOfTrianglesWithKnownAnswers)
{
    const Chromaticity srgbReversed[3] = { SrgbPrimaries[0], SrgbPrimaries[2], SrgbPrimaries[1] };
    const Chromaticity corner[3] = { { 0, 0 }, { 1, 0 }, { 0, 1 } }, across[3] = { { 0, 0 }, { 1, 0 }, { 1, 1 } };
    const Chromaticity apart[3] = { { 2, 2 }, { 3, 2 }, { 2, 3 } }, line[3] = { { 0, 0 }, { 0.5, 0.5 }, { 1, 1 } };
    const struct {
        const Chromaticity* monitor;
        const Chromaticity* standard;
        double coverage;
    } cases[] = {
        { SrgbPrimaries, SrgbPrimaries, 1 },
        { srgbReversed, SrgbPrimaries, 1 },
        { SrgbPrimaries, Bt2020Primaries, 0.11205 / 0.2118665 },  // wholly inside: the ratio of the areas
        { Bt2020Primaries, SrgbPrimaries, 1 },
        { across, corner, 0.5 },  // half of it outside
        { apart, corner, 0 },
        { line, corner, 0 },
    };
    for (const auto& c : cases)
        EXPECT_NEAR(c.coverage, GamutCoverage(c.monitor, c.standard), 1e-9) << "case " << &c - cases;
}

}  // namespace
