// The pattern painters at the worked sizes, pixel by pixel (the bands of
// "SMPTE bars" row by row), and at every size from nothing to 8K without
// stale pixels or leaks; the animation of "Moire Interference" and its
// rings against the Ellipse strokes they stand for.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "bench/bench.h"
#include "pattern/boundary.h"
#include "pattern/painters.h"

namespace {

typedef void (*Painter)(HDC, int, int);
struct PixelCheck { int x, y; COLORREF color; };

const COLORREF Stale = RGB(7, 77, 177);  // what an earlier pattern left; in no pattern
const DWORD StaleWord = 0x00074DB1;       // the same in a DIB
const COLORREF Black = RGB(0, 0, 0);
const COLORREF White = RGB(255, 255, 255);

COLORREF Grey(int v) { return RGB(v, v, v); }
void BlackLevel(HDC dc, int w, int h) { PaintLevel(dc, w, h, false); }
void WhiteLevel(HDC dc, int w, int h) { PaintLevel(dc, w, h, true); }
void BoundaryAtNoDpi(HDC dc, int w, int h) { DrawBoundaryPatternAtDpi(dc, w, h, 0, 0); }
// The first frame of "Moire Interference" in a window of w x h.
void InterferenceFromStart(HDC dc, int w, int h)
{
    ResetMoireInterference(w, h);
    PaintMoireInterference(dc, w, h);
    ReleaseMoireInterference();
}
// "Moire" as when there is no memory for its strip.
void MoireWithoutMemory(HDC dc, int w, int h)
{
    PelmiraPainterMalloc = [](size_t) -> void* { return NULL; };
    PaintMoire(dc, w, h);
    PelmiraPainterMalloc = malloc;
}

class PainterTest : public testing::Test {
protected:
    // Every Paint replaces the DIB, so the object counts stay level.
    void SetUp() override { ASSERT_TRUE(CreateTestDib(&dib, 1, 1)); }
    void TearDown() override { DestroyTestDib(&dib); }

    // Paints into a fresh DIB of width x height (at least 1 x 1) that holds
    // what an earlier pattern left; font: the metrics of the font that the
    // painter left selected.
    void Paint(int width, int height, Painter paint)
    {
        DestroyTestDib(&dib);
        ASSERT_TRUE(CreateTestDib(&dib, std::max(width, 1), std::max(height, 1)));
        FillDib(dib, Stale);
        paint(dib.dc, width, height);
        GetTextMetricsW(dib.dc, &font);
    }

    void ExpectPixels(const std::vector<PixelCheck>& checks)
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

    // Lines of color cross rows top to bottom - 1 (across: columns) at step,
    // 2 step, ... up to last, and nowhere else but at the edges.
    void ExpectLines(COLORREF color, int step, int last, int top, int bottom, bool across = false)
    {
        std::set<int> expected, found;
        for (int v = step; v <= last; v += step)
            expected.insert(v);
        for (int i = 1; i < (across ? dib.height : dib.width) - 1; ++i)
            for (int j = top; j < bottom; ++j)
                if (DibPixel(dib, across ? j : i, across ? i : j) == color)
                    found.insert(i);
        EXPECT_EQ(expected, found) << (across ? "rows" : "columns") << " of " << std::hex << color;
    }

