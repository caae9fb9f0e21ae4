// "SMPTE bars" painted into DIB sections: every pixel of the first and the
// last row of each band at the worked sizes, the narrowest and the largest.
// That every pixel is painted at every size the painters' sweep shows.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>
#include <vector>

#include "bench/bench.h"
#include "pattern/painters.h"

namespace {

const COLORREF Ramp = CLR_INVALID;

// A band's row from its bars, each (left edge, colour) and reaching to the
// next one's left edge or to the width, later bars over earlier ones; a bar
// of colour Ramp holds the grey ramp from 16 up to just below 235.
std::vector<COLORREF> BandRow(int width, std::vector<std::pair<int, COLORREF>> bars)
{
    std::vector<COLORREF> row(width);
    bars.push_back({ width, Ramp });
    for (size_t i = 0; i + 1 < bars.size(); ++i)
        for (int x = bars[i].first, from = x, to = bars[i + 1].first; x < to; ++x) {
            BYTE grey = static_cast<BYTE>(16 + (x - from) * 219 / (to - from));
            row[x] = bars[i].second != Ramp ? bars[i].second : RGB(grey, grey, grey);
        }
    return row;
}

// x1 to x3 of 1280 x 720 and the last two rows were worked out in single
// precision.
TEST(SmpteBarsTest, BarsRampAndChipsSitAtTheirPixels)
{
    const struct { int w, h, e, d, s, h1, h2, x1, x2, x3; } cases[] = {
        { 1920, 1080, 254, 201, 61, 626, 95, 561, 964, 1156 }, { 800, 600, 105, 84, 25, 348, 52, 233, 401, 481 },
        { 1280, 720, 169, 134, 40, 417, 63, 373, 641, 769 },   { 9, 50, 1, 0, 0, 29, 4, 2, 3, 3 },
        { 7680, 4320, 1017, 806, 245, 2505, 381, 2245, 3857, 4625 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        TestDib dib;
        ASSERT_TRUE(CreateTestDib(&dib, c.w, c.h));
        PaintSmpteBars(dib.dc, c.w, c.h);
        const int e = c.e, d = c.d, s = c.s, x3 = c.x3, end = c.e + 7 * c.d, w = c.w;
        const COLORREF grey = RGB(104, 104, 104), black = RGB(16, 16, 16), low = RGB(49, 49, 49);
        const std::vector<COLORREF> rows[4] = {
            BandRow(w, { { 0, grey }, { e, RGB(180, 180, 180) }, { e + d, RGB(180, 180, 16) },
                         { e + 2 * d, RGB(16, 180, 180) }, { e + 3 * d, RGB(16, 180, 16) }, { e + 4 * d, RGB(180, 16, 180) },
                         { e + 5 * d, RGB(180, 16, 16) }, { e + 6 * d, RGB(16, 16, 180) }, { end, grey } }),
            BandRow(w, { { 0, RGB(16, 235, 235) }, { e, RGB(0, 33, 76) }, { e + d, RGB(180, 180, 180) },
                         { end, RGB(16, 16, 235) } }),
            BandRow(w, { { 0, RGB(235, 235, 16) }, { e, RGB(50, 0, 106) }, { e + d, Ramp }, { end, RGB(235, 16, 16) } }),
            BandRow(w, { { 0, low }, { e, black }, { c.x1, RGB(235, 235, 235) }, { c.x2, black }, { x3, RGB(12, 12, 12) },
                         { x3 + s, black }, { x3 + 2 * s, RGB(20, 20, 20) }, { x3 + 3 * s, black },
                         { x3 + 4 * s, RGB(25, 25, 25) }, { x3 + 5 * s, black }, { end, low } }),
        };
        const int tops[5] = { 0, c.h1, c.h1 + c.h2, c.h1 + 2 * c.h2, c.h };
        for (int band = 0; band < 4; ++band)
            for (int y : { tops[band], tops[band + 1] - 1 })
                for (int x = 0; x < w && tops[band] < tops[band + 1]; ++x)
                    ASSERT_EQ(rows[band][x], DibPixel(dib, x, y)) << "band " << band + 1 << " at " << x << ", " << y;
        DestroyTestDib(&dib);
    }
}

}  // namespace
