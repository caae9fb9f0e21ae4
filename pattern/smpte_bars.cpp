// "SMPTE bars": four bands of coloured rectangles in the arrangement of the
// high-definition colour bars, at 8-bit studio levels (black 16, white 235,
// 75 % white 180), scaled to the client size.
#include "pattern/painters.h"

#include "app/draw.h"

namespace {

// The proportions, as single-precision constants (their bit patterns in the
// comments). Each size is a single-precision product, or a product plus an
// earlier size, truncated toward zero: at a width of 800 the side bar is
// then 105 pixels, where exact decimals would give 106.
const float SideBarShare = 0.1325f;     // 0x3E07AE14
const float ColourBarShare = 0.105f;    // 0x3DD70A3D
const float ChipShare = 0.032f;         // 0x3D03126F
const float TopBandShare = 0.58f;       // 0x3F147AE1
const float MiddleBandShare = 0.21f;    // 0x3E570A3D
const float BlackStretchShare = 0.16f;  // 0x3E23D70A
const float WhiteStretchShare = 0.21f;  // 0x3E570A3D
const float SecondBlackShare = 0.1f;    // 0x3DCCCCCD

const COLORREF Grey40 = RGB(104, 104, 104);
const COLORREF White75 = RGB(180, 180, 180);
const COLORREF Black = RGB(16, 16, 16);
const COLORREF Grey15 = RGB(49, 49, 49);

struct SmpteLayout {
    int width;
    int side;      // e: width of the side bars
    int bar;       // d: width of each of the seven colour bars
    int chip;      // s: width of a near-black chip
    int band1End;  // h1
    int band2End;  // h1 + h2
    int band3End;  // h1 + 2 h2
    int height;
    int white;     // x1: start of the white stretch of the bottom band
    int black;     // x2: start of the black after it
    int chips;     // x3: start of the chips
};

int Scaled(int n, float share)
{
    float product = static_cast<float>(n) * share;
    return static_cast<int>(product);
}

int ScaledFrom(int start, int n, float share)
{
    float product = static_cast<float>(n) * share;
    float sum = product + static_cast<float>(start);
    return static_cast<int>(sum);
}

SmpteLayout MeasureSmpteBars(int width, int height)
{
    SmpteLayout layout;
    layout.width = width;
    layout.height = height;
    layout.side = Scaled(width, SideBarShare);
    layout.bar = Scaled(width, ColourBarShare);
    layout.chip = Scaled(width, ChipShare);
    layout.band1End = Scaled(height, TopBandShare);
    int middle = Scaled(height - layout.band1End, MiddleBandShare);
    layout.band2End = layout.band1End + middle;
    layout.band3End = layout.band2End + middle;
    layout.white = ScaledFrom(layout.side, width, BlackStretchShare);
    layout.black = ScaledFrom(layout.white, width, WhiteStretchShare);
    layout.chips = ScaledFrom(layout.black, width, SecondBlackShare);
    return layout;
}

void FillBar(HDC dc, int left, int top, int right, int bottom, COLORREF color)
{
    RECT rect = { left, top, right, bottom };
    FillSolidRect(dc, &rect, color);
}

// The start of colour bar i (0 to 7; 7 is the end of the last one).
int BarStart(const SmpteLayout& l, int i)
{
    return l.side + i * l.bar;
}

void PaintColourBarBand(HDC dc, const SmpteLayout& l)
{
    static const COLORREF bars[7] = {
        White75, RGB(180, 180, 16), RGB(16, 180, 180), RGB(16, 180, 16),
        RGB(180, 16, 180), RGB(180, 16, 16), RGB(16, 16, 180),
    };
    FillBar(dc, 0, 0, l.side, l.band1End, Grey40);
    for (int i = 0; i < 7; ++i)
        FillBar(dc, BarStart(l, i), 0, BarStart(l, i + 1), l.band1End, bars[i]);
    FillBar(dc, BarStart(l, 7), 0, l.width, l.band1End, Grey40);
}

void PaintSecondBand(HDC dc, const SmpteLayout& l)
{
    int top = l.band1End;
    int bottom = l.band2End;
    FillBar(dc, 0, top, l.side, bottom, RGB(16, 235, 235));
    FillBar(dc, l.side, top, BarStart(l, 1), bottom, RGB(0, 33, 76));
    FillBar(dc, BarStart(l, 1), top, BarStart(l, 7), bottom, White75);
    FillBar(dc, BarStart(l, 7), top, l.width, bottom, RGB(16, 16, 235));
}

// The grey of ramp column i of columns, in double precision in this order.
int RampGrey(int i, int columns)
{
    return static_cast<int>(static_cast<double>(i) / static_cast<double>(columns) * 219.0 + 16.0);
}

// Columns from grey 16 up to just below 235 over the six bar widths after
// the first colour bar. Neighbouring columns of one grey are filled
// together: the same pixels as one fill per column, in a fifth of the time
// at a width of 1920.
void PaintGreyRamp(HDC dc, const SmpteLayout& l, int top, int bottom)
{
    int columns = 6 * l.bar;
    int left = BarStart(l, 1);
    for (int start = 0; start < columns;) {
        int grey = RampGrey(start, columns);
        int end = start + 1;
        while (end < columns && RampGrey(end, columns) == grey)
            ++end;
        FillBar(dc, left + start, top, left + end, bottom, RGB(grey, grey, grey));
        start = end;
    }
}

void PaintThirdBand(HDC dc, const SmpteLayout& l)
{
    int top = l.band2End;
    int bottom = l.band3End;
    FillBar(dc, 0, top, l.side, bottom, RGB(235, 235, 16));
    FillBar(dc, l.side, top, BarStart(l, 1), bottom, RGB(50, 0, 106));
    PaintGreyRamp(dc, l, top, bottom);
    FillBar(dc, BarStart(l, 7), top, l.width, bottom, RGB(235, 16, 16));
}

// Black with a white stretch and, for judging the black level, chips 2 %
// below, 2 % above and 4 % above black.
void PaintBottomBand(HDC dc, const SmpteLayout& l)
{
    static const COLORREF chips[5] = {
        RGB(12, 12, 12), Black, RGB(20, 20, 20), Black, RGB(25, 25, 25),
    };
    int top = l.band3End;
    int bottom = l.height;
    FillBar(dc, 0, top, l.side, bottom, Grey15);
    FillBar(dc, l.side, top, l.white, bottom, Black);
    FillBar(dc, l.white, top, l.black, bottom, RGB(235, 235, 235));
    FillBar(dc, l.black, top, l.chips, bottom, Black);
    for (int i = 0; i < 5; ++i)
        FillBar(dc, l.chips + i * l.chip, top, l.chips + (i + 1) * l.chip, bottom, chips[i]);
    FillBar(dc, l.chips + 5 * l.chip, top, BarStart(l, 7), bottom, Black);
    FillBar(dc, BarStart(l, 7), top, l.width, bottom, Grey15);
}

}  // namespace

void PaintSmpteBars(HDC dc, int width, int height)
{
    SmpteLayout layout = MeasureSmpteBars(width, height);
    PaintColourBarBand(dc, layout);
    PaintSecondBand(dc, layout);
    PaintThirdBand(dc, layout);
    PaintBottomBand(dc, layout);
}
