// One frame of the motion test: the background, then the square or circle,
// solid or hollow, at its current place.
#include "motion/motion_state.h"

#include "app/app_state.h"
#include "app/draw.h"

// Every shape, whatever its size, keeps a 10-pixel frame or ring when hollow.
static const int HollowInset = 10;

static void PaintSquare(HDC dc, const RECT& box, COLORREF shape, COLORREF background, bool hollow)
{
    FillSolidRect(dc, &box, shape);
    if (!hollow)
        return;
    RECT hole = box;
    InflateRect(&hole, -HollowInset, -HollowInset);
    FillSolidRect(dc, &hole, background);
}

// Both ellipses keep the context's default pen, a one-pixel black outline.
// The brush is put back on the paint context; the back buffer keeps the last.
static void PaintCircle(HDC dc, const RECT& box, HBRUSH shape, HBRUSH background, bool hollow,
                        bool restoreBrush)
{
    HGDIOBJ previousBrush = SelectObject(dc, shape);
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
    if (hollow) {
        SelectObject(dc, background);
        Ellipse(dc, box.left + HollowInset, box.top + HollowInset, box.right - HollowInset,
                box.bottom - HollowInset);
    }
    if (restoreBrush)
        SelectObject(dc, previousBrush);
}

void PaintMotionFrame(HDC paintDc, HDC backBuffer, int width, int height, LONG x)
{
    LONG size = LoadRelaxed(MotionOptions.shapeSize);
    bool inverted = LoadRelaxed(MotionOptions.invertColors) != 0;
    bool hollow = LoadRelaxed(MotionOptions.hollow) != 0;
    bool offScreen = LoadRelaxed(MotionOptions.preventFlicker) != 0;
    HDC target = offScreen ? backBuffer : paintDc;

    LONG top = (height - size) / 2;
    RECT box = { x, top, x + size, top + size };
    COLORREF background = inverted ? RGB(255, 255, 255) : RGB(0, 0, 0);
    COLORREF shape = inverted ? RGB(0, 0, 0) : RGB(255, 255, 255);
    RECT client = { 0, 0, width, height };
    FillSolidRect(target, &client, background);

    if (LoadRelaxed(MotionOptions.circle) == 0) {
        PaintSquare(target, box, shape, background, hollow);
    } else {
        HBRUSH shapeBrush = inverted ? SharedGdiObjects.blackBrush : SharedGdiObjects.whiteBrush;
        HBRUSH backgroundBrush = inverted ? SharedGdiObjects.whiteBrush : SharedGdiObjects.blackBrush;
        PaintCircle(target, box, shapeBrush, backgroundBrush, hollow, !offScreen);
    }
    if (offScreen)
        BitBlt(paintDc, 0, 0, width, height, backBuffer, 0, 0, SRCCOPY);
}
