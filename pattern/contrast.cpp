// "Contrast": six columns of grey steps labelled with their percentage of
// full brightness, black and white in the middle.
#include "pattern/painters.h"

#include "app/app_state.h"
#include "app/draw.h"
#include "app/format_text.h"
#include "pattern/pattern_text.h"

static COLORREF ContrastGrey(int percent)
{
    int v = static_cast<int>(static_cast<float>(percent) * 2.55f);
    return RGB(v, v, v);
}

// The columns leave pixels out: the W mod 6 columns at the right, and in the
// four grey columns the bands below each cell down to the next one (or to
// the bottom) where cells are less high than their spacing. The window never
// erases, so these are made black first, or the previous pattern would show.
static void FillContrastGaps(HDC dc, int width, int height, int w, int r)
{
    RECT right = { 6 * w, 0, width, height };
    FillSolidRect(dc, &right, RGB(0, 0, 0));
    for (int k = 0; k < 5; ++k) {
        int top = k * r + w;
        int bottom = k < 4 ? (k + 1) * r : height;
        if (top >= bottom)
            continue;
        RECT dark = { 0, top, 2 * w, bottom };
        RECT light = { 4 * w, top, 6 * w, bottom };
        FillSolidRect(dc, &dark, RGB(0, 0, 0));
        FillSolidRect(dc, &light, RGB(0, 0, 0));
    }
}

// One column of five cells, percent stepping by delta from the top down; each
// cell has a one-pixel line of lineBrush along its top edge and its label.
static int PaintContrastColumn(HDC dc, int x, int w, int r, int percent, int delta,
                               HBRUSH lineBrush)
{
    for (int k = 0; k < 5; ++k, percent += delta) {
        int y = k * r;
        RECT cell = { x, y, x + w, y + w };
        FillSolidRect(dc, &cell, ContrastGrey(percent));
        RECT line = { x, y, x + w, y + 1 };
        FillRect(dc, &line, lineBrush);
        WCHAR label[32];
        int length = FormatText(label, 32, L"%i%%", percent);
        TextOutW(dc, x + 5, y + 5, label, length);
    }
    return percent;
}

static void PaintFullColumn(HDC dc, int x, int w, int height, COLORREF color,
                            COLORREF textColor, const WCHAR* label)
{
    RECT column = { x, 0, x + w, height };
    FillSolidRect(dc, &column, color);
    SetTextColor(dc, textColor);
    DrawLabel(dc, x + 5, 5, label);
}

void PaintContrast(HDC dc, int width, int height)
{
    int w = width / 6;
    int r = height / 5;
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, SharedGdiObjects.monoFont);
    FillContrastGaps(dc, width, height, w, r);

    SetTextColor(dc, RGB(255, 255, 255));
    int percent = PaintContrastColumn(dc, w, w, r, 5, 5, SharedGdiObjects.blackBrush);
    PaintContrastColumn(dc, 0, w, r, percent, 5, SharedGdiObjects.blackBrush);
    SetTextColor(dc, RGB(0, 0, 0));
    percent = PaintContrastColumn(dc, 4 * w, w, r, 95, -5, SharedGdiObjects.whiteBrush);
    PaintContrastColumn(dc, 5 * w, w, r, percent, -5, SharedGdiObjects.whiteBrush);

    PaintFullColumn(dc, 2 * w, w, height, RGB(0, 0, 0), RGB(255, 255, 255), L"0%");
    PaintFullColumn(dc, 3 * w, w, height, RGB(255, 255, 255), RGB(0, 0, 0), L"100%");
}
