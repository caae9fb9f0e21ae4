// The drawing objects that the windows share for the whole run.
#include "app/app_state.h"

SharedGdiObjectSet SharedGdiObjects;

int FontHeightForDpi(int points, int dpiY)
{
    return -MulDiv(points, dpiY, 72);
}

static HFONT CreateSharedFont(int height, int weight, BOOL italic, DWORD pitchAndFamily,
                              const WCHAR* face)
{
    return CreateFontW(height, 0, 0, 0, weight, italic, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       pitchAndFamily, face);
}

void CreateSharedBrushesAndPen()
{
    LOGBRUSH hollow;
    hollow.lbStyle = BS_HOLLOW;
    hollow.lbColor = 0;
    hollow.lbHatch = 0;
    SharedGdiObjects.hollowBrush = CreateBrushIndirect(&hollow);
    SharedGdiObjects.blackBrush = CreateSolidBrush(RGB(0, 0, 0));
    SharedGdiObjects.whiteBrush = CreateSolidBrush(RGB(255, 255, 255));
    SharedGdiObjects.whitePen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
}

void CreateSharedFonts(int dpiY)
{
    SharedGdiObjects.titleFont =
        CreateSharedFont(FontHeightForDpi(16, dpiY), FW_NORMAL, FALSE, 0, L"Tahoma");
    SharedGdiObjects.monoFont =
        CreateSharedFont(FontHeightForDpi(11, dpiY), FW_NORMAL, FALSE, FIXED_PITCH, L"Consolas");
    SharedGdiObjects.labelFont =
        CreateSharedFont(FontHeightForDpi(8, dpiY), FW_BOLD, TRUE, 0, L"Arial");
}

static void DeleteIfMade(HGDIOBJ object)
{
    // A hollow brush may be the stock null brush, which is never deleted.
    if (object != NULL && object != GetStockObject(NULL_BRUSH))
        DeleteObject(object);
}

void DeleteSharedGdiObjects()
{
    DeleteIfMade(SharedGdiObjects.hollowBrush);
    DeleteIfMade(SharedGdiObjects.blackBrush);
    DeleteIfMade(SharedGdiObjects.whiteBrush);
    DeleteIfMade(SharedGdiObjects.whitePen);
    DeleteIfMade(SharedGdiObjects.titleFont);
    DeleteIfMade(SharedGdiObjects.monoFont);
    DeleteIfMade(SharedGdiObjects.labelFont);
    ZeroMemory(&SharedGdiObjects, sizeof(SharedGdiObjects));
}
