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

#endif
