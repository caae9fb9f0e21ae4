// "Gamma": on the left a ladder of 30 grey ramps bent by the gamma values
// 3.00 down to 0.10; on the right the bar of mid grey for each value, crossed
// by stripes of alternating white and black rows that average half brightness.
#include "pattern/painters.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "app/app_state.h"
#include "app/draw.h"
#include "app/format_text.h"
#include "pattern/pattern_text.h"

struct GammaBar {
    double gamma;
    int level;
};

// The ramps and the bars: one per gamma value from 3.00 down to 0.10.
static const int GammaRows = 30;

// Ascending; drawn from the last entry, so 3.0 is at the top.
static const GammaBar GammaBars[GammaRows] = {
    { 0.1, 0 },   { 0.2, 8 },   { 0.3, 26 },  { 0.4, 46 },  { 0.5, 64 },
    { 0.6, 81 },  { 0.7, 95 },  { 0.8, 108 }, { 0.9, 119 }, { 1.0, 128 },
    { 1.1, 136 }, { 1.2, 144 }, { 1.3, 150 }, { 1.4, 156 }, { 1.5, 161 },
    { 1.6, 166 }, { 1.7, 170 }, { 1.8, 174 }, { 1.9, 177 }, { 2.0, 181 },
    { 2.1, 184 }, { 2.2, 186 }, { 2.3, 189 }, { 2.4, 191 }, { 2.5, 194 },
    { 2.6, 196 }, { 2.7, 198 }, { 2.8, 199 }, { 2.9, 201 }, { 3.0, 203 },
};

struct GammaLayout {
    int th, cw;
    int r;          // height of one bar
    int top0, bottom0;
    int T;          // top of both frames
    int gx0;        // left of the ramp frame
    int cellW;      // width of one ramp cell
    int g;          // height of one ramp
    int gRight, gBottom;
};

static GammaLayout ComputeGammaLayout(int width, int height, const TEXTMETRICW& metrics)
{
    GammaLayout l;
    l.th = metrics.tmHeight;
    l.cw = metrics.tmAveCharWidth;
    l.r = static_cast<int>(round(static_cast<float>(height) * 0.7f / 30.0f));
    l.top0 = height / 5;
    l.bottom0 = l.top0 + 30 * l.r + 2;
    l.T = l.top0 - l.th - 33;
    l.gx0 = 4 * l.cw + 50;
    // Below zero the ramp frame would turn leftward from gx0, over the labels:
    // the narrowest screens get an empty frame instead.
    l.cellW = ((width - 4 * l.cw - 233) - l.gx0 - 12) / 256;
    if (l.cellW < 0)
        l.cellW = 0;
    l.g = (l.bottom0 - l.T - 2) / 30;
    l.gRight = l.gx0 + 256 * l.cellW + 2;
    l.gBottom = l.T + 30 * l.g + 2;
    return l;
}

static void DrawGammaValue(HDC dc, int x, int y, double gamma)
{
    WCHAR text[128];
    TextOutW(dc, x, y, text, FormatText(text, 128, L"%.2f", gamma));
}

// Two white rows over two black ones: even device rows white, odd rows black.
static HBITMAP CreateStripeBitmap()
{
    static const DWORD Pixels[4] = { 0x00FFFFFF, 0x00FFFFFF, 0, 0 };
    return CreateBitmap(2, 2, 1, 32, Pixels);
}

static void PaintGammaBars(HDC dc, int width, const GammaLayout& l, HBRUSH stripes)
{
    SelectObject(dc, SharedGdiObjects.blackBrush);
    Rectangle(dc, width - 4 * l.cw - 233, l.T, width + 4 * l.cw - 102, l.bottom0);
    DrawLabel(dc, width - 4 * l.cw - 208, l.top0 - l.th - 8, L"Gamma");
    DrawLabel(dc, width - 127, l.top0 - l.th - 8, L"Gray");
    Rectangle(dc, width - 200, l.top0, width - 135, l.bottom0);
    for (int k = 0; k < 30; ++k) {
        const GammaBar& bar = GammaBars[29 - k];
        int rowTop = l.top0 + 1 + k * l.r;
        MoveToEx(dc, width - 203, rowTop + l.r / 2, NULL);
        LineTo(dc, width - 132, rowTop + l.r / 2);
        HBRUSH brush = CreateSolidBrush(RGB(bar.level, bar.level, bar.level));
        RECT fill = { width - 199, rowTop, width - 136, rowTop + l.r };
        FillRect(dc, &fill, brush);
        DeleteObject(brush);
        int y = rowTop + (l.r - l.th) / 2;
        DrawGammaValue(dc, width - 4 * l.cw - 208, y, bar.gamma);
        WCHAR level[128];
        TextOutW(dc, width - 127, y, level, FormatText(level, 128, L"%d", bar.level));
    }
    for (int j = 0; j < 3; ++j) {
        RECT stripe = { width - 177 + 7 * j, l.top0 + 1, width - 172 + 7 * j, l.bottom0 - 1 };
        FillRect(dc, &stripe, stripes);
    }
}

