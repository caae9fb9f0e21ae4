// The pattern painters at the worked sizes, pixel by pixel, and at every
// size from nothing to 8K without stale pixels or leaks; the animation of
// "Moire Interference" and its frames composed from one cached ring set.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <set>
#include <string.h>
#include <vector>

#include "app/app_state.h"
#include "bench/bench.h"
#include "pattern/boundary.h"
#include "pattern/painters.h"

namespace {

typedef void (*Painter)(HDC, int, int);
struct PixelCheck {
    int x, y;
    COLORREF color;
};

const COLORREF Stale = RGB(7, 77, 177);  // what an earlier pattern left; in no pattern
const DWORD StaleWord = 0x00074DB1;       // the same in a DIB
const COLORREF Black = RGB(0, 0, 0);
const COLORREF White = RGB(255, 255, 255);

COLORREF Grey(int v) { return RGB(v, v, v); }
void BlackLevel(HDC dc, int w, int h) { PaintLevel(dc, w, h, false); }
void WhiteLevel(HDC dc, int w, int h) { PaintLevel(dc, w, h, true); }
void BoundaryAtNoDpi(HDC dc, int w, int h) { DrawBoundaryPatternAtDpi(dc, w, h, 0, 0); }

// With at most 20 rings: the full set at 8K takes over a minute under Wine.
void MoireInterferenceOnce(HDC dc, int w, int h)
{
    ResetMoireInterference(w, h);
    MoireInterferenceState.maxRadius = std::min(MoireInterferenceState.maxRadius, 300);
    MoireInterferenceState.offset = w / 4;
    PaintMoireInterference(dc, w, h);
    ReleaseMoireInterference();
}

std::set<int> Multiples(int step, int last)
{
    std::set<int> values;
    for (int v = step; v <= last; v += step)
        values.insert(v);
    return values;
}

class PainterTest : public testing::Test {
protected:
    void TearDown() override { DestroyTestDib(&dib); }

    // A fresh DIB of width x height (at least 1 x 1) filled with before.
    void Prepare(int width, int height, COLORREF before = Stale)
    {
        DestroyTestDib(&dib);
        ASSERT_TRUE(CreateTestDib(&dib, std::max(width, 1), std::max(height, 1)));
        FillDib(dib, before);
    }

    void Paint(int width, int height, Painter paint, COLORREF before = Stale)
    {
        Prepare(width, height, before);
        paint(dib.dc, width, height);
    }

    // Metrics of the font that the painter left selected.
    TEXTMETRICW Metrics()
    {
        TEXTMETRICW metrics;
        GetTextMetricsW(dib.dc, &metrics);
        return metrics;
    }

    void ExpectPixels(std::initializer_list<PixelCheck> checks)
    {
        for (const PixelCheck& check : checks)
            EXPECT_EQ(check.color, DibPixel(dib, check.x, check.y)) << "at (" << check.x << ", " << check.y << ")";
    }

    // The whole box of text at (x, y) as TextOutW draws it in color on a
    // plain background: catches another text as well as one moved by a pixel.
    void ExpectText(int x, int y, const WCHAR* text, COLORREF color, COLORREF background,
                    HFONT font = SharedGdiObjects.monoFont)
    {
        TestDib expected;
        ASSERT_TRUE(CreateTestDib(&expected, 400, 60));
        HGDIOBJ oldFont = SelectObject(expected.dc, font);
        SIZE box;
        GetTextExtentPoint32W(expected.dc, text, lstrlenW(text), &box);
        SetTextColor(expected.dc, color);
        SetBkColor(expected.dc, background);
        TextOutW(expected.dc, 0, 0, text, lstrlenW(text));
        SelectObject(expected.dc, oldFont);
        int differing = 0;
        for (int j = 0; j < box.cy; ++j)
            for (int i = 0; i < box.cx; ++i)
                differing += DibPixel(expected, i, j) != DibPixel(dib, x + i, y + j);
        EXPECT_EQ(0, differing) << "pixels of \"" << Narrow(text) << "\" at (" << x << ", " << y << ")";
        DestroyTestDib(&expected);
    }

    // The x of every pixel of color in rows top to bottom - 1 (across: the y
    // of every such pixel in columns top to bottom - 1), edges left out.
    std::set<int> LinesOf(COLORREF color, int top, int bottom, bool across = false)
    {
        std::set<int> found;
        for (int i = 1; i < (across ? dib.height : dib.width) - 1; ++i)
            for (int j = top; j < bottom; ++j)
                if (DibPixel(dib, across ? j : i, across ? i : j) == color)
                    found.insert(i);
        return found;
    }

