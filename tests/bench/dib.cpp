#include "bench/bench.h"

bool CreateTestDib(TestDib* dib, int width, int height)
{
    ZeroMemory(dib, sizeof(*dib));
    // 32 bits per pixel, top-down.
    BITMAPINFO info = { { sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0 }, {} };
    void* bits = NULL;
    dib->bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (dib->bitmap == NULL)
        return false;
    dib->dc = CreateCompatibleDC(NULL);
    dib->previousBitmap = SelectObject(dib->dc, dib->bitmap);
    dib->bits = static_cast<DWORD*>(bits);
    dib->width = width;
    dib->height = height;
    return true;
}

// On a DIB that could not be made the calls fail harmlessly on null handles.
void DestroyTestDib(TestDib* dib)
{
    SelectObject(dib->dc, dib->previousBitmap);
    DeleteDC(dib->dc);
    DeleteObject(dib->bitmap);
    ZeroMemory(dib, sizeof(*dib));
}

COLORREF DibPixel(const TestDib& dib, int x, int y)
{
    GdiFlush();
    DWORD word = dib.bits[y * dib.width + x];
    return RGB((word >> 16) & 0xFF, (word >> 8) & 0xFF, word & 0xFF);
}

void FillDib(const TestDib& dib, COLORREF color)
{
    GdiFlush();
    DWORD word = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    for (int i = 0; i < dib.width * dib.height; ++i)
        dib.bits[i] = word;
}

int CountDibPixels(const TestDib& dib, const RECT& rect, COLORREF color)
{
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            count += DibPixel(dib, x, y) == color;
    return count;
}
