// Benchmark of the EDID decoder and the monitor report: an EDID of the
// largest size, a base block and 255 extension blocks (32 KB), every one
// full: CTA-861 blocks of video codes, HDR, HDMI and AMD blocks and detailed
// timings, and DisplayID blocks of timings and codes. Prints the median
// microseconds to decode it and to write its report, and how many distinct
// modes it lists. tools/bench.sh runs it.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <vector>

#include "edid/edid.h"
#include "edid/monitor_report.h"

namespace {

const int Repeats = 51;

double NowMicroseconds()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000000.0 / static_cast<double>(frequency.QuadPart);
}

// An 18-byte detailed timing of width x 1080 at a clock that varies with n.
void PutTiming(unsigned char* d, int n)
{
    int clock = 14850 + 37 * n, width = 1280 + 8 * (n % 200);
    const unsigned char rest[18] = { 0, 0, 0, 0x18, 0, 0x38, 0x2D, 0x40, 0x58, 0x2C, 0x45, 0, 0x54, 0x4F, 0x21, 0, 0, 0x1E };
    memcpy(d, rest, 18);
    d[0] = static_cast<unsigned char>(clock), d[1] = static_cast<unsigned char>(clock >> 8);
    d[2] = static_cast<unsigned char>(width), d[4] = static_cast<unsigned char>((width >> 8) << 4 | 1);
}

void FixChecksum(unsigned char* block)
{
    unsigned sum = 0;
    for (int i = 0; i < 127; ++i)
        sum += block[i];
    block[127] = static_cast<unsigned char>(-static_cast<int>(sum));
}

std::vector<unsigned char> LargestEdid()
{
    std::vector<unsigned char> edid(256 * 128);
    const unsigned char start[] = { 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0x10, 0xAC, 0x75, 0xD1, 1, 0, 0, 0,
                                    24, 33, 1, 4, 0xB5, 60, 34, 0x78, 0x3A, 0xE7, 0x25, 0xA8, 0x54, 0x49, 0xA1,
                                    0x25, 0x0E, 0x50, 0x54, 0xFF, 0xFF, 0x80 };
    memcpy(edid.data(), start, sizeof start);
    for (int i = 0; i < 8; ++i)
        edid[38 + 2 * i] = static_cast<unsigned char>(0x31 + 16 * i), edid[39 + 2 * i] = static_cast<unsigned char>(i);
    for (int slot = 0; slot < 4; ++slot)
        PutTiming(&edid[54 + 18 * slot], slot);
    edid[126] = 255;
    FixChecksum(edid.data());
    for (int number = 1; number < 256; ++number) {
        unsigned char* block = &edid[128 * number];
        if (number % 2 == 1) {
            // Three video data blocks of 30 codes, HDR, AMD; then timings.
            block[0] = 2, block[1] = 3;
            int at = 4;
            for (int vdb = 0; vdb < 3; ++vdb) {
                block[at++] = 0x40 | 30;
                for (int i = 0; i < 30; ++i)
                    block[at++] = static_cast<unsigned char>(1 + (number + 30 * vdb + i) % 219);
            }
            const unsigned char more[] = { 0xE6, 6, 0x0D, 1, 99, 99, 57, 0x67, 0x1A, 0, 0, 2, 1, 48, 165 };
            memcpy(block + at, more, sizeof more);
            at += sizeof more;
            block[2] = static_cast<unsigned char>(at);
            for (int n = 0; at + 18 < 127; at += 18, ++n)
                PutTiming(block + at, 6 * number + n);
        } else {
            // Five type I timings and eight DMT codes.
            const unsigned char head[] = { 0x70, 0x12, 0x72, 0, 0, 0x03, 0, 100 };
            memcpy(block, head, sizeof head);
            for (int t = 0; t < 5; ++t) {
                unsigned char* timing = block + 8 + 20 * t;
                int clock = 64499 - number * 5 - t, width = 2559 - 8 * t;
                const unsigned char fields[17] = { 0, 0x04, 0xFF, 0x09, 0x4F, 0, 0x07, 0x80, 0x1F, 0, 0x9F, 0x05, 0x27, 0, 0x05, 0, 0x07 };
                timing[0] = static_cast<unsigned char>(clock), timing[1] = static_cast<unsigned char>(clock >> 8);
                memcpy(timing + 2, fields, 17);
                timing[4] = static_cast<unsigned char>(width), timing[5] = static_cast<unsigned char>(width >> 8);
            }
            const unsigned char codes[] = { 0x06, 0, 8, 4, 9, 0x10, 0x23, 0x33, 0x3A, 0x45, 0x52 };
            memcpy(block + 108, codes, sizeof codes);
            unsigned sum = 0;
            for (int i = 1; i < 119; ++i)
                sum += block[i];
            block[119] = static_cast<unsigned char>(-static_cast<int>(sum));
        }
        FixChecksum(block);
    }
    return edid;
}

template <typename Work>
double MedianMicroseconds(Work work)
{
    std::vector<double> times;
    for (int i = 0; i < Repeats; ++i) {
        double start = NowMicroseconds();
        work();
        times.push_back(NowMicroseconds() - start);
    }
    std::sort(times.begin(), times.end());
    return times[Repeats / 2];
}

}  // namespace

int main()
{
    printf("%s build\n", sizeof(void*) == 8 ? "64-bit (x86_64)" : "32-bit (i686)");
    std::vector<unsigned char> edid = LargestEdid();
    static EdidFacts facts;
    static wchar_t report[96 * 1024];
    double decode = MedianMicroseconds([&] { DecodeEdid(edid.data(), edid.size(), &facts); });
    double format = MedianMicroseconds([&] { FormatMonitorReport(edid.data(), edid.size(), NULL, report, 96 * 1024); });
    printf("EDID of %d bytes (%d blocks), %d distinct modes listed%s\n", static_cast<int>(edid.size()),
           facts.blocksRead, facts.modeCount, facts.badBlockCount > 0 ? " (a checksum is wrong!)" : "");
    printf("decoding: %.0f us, the whole report: %.0f us (medians of %d)\n", decode, format, Repeats);
    return 0;
}
