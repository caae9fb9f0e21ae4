// "Moire": one white pixel in every 2 x 2 block, at even x and odd y.
#include "pattern/painters.h"

#include "app/draw.h"

void PaintMoire(HDC dc, int width, int height)
{
    RECT client = { 0, 0, width, height };
    FillSolidRect(dc, &client, RGB(0, 0, 0));
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