// The level of cell i (0 to 255) of the ramp bent by gamma.
static int RampLevel(int i, double gamma)
{
    double quotient = static_cast<float>(i) / 255.0f;
    return static_cast<int>(round(pow(quotient, 1.0 / gamma) * 255.0)) & 0xFF;
}

// The ramps' levels, row k's at [k][i], depend on the gamma values alone: a
// paint would spend a millisecond on their 7,680 powers, so they are worked
// out once.
static const BYTE (*RampLevels())[256]
{
    static BYTE levels[GammaRows][256];
    static bool ready = false;
    if (!ready) {
        double gamma = 3.0;
        for (int k = 0; k < GammaRows; ++k, gamma -= static_cast<double>(0.1f))
            for (int i = 0; i < 256; ++i)
                levels[k][i] = static_cast<BYTE>(RampLevel(i, gamma));
        ready = true;
    }
    return levels;
}

// One ramp's cells as height rows of pixels, cellW wide each, to be put on
// the screen in one call: 256 fills per ramp took Wine 40 ms for the ladder.
static void FillRampRows(DWORD* rows, int height, int cellW, const BYTE* levels)
{
    int width = 256 * cellW;
    for (int i = 0; i < 256; ++i) {
        DWORD v = levels[i];
        DWORD pixel = v << 16 | v << 8 | v;
        for (int x = 0; x < cellW; ++x)
            rows[i * cellW + x] = pixel;
    }
    for (int y = 1; y < height; ++y)
        memcpy(rows + y * width, rows, width * sizeof(DWORD));
}

// Without memory for the rows, the cells are filled one by one.
static void FillRampCells(HDC dc, int left, int top, int height, int cellW, const BYTE* levels)
{
    for (int i = 0; i < 256; ++i) {
        int v = levels[i];
        RECT cell = { left + i * cellW, top, left + (i + 1) * cellW, top + height };
        FillSolidRect(dc, &cell, RGB(v, v, v));
    }
}

static void PaintGammaRamps(HDC dc, const GammaLayout& l)
{
    SelectObject(dc, SharedGdiObjects.hollowBrush);
    Rectangle(dc, l.gx0, l.T, l.gRight, l.gBottom);
    int rowWidth = 256 * l.cellW;
    size_t pixels = static_cast<size_t>(rowWidth) * (l.g > 0 ? l.g : 0);
    DWORD* rows = pixels > 0 ? static_cast<DWORD*>(PelmiraPainterMalloc(pixels * sizeof(DWORD))) : NULL;
    const BYTE (*levels)[256] = RampLevels();
    double gamma = 3.0;
    for (int k = 0; gamma > 0 && k < GammaRows; ++k) {
        int rowTop = l.T + 1 + k * l.g;
        DrawGammaValue(dc, 43, rowTop + (l.g - l.th) / 2, gamma);
        if (rows != NULL) {
            FillRampRows(rows, l.g, l.cellW, levels[k]);
            PutPixelRows(dc, l.gx0 + 1, rowTop, rowWidth, l.g, rows);
        } else if (pixels > 0) {
            FillRampCells(dc, l.gx0 + 1, rowTop, l.g, l.cellW, levels[k]);
        }
        gamma -= static_cast<double>(0.1f);
    }
    free(rows);
    DrawLabel(dc, 43, l.T - l.th - 8, L"Gamma");
    DrawLabel(dc, 43, l.gBottom + 8, L"Gray");
    DrawLabel(dc, l.gx0, l.gBottom + 8, L"0");
    DrawLabel(dc, l.gRight - 3 * l.cw, l.gBottom + 8, L"255");
}

void PaintGamma(HDC dc, int width, int height)
{
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    SelectObject(dc, SharedGdiObjects.whitePen);
    SelectObject(dc, SharedGdiObjects.monoFont);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    GammaLayout layout = ComputeGammaLayout(width, height, metrics);
    HBITMAP stripeBitmap = CreateStripeBitmap();
    HBRUSH stripes = CreatePatternBrush(stripeBitmap);
    RECT client = { 0, 0, width, height };
    FillSolidRect(dc, &client, RGB(25, 25, 25));
    PaintGammaBars(dc, width, layout, stripes);
    PaintGammaRamps(dc, layout);
    DeleteObject(stripes);
    DeleteObject(stripeBitmap);
}
