// The monitor report beyond what the comparison with edid-decode reaches:
// bad and odd EDIDs give their line and no read past the buffer; the notes
// and formats that depend on the current mode.
#include <gtest/gtest.h>

#include <windows.h>

#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "display/monitor_report.h"

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
// of 2023, with CTA-861 extensions that list a faster timing of its native
// size, then repeat its native timing.
Bytes ValidEdid(int extensions = 2)
{
    const char start[] = "\0\xFF\xFF\xFF\xFF\xFF\xFF\0\x10\xAC\x75\xD1\x55\x44\x31\x30\x18\x21\x01\x04\xB5\x3C\x22";
    const char descriptors[] = "\0\0\0\xFF\0B4VG4V3\n     \0\0\0\xFC\0DELL G2724D\n \0\0\0\xFD\0\x30\xA5\xFF\xFF\x41";
    Bytes edid(128 * (1 + extensions));
    std::copy(start, start + sizeof start - 1, edid.begin());
    std::copy(NativeTiming, NativeTiming + 18, edid.begin() + 54);
    std::copy(descriptors, descriptors + sizeof descriptors - 1, edid.begin() + 72);
    edid[126] = static_cast<unsigned char>(extensions);
    for (int block = 1; block <= extensions; ++block) {
        edid[128 * block] = 2, edid[128 * block + 1] = 3, edid[128 * block + 2] = 4;
        const char* timing = block == 1 ? FastTiming : NativeTiming;
        std::copy(timing, timing + 18, edid.begin() + 128 * block + 4);
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
    wchar_t text[4096];
    int length = FormatMonitorReport(data, edid.size(), current, text, 4096);
    EXPECT_EQ(static_cast<int>(wcslen(text)), length);
    return text;
}

TEST(MonitorReportTest, EachBadOrOddEdidGivesItsLine)
{
    const struct {
        void (*spoil)(Bytes& edid);
        const wchar_t* line;  // the start of the line expected
    } cases[] = {
        { [](Bytes& e) { e.clear(); }, L"Note: The monitor reports no EDID.\r\n" },
        { [](Bytes& e) { e.resize(100); }, L"Note: The EDID is only 100 bytes long; a valid one has at least 128." },
        { [](Bytes& e) { e[0] = 1; }, L"Note: The EDID does not begin with the EDID header" },
        { [](Bytes& e) { e[200] ^= 1; }, L"Note: EDID block 1 has a wrong checksum" },
        { [](Bytes& e) { e[126] = 0, e.resize(300), FixChecksums(e); },
          L"Note: The EDID is 300 bytes long, not a whole number of 128-byte blocks; the last 172 bytes are left out." },
        { [](Bytes& e) { e.resize(256); }, L"Note: The EDID announces 2 extension blocks, but 1 of them is missing." },
        { [](Bytes& e) { e[97] = 0xB0, FixChecksums(e); }, L"Note: The monitor name in the EDID holds unprintable" },
        { [](Bytes& e) { e[56] = e[57] = e[58] = 0, FixChecksums(e); }, L"Note: The native mode's timing has zero" },
        { [](Bytes& e) { e[54] = e[55] = 1, FixChecksums(e); }, L"Note: The EDID holds a detailed timing with a" },
        { [](Bytes& e) { e[54] = e[55] = e[126] = 0, e.resize(128), FixChecksums(e); }, L"Note: The EDID lists no" },
        { [](Bytes& e) { e[21] = e[22] = e[66] = e[67] = e[68] = 0, FixChecksums(e); },
          L"Note: The EDID gives no physical size" },
        { [](Bytes& e) { e[21] = 0, FixChecksums(e); }, L"Image size: not given; aspect ratio 0.75 (portrait)\r\n" },
        { [](Bytes& e) { e[16] = 0, FixChecksums(e); }, L"Manufactured: 2023\r\n" },
        { [](Bytes& e) { e[16] = 255, FixChecksums(e); }, L"Manufactured: model year 2023\r\n" },
    };
    for (const auto& c : cases) {
        Bytes edid = ValidEdid();
        c.spoil(edid);
        std::wstring report = Report(edid);
        EXPECT_NE(std::wstring::npos, report.find(c.line)) << c.line << L" in\n" << report;
    }
}

TEST(MonitorReportTest, RandomAndTruncatedEdidsGiveAReport)
{
    std::mt19937 next(15);
    for (int round = 0; round < 3000; ++round) {
        Bytes edid = ValidEdid(round % 3);
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
    const MonitorCurrentMode example = { 2560, 1440, 59951, 1000, 96 };
    EXPECT_EQ(std::wstring(L"Monitor: DELL G2724D\r\nManufacturer: DEL\r\nProduct code: D175\r\n"
                           L"Serial number: B4VG4V3\r\nManufactured: week 24 of 2023\r\n"
                           L"EDID: version 1.4, 2 extension blocks\r\n"
                           L"Image size: 60 x 34 cm\r\nNative mode: 2560 x 1440 at 59.951 Hz\r\n"
                           L"Native size: 596 x 335 mm\r\nDiagonal: 26.9 in\r\nPixel density: 109 ppi\r\n"
                           L"One logical inch: 0.88 in on this monitor\r\nRefresh range: 48 - 165 Hz\r\n"
                           L"Current mode: 2560 x 1440 at 59.951 Hz\r\n"
                           L"Note: The monitor accepts up to 143.967 Hz, but the current mode runs at 59.951 Hz; "
                           L"a higher rate can be chosen in the display settings.\r\n"
                           L"Note: The current refresh rate is 59.951 Hz, not exactly 60 Hz: video made for 60 "
                           L"frames per second skips or repeats a frame now and then.\r\n"),
              Report(ValidEdid(), &example));
    const MonitorCurrentMode scaled = { 1920, 1080, 60000, 1001, 144 };
    std::wstring report = Report(ValidEdid(1), &scaled);
    for (const wchar_t* line : { L"EDID: version 1.4, 1 extension block\r\n", L"One logical inch: 1.76 in on this",
                                 L"Current mode: 1920 x 1080 at 59.940 Hz\r\n",
                                 L"Note: The current mode is not the monitor's native 2560 x 1440, "
                                 L"so one-pixel patterns are scaled by the monitor.\r\n" })
        EXPECT_NE(std::wstring::npos, report.find(line)) << line << L" in\n" << report;
    // The range's 165 Hz is no promise at a size that lists no such timing.
    EXPECT_EQ(std::wstring::npos, report.find(L"accepts up to")) << report;
    // No note at the fastest rate, upright or on the monitor's side, or at
    // an unknown one.
    const MonitorCurrentMode quiet[] = { { 2560, 1440, 165, 1, 96 }, { 1440, 2560, 165, 1, 96 },
                                         { 2560, 1440, 0, 0, 96 } };
    for (const MonitorCurrentMode& mode : quiet)
        EXPECT_EQ(std::wstring::npos, Report(ValidEdid(), &mode).find(L"Note:")) << Report(ValidEdid(), &mode);
    wchar_t small[16];
    EXPECT_EQ(-1, FormatMonitorReport(ValidEdid().data(), 384, &example, small, 16));
    EXPECT_EQ(L'\0', small[0]);
}

}  // namespace