    TestDib dib = {};
};

TEST_F(PainterTest, RgbSamplesAt1920x1080)
{
    Paint(1920, 1080, PaintRgbSamples);
    ExpectPixels({ { 328, 66, White }, { 329, 67, RGB(255, 0, 0) }, { 395, 100, Black }, { 420, 100, RGB(239, 0, 0) },
                   { 1579, 1001, White }, { 1580, 1001, Black }, { 1579, 1002, Black },
                   { 1578, 1000, RGB(15, 15, 15) }, { 1578, 200, RGB(15, 0, 16) } });
}

TEST_F(PainterTest, MoireLightsEvenColumnsOfOddRowsAtEverySize)
{
    const SIZE sizes[] = { { 2, 2 }, { 3, 5 }, { 640, 480 }, { 1920, 1080 } };
    for (const SIZE& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.cx << "x" << size.cy);
        Paint(size.cx, size.cy, PaintMoire);
        ExpectPixels({ { 0, 1, White }, { 0, 0, Black }, { 1, 0, Black }, { 1, 1, Black } });
        RECT all = { 0, 0, size.cx, size.cy };
        EXPECT_EQ((size.cx + 1) / 2 * (size.cy / 2), CountDibPixels(dib, all, White));
    }
}

TEST_F(PainterTest, LevelBlocks)
{
    Paint(1920, 1080, BlackLevel);
    ExpectPixels({ { 420, 135, Grey(1) }, { 474, 135, Black }, { 420, 189, Black }, { 474, 189, Grey(1) },
                   { 635, 350, Grey(1) }, { 636, 350, Black }, { 690, 135, Grey(2) }, { 1230, 675, Grey(12) },
                   { 1445, 890, Grey(12) }, { 1446, 890, Black }, { 1445, 891, Black } });
    int th = Metrics().tmHeight;
    ExpectText(420, 135 - th, L"1", White, Black);
    ExpectText(1230, 675 - th, L"12", White, Black);

    Paint(1280, 1024, WhiteLevel);
    ExpectPixels({ { 130, 129, Grey(254) }, { 181, 129, White }, { 386, 129, Grey(253) }, { 898, 641, Grey(243) },
                   { 1101, 844, Grey(243) }, { 1102, 844, White } });
    ExpectText(130, 129 - th, L"254", Black, White);
    ExpectText(898, 641 - th, L"243", Black, White);
}

TEST_F(PainterTest, ContrastColumnsAndGreysAt1920x1080)
{
    // The grey of p percent at greys[p / 5], and each grey column's left
    // edge, top step and direction.
    const int greys[20] = { 0, 12, 25, 38, 51, 63, 76, 89, 102, 114, 127, 140, 153, 165, 178, 191, 204, 216, 229, 242 };
    const int columns[4][3] = { { 0, 30, 5 }, { 320, 5, 5 }, { 1280, 95, -5 }, { 1600, 70, -5 } };
    Paint(1920, 1080, PaintContrast);
    for (const auto& column : columns) {
        for (int k = 0; k < 5; ++k) {
            SCOPED_TRACE(testing::Message() << "column at " << column[0] << ", cell " << k);
            int x = column[0] + 300, percent = column[1] + k * column[2];
            ExpectPixels({ { x, k * 216, column[2] > 0 ? Black : White }, { x, k * 216 + 100, Grey(greys[percent / 5]) } });
        }
    }
    ExpectPixels({ { 600, 1079, Grey(63) }, { 900, 1079, Black }, { 1200, 1079, White }, { 1919, 1079, Grey(127) } });
    ExpectText(325, 5, L"5%", White, Grey(12));
    ExpectText(645, 5, L"0%", White, Black);
    ExpectText(965, 5, L"100%", Black, White);
    ExpectText(1605, 869, L"50%", Black, Grey(127));
}

// The columns leave out the rightmost W mod 6 columns and, where cells are
// less high than their spacing, bands between and below them: black, not
// what the previous pattern left there.
TEST_F(PainterTest, ContrastPaintsBlackWhatItsColumnsLeaveOut)
{
    Paint(1366, 768, PaintContrast, White);
    RECT right = { 1362, 0, 1366, 768 };
    EXPECT_EQ(4 * 768, CountDibPixels(dib, right, Black));
    ExpectPixels({ { 1361, 700, Grey(127) }, { 1100, 700, Grey(191) }, { 800, 700, White } });

    Paint(600, 1000, PaintContrast, White);  // w = 100, r = 200
    ExpectPixels({ { 50, 50, Grey(76) }, { 50, 150, Black }, { 150, 199, Black }, { 150, 201, Grey(25) },
                   { 450, 150, Black }, { 550, 950, Black }, { 250, 950, Black }, { 350, 950, White } });
}

