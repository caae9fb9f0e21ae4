// "Moire": one white pixel in every 2 x 2 block, at even x and odd y.
#include "pattern/painters.h"

#include <stdlib.h>

#include "app/draw.h"

// Rows of the dot grid put on the screen per call. Wine paints a pattern
// brush pixel by pixel; a strip of the grid copied down the screen takes a
// sixth of the time.
static const int StripRows = 64;

// The 2 x 2 pattern brush: the way the grid is defined, and the way it is
// painted when there is no memory for a strip.
static void PaintMoireWithBrush(HDC dc, int width, int height)
{
    RECT client = { 0, 0, width, height };
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, RGB(255, 255, 255));
    // Word-aligned rows, top first; the one 0 bit, at (0, 1), takes the text
    // colour and the 1 bits the background colour.
    static const BYTE Bits[4] = { 0xFF, 0xFF, 0x7F, 0x7F };
    HBITMAP bitmap = CreateBitmap(2, 2, 1, 1, Bits);
    if (bitmap == NULL) {
        TextOutW(dc, width / 2, height / 2, L"ERROR", 5);
        return;
    }
    HBRUSH brush = CreatePatternBrush(bitmap);
    if (brush != NULL) {
        FillRect(dc, &client, brush);
        DeleteObject(brush);
    }
    DeleteObject(bitmap);
}

// StripRows rows of the grid, width pixels each, top row first: the strip
// starts at an even row of the screen.
static void FillMoireStrip(DWORD* strip, int width)
{
    for (int y = 0; y < StripRows; ++y)
        for (int x = 0; x < width; ++x)
            strip[y * width + x] = y % 2 == 1 && x % 2 == 0 ? 0x00FFFFFF : 0;
}

// The strips cover the client area; the brush goes over a black fill.
void PaintMoire(HDC dc, int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    DWORD* strip = static_cast<DWORD*>(PelmiraPainterMalloc(static_cast<size_t>(width) * StripRows * sizeof(DWORD)));
    if (strip == NULL) {
        RECT client = { 0, 0, width, height };
        FillSolidRect(dc, &client, RGB(0, 0, 0));
        PaintMoireWithBrush(dc, width, height);
        return;
    }
    FillMoireStrip(strip, width);
    for (int top = 0; top < height; top += StripRows)
        PutPixelRows(dc, 0, top, width, height - top < StripRows ? height - top : StripRows, strip);
    free(strip);
}