    TestDib dib = {};
    TEXTMETRICW font = {};
};

// Decisive pixels at the worked sizes: the squares of "RGB samples" (the
// outlines of the first and the last, a gap, and the last colours of the
// rows of RGB(255,0,128) and of white); the phase of "Moire" at several
// sizes; the checkered blocks of both levels, and the label of the last
// standing on its top edge; what the columns of "Contrast" leave out, black
// and not what an earlier pattern left, next to the cells they paint; and
// the boxes of the disc of "Boundary", down the column left of its centre
// and across its middle row, and the ends of its dotted tangent lines.
TEST_F(PainterTest, WorkedExamplesAtThePixel)
{
    const struct {
        Painter paint;
        int w, h;
        std::vector<PixelCheck> pixels;
        const WCHAR* label = NULL;  // whose bottom left corner is at foot, in ink on paper
        POINT foot = {};
        COLORREF ink = 0, paper = 0;
    } cases[] = {
        { PaintRgbSamples, 1920, 1080,
          { { 328, 66, White }, { 329, 67, RGB(255, 0, 0) }, { 395, 100, Black }, { 1579, 1001, White },
            { 1580, 1001, Black }, { 1579, 1002, Black }, { 1578, 1000, Grey(15) }, { 1578, 200, RGB(15, 0, 16) } } },
        { PaintMoire, 3, 5, { { 0, 1, White }, { 0, 0, Black }, { 1, 1, Black }, { 2, 3, White }, { 2, 4, Black } } },
        { PaintMoire, 640, 480, { { 0, 1, White }, { 1, 0, Black }, { 638, 479, White }, { 639, 479, Black } } },
        { MoireWithoutMemory, 5, 3, { { 0, 1, White }, { 1, 1, Black }, { 0, 2, Black }, { 4, 1, White } } },
        { BlackLevel, 1920, 1080,
          { { 420, 135, Grey(1) }, { 474, 135, Black }, { 420, 189, Black }, { 474, 189, Grey(1) }, { 635, 350, Grey(1) },
            { 636, 350, Black }, { 690, 135, Grey(2) }, { 1445, 890, Grey(12) }, { 1446, 890, Black },
            { 1445, 891, Black } }, L"12", { 1230, 675 }, White, Black },
        { WhiteLevel, 1280, 1024,
          { { 130, 129, Grey(254) }, { 181, 129, White }, { 386, 129, Grey(253) }, { 1101, 844, Grey(243) },
            { 1102, 844, White } }, L"243", { 898, 641 }, Black, White },
        { PaintContrast, 1366, 768,
          { { 1362, 0, Black }, { 1365, 767, Black }, { 1361, 700, Grey(127) }, { 1100, 700, Grey(191) },
            { 800, 700, White } } },
        { PaintContrast, 600, 1000,  // w = 100, r = 200
          { { 50, 50, Grey(76) }, { 50, 150, Black }, { 150, 199, Black }, { 150, 201, Grey(25) }, { 450, 150, Black },
            { 550, 950, Black }, { 250, 950, Black }, { 350, 950, White } } },
        { DrawBoundaryPattern, 1920, 1080,
          { { 959, 312, Black }, { 959, 313, White }, { 959, 445, White }, { 959, 446, Black }, { 959, 453, White },
            { 959, 454, Black }, { 959, 511, White }, { 959, 512, Black }, { 959, 567, White }, { 959, 568, Black },
            { 959, 766, White }, { 959, 767, Black }, { 732, 540, Black }, { 733, 540, White }, { 1186, 540, White },
            { 1187, 540, Black }, { 1261, 313, White }, { 1262, 313, Black }, { 1261, 766, White },
            { 1262, 766, Black } } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "painter " << &c - cases << " at " << c.w << "x" << c.h);
        Paint(c.w, c.h, c.paint);
        ExpectPixels(c.pixels);
        if (c.label != NULL)
            ExpectText(c.foot.x, c.foot.y - font.tmHeight, c.label, c.ink, c.paper);
    }
}

const COLORREF Ramp = CLR_INVALID;

// A band's row from its bars, each (left edge, colour) and reaching to the
// next one's left edge or to the width, later bars over earlier ones; a bar
// of colour Ramp holds the grey ramp from 16 up to just below 235.
std::vector<COLORREF> BandRow(int width, std::vector<std::pair<int, COLORREF>> bars)
{
    std::vector<COLORREF> row(width);
    bars.push_back({ width, Ramp });
    for (size_t i = 0; i + 1 < bars.size(); ++i)
        for (int x = bars[i].first, from = x, to = bars[i + 1].first; x < to; ++x)
            row[x] = bars[i].second != Ramp ? bars[i].second : Grey(16 + (x - from) * 219 / (to - from));
    return row;
}

// "SMPTE bars": every pixel of the first and the last row of each band at
// the worked sizes, the narrowest and the largest. x1 to x3 of 1280 x 720
// and the last two rows were worked out in single precision. That every
// pixel is painted at every size the sweep below shows.
TEST_F(PainterTest, SmpteBarsRampAndChipsSitAtTheirPixels)
{
    const struct { int w, h, e, d, s, h1, h2, x1, x2, x3; } cases[] = {
        { 1920, 1080, 254, 201, 61, 626, 95, 561, 964, 1156 }, { 800, 600, 105, 84, 25, 348, 52, 233, 401, 481 },
        { 1280, 720, 169, 134, 40, 417, 63, 373, 641, 769 },   { 9, 50, 1, 0, 0, 29, 4, 2, 3, 3 },
        { 7680, 4320, 1017, 806, 245, 2505, 381, 2245, 3857, 4625 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
        Paint(c.w, c.h, PaintSmpteBars);
        const int e = c.e, d = c.d, s = c.s, x3 = c.x3, end = c.e + 7 * c.d, w = c.w;
        const COLORREF grey = Grey(104), black = Grey(16), low = Grey(49);
        const std::vector<COLORREF> rows[4] = {
            BandRow(w, { { 0, grey }, { e, Grey(180) }, { e + d, RGB(180, 180, 16) }, { e + 2 * d, RGB(16, 180, 180) },
                         { e + 3 * d, RGB(16, 180, 16) }, { e + 4 * d, RGB(180, 16, 180) },
                         { e + 5 * d, RGB(180, 16, 16) }, { e + 6 * d, RGB(16, 16, 180) }, { end, grey } }),
            BandRow(w, { { 0, RGB(16, 235, 235) }, { e, RGB(0, 33, 76) }, { e + d, Grey(180) },
                         { end, RGB(16, 16, 235) } }),
            BandRow(w, { { 0, RGB(235, 235, 16) }, { e, RGB(50, 0, 106) }, { e + d, Ramp }, { end, RGB(235, 16, 16) } }),
            BandRow(w, { { 0, low }, { e, black }, { c.x1, Grey(235) }, { c.x2, black }, { x3, Grey(12) },
                         { x3 + s, black }, { x3 + 2 * s, Grey(20) }, { x3 + 3 * s, black }, { x3 + 4 * s, Grey(25) },
                         { x3 + 5 * s, black }, { end, low } }),
        };
        const int tops[5] = { 0, c.h1, c.h1 + c.h2, c.h1 + 2 * c.h2, c.h };
        for (int band = 0; band < 4; ++band)
            for (int y : { tops[band], tops[band + 1] - 1 })
                for (int x = 0; x < w && tops[band] < tops[band + 1]; ++x)
                    ASSERT_EQ(rows[band][x], DibPixel(dib, x, y)) << "band " << band + 1 << " at " << x << ", " << y;
    }
}

// Each grey column's left edge, top step and direction, and its lines; the
// grey of p percent is p x 255 / 100 for every step.
TEST_F(PainterTest, ContrastColumnsAndGreysAt1920x1080)
{
    const int columns[4][3] = { { 0, 30, 5 }, { 320, 5, 5 }, { 1280, 95, -5 }, { 1600, 70, -5 } };
    Paint(1920, 1080, PaintContrast);
    for (const auto& column : columns)
        for (int k = 0, p = column[1]; k < 5; ++k, p += column[2])
            ExpectPixels({ { column[0] + 300, k * 216, column[2] > 0 ? Black : White },
                           { column[0] + 300, k * 216 + 100, Grey(p * 255 / 100) } });
    ExpectPixels({ { 600, 1079, Grey(63) }, { 900, 1079, Black }, { 1200, 1079, White }, { 1919, 1079, Grey(127) } });
    ExpectText(325, 5, L"5%", White, Grey(12));
    ExpectText(645, 5, L"0%", White, Black);
    ExpectText(965, 5, L"100%", Black, White);
    ExpectText(1605, 869, L"50%", Black, Grey(127));
}

TEST_F(PainterTest, GammaBarsStripesAndRamps)
{
    Paint(1920, 1080, PaintGamma);
    int th = font.tmHeight, cw = font.tmAveCharWidth;
    // Bars: r = 25, top0 = 216, bottom0 = 968; the lines stick out 4 pixels.
    ExpectPixels({ { 5, 1075, Grey(25) }, { 1720, 216, White }, { 1720, 220, White }, { 1725, 220, Grey(203) },
                   { 1725, 470, Grey(181) }, { 1725, 950, Black }, { 1716, 229, Black }, { 1717, 229, White },
                   { 1788, 229, Black }, { 1745, 217, Black }, { 1745, 218, White }, { 1742, 218, Grey(203) },
                   { 1761, 966, White }, { 1762, 966, Black }, { 1920 - 4 * cw - 233, 216 - th - 33, White } });
    ExpectText(1793, 217 + (25 - th) / 2, L"203", White, Black);

    int T = 216 - th - 33, gx0 = 4 * cw + 50, cellW = (1920 - 8 * cw - 295) / 256, g = (968 - T - 2) / 30;
    auto level = [&](int row, int i) { return GetRValue(DibPixel(dib, gx0 + 1 + i * cellW, T + 1 + row * g)); };
    // The first six cells of row 3.00 (the first) and the last six of row
    // 0.10 (the last); row 1.00 has v = i.
    const int first[6] = { 0, 40, 51, 58, 64, 69 }, last[6] = { 209, 218, 227, 236, 245, 255 };
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(first[i], level(0, i)) << "row 3.00, cell " << i;
        EXPECT_EQ(last[i], level(29, 250 + i)) << "row 0.10, cell " << 250 + i;
    }
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(i, level(20, i)) << "row 1.00, cell " << i;
    for (int y = T + 1; y < T + 1 + 30 * g; ++y)  // every pixel row of a ramp as its first
        for (int x = gx0 + 1; x <= gx0 + 256 * cellW; ++x)
            ASSERT_EQ(DibPixel(dib, x, y - (y - T - 1) % g), DibPixel(dib, x, y)) << "at (" << x << ", " << y << ")";
    ExpectText(43, T + 1 + (g - th) / 2, L"3.00", White, Grey(25));
    ExpectText(gx0 + 256 * cellW + 2 - 3 * cw, T + 30 * g + 10, L"255", White, Grey(25));

    // Too narrow for cells: the ramp frame does not turn leftward over the
    // space between the bar table (up to 12cw - 72) and the labels.
    Paint(8 * cw + 30, 1080, PaintGamma);
    EXPECT_EQ(Grey(25), DibPixel(dib, (12 * cw - 72 + 43) / 2, T));
}

// Per size and dots per inch: the frame, the diagonal, the ruler's ends and
// the last of its ticks, the grid, the labels, the diagonal's length (where
// the disc's lines do not cross it) and angle, the disc or none, and the
// right angle's arc of one and a half inches.
TEST_F(PainterTest, BoundaryAtSeveralSizesAndDpi)
{
    const struct {
        int w, h, dpi, lastTick;
        const WCHAR *length, *angle;
        POINT lengthAt, angleAt, onDiagonal;
        bool disc;
    } cases[] = {
        { 640, 480, 96, 480, L"7.81\"", L"36.87\u00B0", { 409, 307 }, { 486, 364 }, { 80, 60 }, false },
        { 1024, 768, 96, 864, NULL, L"36.87\u00B0", {}, { 870, 652 }, { 80, 60 }, true },
        { 1920, 1080, 144, 1728, L"14.76\"", L"29.36\u00B0", { 1543, 868 }, { 1668, 938 }, { 240, 135 }, true },
        { 1920, 1080, 96, 1728, L"22.83\"", L"29.36\u00B0", { 1668, 938 }, { 1752, 985 }, { 320, 180 }, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " at " << c.dpi << " dpi");
        int w = c.w, h = c.h, dpi = c.dpi;
        DestroyTestDib(&dib);
        ASSERT_TRUE(CreateTestDib(&dib, w, h));
        DrawBoundaryPatternAtDpi(dib.dc, w, h, dpi, dpi);
        ExpectPixels({ { 0, 0, White }, { w - 1, 0, White }, { 0, h - 1, White }, { w - 1, h - 1, White },
                       { w / 2, 0, White }, { w - 1, h / 3, White }, { c.onDiagonal.x, c.onDiagonal.y, RGB(64, 64, 187) },
                       { dpi + 1, dpi, White }, { c.lastTick + dpi - 1, dpi, White } });
        EXPECT_NE(White, DibPixel(dib, c.lastTick + dpi, dpi));
        ExpectLines(RGB(64, 64, 64), dpi, w - 1, 1, dpi - 30);
        ExpectLines(RGB(64, 64, 64), dpi, h - 1, 1, dpi, true);
        ExpectLines(White, dpi, c.lastTick, dpi - 2, dpi);
        ExpectText(dpi, dpi - 30, L"Inches", White, Black);
        ExpectText(dpi + 2, dpi + 2, L"0", White, Black);
        ExpectText(dpi + 2, 3 * dpi + 2, (std::to_wstring(dpi) + L" pixels").c_str(), White, Black);
        if (c.length != NULL)
            ExpectText(c.lengthAt.x, c.lengthAt.y, c.length, RGB(64, 168, 215), Black);
        ExpectText(c.angleAt.x, c.angleAt.y, c.angle, RGB(215, 168, 64), Black);
        EXPECT_EQ(c.disc, DibPixel(dib, w / 2 - 1, h / 2 - 2 * dpi) == White);
        int ax = dpi * 13 / 10, ay = h - dpi * 3 / 4;  // 30 degrees up the right angle's arc
        EXPECT_LT(0, CountDibPixels(dib, { ax - 6, ay - 4, ax + 6, ay + 4 }, White)) << "no arc at " << ax << ", " << ay;
    }
    // The disc's labels at 1920 x 1080 and 96 dpi, the last case; its
    // caption, in the title font that the painter left selected, over it.
    ExpectText(1242, 530, L"120mm", White, Black);
    GetTextMetricsW(dib.dc, &font);
    ExpectText(733, 313 - 2 * font.tmHeight, L"Mesures of a CD/DVD", White, Black, SharedGdiObjects.titleFont);
}

// From nothing to 8K, and with no dots per inch: nothing crashes, nothing
// leaks, and no pixel keeps what an earlier pattern left.
TEST_F(PainterTest, EveryPainterCoversEverySizeWithoutLeaks)
{
    const Painter painters[] = { PaintSmpteBars, PaintContrast, PaintRgbSamples, PaintMoire, BlackLevel, WhiteLevel,
                                 PaintGamma, DrawBoundaryPattern, BoundaryAtNoDpi, InterferenceFromStart };
    const SIZE sizes[] = { { 0, 0 }, { 1, 1 }, { 0, 600 }, { 1, 1000 }, { 5, 7 }, { 101, 101 },
                           { 600, 1000 }, { 1366, 768 }, { 7680, 4320 } };
    for (const SIZE& size : sizes) {
        for (const Painter& painter : painters) {
            SCOPED_TRACE(testing::Message() << "painter " << &painter - painters << " at " << size.cx << "x" << size.cy);
            ObjectCounts before = CurrentObjectCounts();
            Paint(size.cx, size.cy, painter);
            EXPECT_EQ(DescribeCounts(before), DescribeCounts(CurrentObjectCounts()));
            GdiFlush();  // counted here at once: CountDibPixels flushes per pixel
            EXPECT_EQ(0, size.cx * size.cy > 0 ? std::count(dib.bits, dib.bits + dib.width * dib.height, StaleWord) : 0);
        }
    }
}

// The sets part until the offset passes the radius (490 at 1920 x 1080: from
// 489 to 492 at the 164th tick), turn, and part as far on the other side,
// staying within the radius give or take a step however long they run.
// Without rings (min(W, H) of 101 or less) the offset stays within a step.
TEST(MoireInterference, TurnsAtBothEndsAndStaysBounded)
{
    const MoireInterferenceStateRecord& state = MoireInterferenceState;
    for (int size : { 1080, 101 }) {
        SCOPED_TRACE(testing::Message() << "1920x" << size);
        ResetMoireInterference(1920, size);
        EXPECT_EQ(size == 1080 ? 490 : 0, state.maxRadius);
        int firstTurn = 0, lowest = 0, highest = 0;
        for (int tick = 1; tick <= 10000; ++tick) {
            StepMoireInterference();
            firstTurn = firstTurn == 0 && state.step < 0 ? tick : firstTurn;
            lowest = std::min(lowest, state.offset);
            highest = std::max(highest, state.offset);
        }
        EXPECT_EQ(size == 1080 ? 164 : 1, firstTurn);
        EXPECT_EQ(size == 1080 ? 492 : 3, highest);
        EXPECT_EQ(-highest, lowest);
    }
}

// The ring set round (cx + StrokedSide x offset, cy), stroked with its
// Ellipse calls on black: the way the sets were first drawn.
int StrokedSide;
void StrokeOneSet(HDC dc, int width, int height)
{
    const MoireInterferenceStateRecord& state = MoireInterferenceState;
    PatBlt(dc, 0, 0, width, height, BLACKNESS);
    HPEN pen = CreatePen(PS_SOLID, 5, White);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    for (int n = state.maxRadius, cx = width / 2 + StrokedSide * state.offset, cy = height / 2; n > 0; n -= 15)
        Ellipse(dc, cx - n, cy - n, cx + n, cy + n);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

// Whether pixel i of a top-down picture of width x height is white.
bool IsWhite(const std::vector<DWORD>& picture, int i) { return picture[i] == 0x00FFFFFF; }

// Whether pixel (x, y) of the picture has white and black among its eight
// neighbours.
bool OnEdge(const std::vector<DWORD>& picture, int width, int height, int x, int y)
{
    bool white = false, black = false;
    for (int j = y - 1; j <= y + 1; ++j)
        for (int i = x - 1; i <= x + 1; ++i)
            if ((i != x || j != y) && i >= 0 && j >= 0 && i < width && j < height)
                (IsWhite(picture, j * width + i) ? white : black) = true;
    return white && black;
}

// The frames against the two sets stroked with the Ellipse calls: rings 5
// pixels wide on every 15th radius. GDI implementations stroke wide pens
// differently at the edges, so a pixel may differ from the strokes only
// where a set's stroked picture has white and black round it. Concentric,
// crossed, apart, partly and wholly off the screen, and without rings on the
// smallest screens; what the set and the frame take is freed with the window.
TEST_F(PainterTest, MoireInterferenceRingsLieOnTheStrokedRings)
{
    const struct { int width, height; std::vector<int> offsets; } cases[] = {
        { 640, 480, { 0, 7, -290 } }, { 333, 251, { 1, -76, 1000 } }, { 101, 101, { 0 } } };
    ReleaseMoireInterference();
    size_t heap = CrtHeapBytesInUse();
    for (const auto& c : cases) {
        ResetMoireInterference(c.width, c.height);
        for (int offset : c.offsets) {
            SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << ", offset " << offset);
            MoireInterferenceState.offset = offset;
            std::vector<DWORD> sets[2];
            for (int side : { 0, 1 }) {
                StrokedSide = 2 * side - 1;
                Paint(c.width, c.height, StrokeOneSet);
                GdiFlush();
                sets[side].assign(dib.bits, dib.bits + c.width * c.height);
            }
            Paint(c.width, c.height, PaintMoireInterference);
            GdiFlush();
            const std::vector<DWORD> frame(dib.bits, dib.bits + c.width * c.height);
            int white = 0, astray = 0;
            for (int y = 0, i = 0; y < c.height; ++y)
                for (int x = 0; x < c.width; ++x, ++i) {
                    white += IsWhite(frame, i);
                    astray += IsWhite(frame, i) != (IsWhite(sets[0], i) || IsWhite(sets[1], i)) &&
                              !OnEdge(sets[0], c.width, c.height, x, y) && !OnEdge(sets[1], c.width, c.height, x, y);
                }
            EXPECT_EQ(0, astray) << "pixels off the rings' edges, of " << white << " white";
            // Across the middle row, concentric: the outer ring's 5 pixels,
            // from 3 inside its radius to 1 outside.
            const int x = c.width / 2 + MoireInterferenceState.maxRadius, y = c.height / 2;
            if (offset == 0 && MoireInterferenceState.maxRadius > 0)
                ExpectPixels({ { x - 4, y, Black }, { x - 3, y, White }, { x + 1, y, White }, { x + 2, y, Black } });
        }
    }
    ReleaseMoireInterference();
    EXPECT_EQ(heap, CrtHeapBytesInUse());
}

}  // namespace