TEST_F(PainterTest, GammaBarsStripesAndRamps)
{
    Paint(1920, 1080, PaintGamma);
    int th = Metrics().tmHeight, cw = Metrics().tmAveCharWidth;
    // Bars: r = 25, top0 = 216, bottom0 = 968; the lines stick out 4 pixels.
    ExpectPixels({ { 5, 1075, Grey(25) }, { 1720, 216, White }, { 1725, 220, Grey(203) }, { 1725, 470, Grey(181) },
                   { 1725, 950, Black }, { 1716, 229, Black }, { 1717, 229, White }, { 1788, 229, Black },
                   { 1745, 217, Black }, { 1745, 218, White }, { 1742, 218, Grey(203) }, { 1761, 966, White },
                   { 1762, 966, Black }, { 1920 - 4 * cw - 233, 216 - th - 33, White } });
    ExpectText(1793, 217 + (25 - th) / 2, L"203", White, Black);

    int T = 216 - th - 33, gx0 = 4 * cw + 50, cellW = (1920 - 8 * cw - 295) / 256, g = (968 - T - 2) / 30;
    auto level = [&](int row, int i) { return GetRValue(DibPixel(dib, gx0 + 1 + i * cellW, T + 1 + row * g)); };
    // Rows 3.00 (first), 1.00 (v = i) and 0.10 (last) at cells i.
    const int cells[][3] = { { 0, 0, 0 }, { 0, 1, 40 }, { 0, 2, 51 }, { 0, 3, 58 }, { 0, 4, 64 }, { 0, 5, 69 },
                             { 0, 253, 254 }, { 0, 254, 255 }, { 0, 255, 255 }, { 29, 0, 0 }, { 29, 128, 0 },
                             { 29, 250, 209 }, { 29, 251, 218 }, { 29, 252, 227 }, { 29, 253, 236 },
                             { 29, 254, 245 }, { 29, 255, 255 } };
    for (const auto& cell : cells)
        EXPECT_EQ(cell[2], level(cell[0], cell[1])) << "row " << cell[0] << ", cell " << cell[1];
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(i, level(20, i)) << "row 1.00, cell " << i;
    ExpectText(43, T + 1 + (g - th) / 2, L"3.00", White, Grey(25));
    ExpectText(gx0 + 256 * cellW + 2 - 3 * cw, T + 30 * g + 10, L"255", White, Grey(25));

    // Too narrow for cells: the ramp frame does not turn leftward over the
    // space between the bar table (up to 12cw - 72) and the labels.
    Paint(8 * cw + 30, 1080, PaintGamma);
    EXPECT_EQ(Grey(25), DibPixel(dib, (12 * cw - 72 + 43) / 2, T));
}

