// "Black Level" and "White Level": twelve labelled checkered blocks of the
// levels 1 to 12 on black, or 254 down to 243 on white.
#include "pattern/painters.h"

#include "app/app_state.h"
#include "app/draw.h"
#include "app/format_text.h"

// A 4 x 4 checkerboard of cells of side s at (x, y) whose top-left cell is
// filled; the cells left out keep the background.
static void PaintCheckerBlock(HDC dc, int x, int y, int s, COLORREF color)
{
    for (int i = 0; i < 4; ++i) {
        int left = x + (i % 2 == 1 ? s : 0);
        for (int c = 0; c < 2; ++c) {
            RECT cell = { left + c * 2 * s, y + i * s, left + c * 2 * s + s, y + (i + 1) * s };
            FillSolidRect(dc, &cell, color);
        }
    }
}

void PaintLevel(HDC dc, int width, int height, bool white)
{
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, SharedGdiObjects.monoFont);
    SetTextColor(dc, white ? RGB(0, 0, 0) : RGB(255, 255, 255));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    RECT client = { 0, 0, width, height };
    FillRect(dc, &client, white ? SharedGdiObjects.whiteBrush : SharedGdiObjects.blackBrush);

    int q = (width < height ? width : height) / 4;
    int s = q / 5;
    int x0 = (width - 20 * s) / 2;
    int y0 = (height - 15 * s) / 2;
    int v = white ? 255 : 0;
    int d = white ? -1 : 1;
    for (int j = 0; j < 3; ++j) {
        for (int k = 0; k < 4; ++k) {
            int x = x0 + k * q;
            int y = y0 + j * q;
            v += d;
            WCHAR label[32];
            int length = FormatText(label, 32, L"%i", v);
            TextOutW(dc, x, y - metrics.tmHeight, label, length);
            PaintCheckerBlock(dc, x, y, s, RGB(v, v, v));
        }
    }
}
