// Text output shared by the pattern painters.
#ifndef PELMIRA_PATTERN_TEXT_H
#define PELMIRA_PATTERN_TEXT_H

#include <windows.h>

// TextOutW of a whole terminated text, its top left at (x, y).
inline void DrawLabel(HDC dc, int x, int y, const WCHAR* text)
{
    TextOutW(dc, x, y, text, lstrlenW(text));
}

#endif