TEST_F(PainterTest, BoundaryAtSeveralSizesAndDpi)
{
    struct Case {
        int w, h, dpi;
        int lastTick;         // of the ruler
        const WCHAR* length;  // of the diagonal (the disc's lines cross it at 1024 x 768)
        POINT lengthAt;
        const WCHAR* angle;
        POINT angleAt, onDiagonal;
        bool disc;
    } cases[] = {
        { 1920, 1080, 96, 1728, L"22.83\"", { 1668, 938 }, L"29.36\u00B0", { 1752, 985 }, { 320, 180 }, true },
        { 640, 480, 96, 480, L"7.81\"", { 409, 307 }, L"36.87\u00B0", { 486, 364 }, { 80, 60 }, false },
        { 1024, 768, 96, 864, NULL, {}, L"36.87\u00B0", { 870, 652 }, { 80, 60 }, true },
        { 1920, 1080, 144, 1728, L"14.76\"", { 1543, 868 }, L"29.36\u00B0", { 1668, 938 }, { 240, 135 }, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " at " << c.dpi << " dpi");
        int w = c.w, h = c.h, dpi = c.dpi;
        Prepare(w, h);
        DrawBoundaryPatternAtDpi(dib.dc, w, h, dpi, dpi);
        ExpectPixels({ { 0, 0, White }, { w - 1, 0, White }, { 0, h - 1, White }, { w - 1, h - 1, White },
                       { w / 2, 0, White }, { w - 1, h / 3, White }, { c.onDiagonal.x, c.onDiagonal.y, RGB(64, 64, 187) },
                       { dpi + 1, dpi, White }, { c.lastTick + dpi - 1, dpi, White } });
        EXPECT_NE(White, DibPixel(dib, c.lastTick + dpi, dpi));
        EXPECT_EQ(Multiples(dpi, w - 1), LinesOf(RGB(64, 64, 64), 1, dpi - 30));
        EXPECT_EQ(Multiples(dpi, h - 1), LinesOf(RGB(64, 64, 64), 1, dpi, true));
        EXPECT_EQ(Multiples(dpi, c.lastTick), LinesOf(White, dpi - 2, dpi));
        ExpectText(dpi, dpi - 30, L"Inches", White, Black);
        ExpectText(dpi + 2, dpi + 2, L"0", White, Black);
        WCHAR pixels[32];
        wsprintfW(pixels, L"%d pixels", dpi);
        ExpectText(dpi + 2, 3 * dpi + 2, pixels, White, Black);
        if (c.length != NULL)
            ExpectText(c.lengthAt.x, c.lengthAt.y, c.length, RGB(64, 168, 215), Black);
        ExpectText(c.angleAt.x, c.angleAt.y, c.angle, RGB(215, 168, 64), Black);
        EXPECT_EQ(c.disc, DibPixel(dib, w / 2 - 1, h / 2 - 2 * dpi) == White);
    }
}

// Down the column left of the centre: the 60 and 58 mm discs white, the 25,
// 23 and 7.5 mm circles outlined on black; across the middle row the 60 mm box.
TEST_F(PainterTest, BoundaryDiscAt1920x1080)
{
    Paint(1920, 1080, DrawBoundaryPattern);
    ExpectPixels({ { 959, 312, Black }, { 959, 313, White }, { 959, 445, White }, { 959, 446, Black },
                   { 959, 453, White }, { 959, 454, Black }, { 959, 511, White }, { 959, 512, Black },
                   { 959, 567, White }, { 959, 568, Black }, { 959, 766, White }, { 959, 767, Black },
                   { 732, 540, Black }, { 733, 540, White }, { 1186, 540, White }, { 1187, 540, Black } });
    for (int y : { 313, 766 }) {
        RECT pastDisc = { 1190, y, 1262, y + 1 }, pastEnd = { 1262, y, 1300, y + 1 };
        EXPECT_LT(0, CountDibPixels(dib, pastDisc, White)) << "tangent at " << y;
        EXPECT_EQ(0, CountDibPixels(dib, pastEnd, White)) << "tangent at " << y;
    }
    ExpectText(1242, 530, L"120mm", White, Black);
    ExpectText(733, 313 - 2 * Metrics().tmHeight, L"Mesures of a CD/DVD", White, Black, SharedGdiObjects.titleFont);
}

// From nothing to 8K, and with no dots per inch: nothing crashes, nothing
// leaks, and no pixel keeps what an earlier pattern left.
TEST_F(PainterTest, EveryPainterCoversEverySizeWithoutLeaks)
{
    const Painter painters[] = { PaintContrast, PaintRgbSamples, PaintMoire, BlackLevel, WhiteLevel,
                                 PaintGamma, DrawBoundaryPattern, BoundaryAtNoDpi, MoireInterferenceOnce };
    const SIZE sizes[] = { { 0, 0 }, { 1, 1 }, { 0, 600 }, { 1, 1000 }, { 5, 7 }, { 101, 101 },
                           { 600, 1000 }, { 1366, 768 }, { 7680, 4320 } };
    for (const SIZE& size : sizes) {
        for (size_t i = 0; i < sizeof(painters) / sizeof(painters[0]); ++i) {
            SCOPED_TRACE(testing::Message() << "painter " << i << " at " << size.cx << "x" << size.cy);
            Prepare(size.cx, size.cy);
            ObjectCounts before = CurrentObjectCounts();
            painters[i](dib.dc, size.cx, size.cy);
            EXPECT_TRUE(SameCounts(before, CurrentObjectCounts())) << DescribeCounts(CurrentObjectCounts());
            GdiFlush();  // counted here at once: CountDibPixels flushes per pixel
            long stale = std::count(dib.bits, dib.bits + dib.width * dib.height, StaleWord);
            EXPECT_EQ(0, size.cx * size.cy > 0 ? stale : 0);
        }
    }
}

