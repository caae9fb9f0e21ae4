// Small drawing helpers shared by the windows.
#ifndef PELMIRA_DRAW_H
#define PELMIRA_DRAW_H

#include <windows.h>

// Fills rect (right and bottom edges excluded) with color: SetBkColor and an
// opaque ExtTextOutW without text, which leaves the background colour set.
inline void FillSolidRect(HDC dc, const RECT* rect, COLORREF color)
{
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, rect, NULL, 0, NULL);
}

// Copies rows of width 32-bit pixels, top row first, from memory to dc with
// their top left corner at (left, top): one call, where Wine would fill
// rectangles and paint pattern brushes one call or one pixel at a time.
inline void PutPixelRows(HDC dc, int left, int top, int width, int rows, const DWORD* pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -rows;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, left, top, width, rows, 0, 0, 0, rows, pixels, &info, DIB_RGB_COLORS);
}

#endif
