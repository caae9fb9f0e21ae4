// "SMPTE bars" painted into DIB sections: every rectangle edge at the worked
// sizes, the grey ramp, and every pixel covered.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "bench/bench.h"
#include "pattern/painters.h"

namespace {

const COLORREF Unpainted = RGB(1, 2, 3);
const COLORREF Ramp = CLR_INVALID;

struct SmpteCase {
    int width, height;
    int e, d, s, h1, h2, x1, x2, x3;
};

struct Bar {
    int from, to;
    COLORREF color;
};

// The row of a band as the bars lay it out, later bars over earlier ones.
std::vector<COLORREF> ExpectedRow(int width, const std::vector<Bar>& bars, int rampStart, int rampColumns)
{
    std::vector<COLORREF> row(width, Unpainted);
    for (const Bar& bar : bars)
        for (int x = bar.from; x < bar.to && bar.color != Ramp; ++x)
            row[x] = bar.color;
    for (int i = 0; i < rampColumns; ++i) {
        BYTE grey = static_cast<BYTE>(16 + i * 219 / rampColumns);
        row[rampStart + i] = RGB(grey, grey, grey);
    }
    return row;
}

std::vector<std::vector<Bar>> ExpectedBands(const SmpteCase& c)
{
    int e = c.e, d = c.d, s = c.s, end = c.e + 7 * c.d, w = c.width;
    const COLORREF black = RGB(16, 16, 16);
    std::vector<Bar> top = { { 0, e, RGB(104, 104, 104) } };
    const COLORREF bars[7] = { RGB(180, 180, 180), RGB(180, 180, 16), RGB(16, 180, 180), RGB(16, 180, 16),
                               RGB(180, 16, 180), RGB(180, 16, 16), RGB(16, 16, 180) };
    for (int i = 0; i < 7; ++i)
        top.push_back({ e + i * d, e + (i + 1) * d, bars[i] });
    top.push_back({ end, w, RGB(104, 104, 104) });
    return {
        top,
        { { 0, e, RGB(16, 235, 235) }, { e, e + d, RGB(0, 33, 76) }, { e + d, end, RGB(180, 180, 180) },
          { end, w, RGB(16, 16, 235) } },
        { { 0, e, RGB(235, 235, 16) }, { e, e + d, RGB(50, 0, 106) }, { e + d, end, Ramp },
          { end, w, RGB(235, 16, 16) } },
        { { 0, e, RGB(49, 49, 49) }, { e, c.x1, black }, { c.x1, c.x2, RGB(235, 235, 235) },
          { c.x2, c.x3, black }, { c.x3, c.x3 + s, RGB(12, 12, 12) }, { c.x3 + s, c.x3 + 2 * s, black },
          { c.x3 + 2 * s, c.x3 + 3 * s, RGB(20, 20, 20) }, { c.x3 + 3 * s, c.x3 + 4 * s, black },
          { c.x3 + 4 * s, c.x3 + 5 * s, RGB(25, 25, 25) }, { c.x3 + 5 * s, end, black },
          { end, w, RGB(49, 49, 49) } },
    };
}

// The worked sizes, and the smallest and largest clients; x1 to x3 of
// 1280 x 720 and the last three rows were worked out in single precision.
TEST(SmpteBarsTest, BarsRampAndChipsSitAtTheirPixels)
{
    const SmpteCase cases[] = {
        { 1920, 1080, 254, 201, 61, 626, 95, 561, 964, 1156 },
        { 800, 600, 105, 84, 25, 348, 52, 233, 401, 481 },
        { 1280, 720, 169, 134, 40, 417, 63, 373, 641, 769 },
        { 9, 50, 1, 0, 0, 29, 4, 2, 3, 3 },
        { 1, 1, 0, 0, 0, 0, 0, 0, 0, 0 },
        { 7680, 4320, 1017, 806, 245, 2505, 381, 2245, 3857, 4625 },
    };
    for (const SmpteCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        TestDib dib;
        ASSERT_TRUE(CreateTestDib(&dib, c.width, c.height));
        FillDib(dib, Unpainted);
        PaintSmpteBars(dib.dc, c.width, c.height);
        RECT all = { 0, 0, c.width, c.height };
        EXPECT_EQ(0, CountDibPixels(dib, all, Unpainted)) << "pixels left unpainted";

        const int bandTops[5] = { 0, c.h1, c.h1 + c.h2, c.h1 + 2 * c.h2, c.height };
        std::vector<std::vector<Bar>> bands = ExpectedBands(c);
        for (int band = 0; band < 4; ++band) {
            if (bandTops[band] == bandTops[band + 1])
                continue;
            std::vector<COLORREF> row = ExpectedRow(c.width, bands[band], c.e + c.d, band == 2 ? 6 * c.d : 0);
            for (int y : { bandTops[band], bandTops[band + 1] - 1 })
                for (int x = 0; x < c.width; ++x)
                    ASSERT_EQ(row[x], DibPixel(dib, x, y)) << "band " << band + 1 << " at (" << x << ", " << y << ")";
        }
        DestroyTestDib(&dib);
    }
}

}  // namespace