// Both ring sets drawn with their Ellipse calls, left then right for each
// radius, on black: the frame as the slow way paints it.
void PaintBothSetsDirectly(HDC dc, int width, int height)
{
    const MoireInterferenceStateRecord& state = MoireInterferenceState;
    RECT all = { 0, 0, width, height };
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HPEN pen = CreatePen(PS_SOLID, 5, RGB(255, 255, 255));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    int cx = width / 2, cy = height / 2;
    for (int n = state.maxRadius; n > 0; n -= 15) {
        Ellipse(dc, cx - state.offset - n, cy - n, cx - state.offset + n, cy + n);
        Ellipse(dc, cx + state.offset - n, cy - n, cx + state.offset + n, cy + n);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

TEST(MoireInterference, TurnsAtBothEndsAndStaysBounded)
{
    ResetMoireInterference(1920, 1080);
    EXPECT_EQ(490, MoireInterferenceState.maxRadius);
    for (int tick = 0; tick < 163; ++tick)
        StepMoireInterference();
    EXPECT_EQ(489, MoireInterferenceState.offset);
    EXPECT_EQ(3, MoireInterferenceState.step);
    StepMoireInterference();
    EXPECT_EQ(492, MoireInterferenceState.offset);
    EXPECT_EQ(-3, MoireInterferenceState.step);

    for (int size : { 1080, 101 }) {
        SCOPED_TRACE(testing::Message() << "1920x" << size);
        ResetMoireInterference(1920, size);
        int bound = MoireInterferenceState.maxRadius > 0 ? MoireInterferenceState.maxRadius : 0;
        int lowest = 0, highest = 0;
        for (int tick = 0; tick < 10000; ++tick) {
            StepMoireInterference();
            lowest = std::min(lowest, MoireInterferenceState.offset);
            highest = std::max(highest, MoireInterferenceState.offset);
        }
        EXPECT_LE(-bound - 3, lowest);
        EXPECT_GE(bound + 3, highest);
        EXPECT_TRUE(bound == 0 || lowest < -bound) << "the sets part as far on the other side";
    }
}

// The frame composed from the cached ring set equals both sets drawn
// directly, pixel for pixel, with the sets apart, crossed, partly and wholly
// off the screen; the cache is made once and freed with the window. At
// 1920 x 1080 the concentric sets have 33 rings each.
TEST(MoireInterference, ComposedFramesEqualBothSetsDrawn)
{
    struct Case {
        int width, height;
        std::vector<int> offsets;
    } cases[] = {
        { 640, 480, { 0, 7, -3, 230, -290 } },
        { 333, 251, { 1, 76, -76, 1000, -40 } },
        { 1366, 768, { 0, 200, -334 } },
        { 1920, 1080, { 0, -500 } },
    };
    ObjectCounts before = CurrentObjectCounts();
    for (const Case& c : cases) {
        TestDib composed, direct;
        ASSERT_TRUE(CreateTestDib(&composed, c.width, c.height));
        ASSERT_TRUE(CreateTestDib(&direct, c.width, c.height));
        ResetMoireInterference(c.width, c.height);
        ObjectCounts cached = before;
        for (size_t i = 0; i < c.offsets.size(); ++i) {
            SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << ", offset " << c.offsets[i]);
            MoireInterferenceState.offset = c.offsets[i];
            PaintMoireInterference(composed.dc, c.width, c.height);
            PaintBothSetsDirectly(direct.dc, c.width, c.height);
            GdiFlush();
            EXPECT_EQ(0, memcmp(composed.bits, direct.bits, 4 * c.width * c.height)) << "the frames differ";
            int rings = 0;  // 33 at 1920 x 1080: radius 490, 475, ... 10
            for (int x = c.width / 2 + 1; x < c.width; ++x)
                rings += DibPixel(composed, x, c.height / 2) != DibPixel(composed, x - 1, c.height / 2);
            EXPECT_TRUE(c.width != 1920 || c.offsets[i] != 0 || rings == 2 * 33) << rings << " edges";
            if (i == 0)
                cached = CurrentObjectCounts();
            EXPECT_TRUE(SameCounts(cached, CurrentObjectCounts())) << DescribeCounts(CurrentObjectCounts());
        }
        ReleaseMoireInterference();
        DestroyTestDib(&composed);
        DestroyTestDib(&direct);
        EXPECT_TRUE(SameCounts(before, CurrentObjectCounts())) << DescribeCounts(CurrentObjectCounts());
    }
}

}  // namespace
