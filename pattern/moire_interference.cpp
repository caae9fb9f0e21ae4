// "Moire Interference": two sets of concentric white rings that slide apart
// and through each other.
//
// A ring set is 5-pixel white Ellipse strokes, which Wine strokes through
// paths at about 10 ms a ring: drawn afresh every frame, both sets would take
// far longer than the 80 ms tick. One set depends only on maxRadius, so it is
// drawn once per window into a bitmap, and every frame is composed from it:
// black, then the set OR-ed in at both centres. White strokes on black make
// the union independent of order, and the shifts are whole pixels, so the
// frame is the one that drawing both sets directly gives.
#include "pattern/painters.h"

#include "app/app_state.h"
#include "app/draw.h"

MoireInterferenceStateRecord MoireInterferenceState;

// Kept for the window on show: the ring set, centred in a square bitmap with
// room for the pen beyond the outermost ring, with the maxRadius it was drawn
// for; and the frame, the size of the client area, reused by every tick
// rather than allocated (and its pages touched afresh) 12 times a second.
static HBITMAP RingSetBitmap;
static int RingSetRadius;
static const int RingSetMargin = 8;
static HBITMAP FrameBitmap;
static SIZE FrameSize;

void ResetMoireInterference(int width, int height)
{
    MoireInterferenceState.offset = 0;
    MoireInterferenceState.step = 3;
    MoireInterferenceState.maxRadius = ((width < height ? width : height) - 100) / 2;
}

// The sets part until the offset passes the outer radius, turn, cross, and
// turn again once they have parted as far on the other side, so the offset
// stays within the radius (give or take one step) for as long as it runs.
void StepMoireInterference()
{
    MoireInterferenceStateRecord& state = MoireInterferenceState;
    state.offset += state.step;
    if (state.offset > state.maxRadius || state.offset < -state.maxRadius)
        state.step = -state.step;
}

static void ReleaseRingSet()
{
    if (RingSetBitmap != NULL)
        DeleteObject(RingSetBitmap);
    RingSetBitmap = NULL;
    RingSetRadius = 0;
}

static void ReleaseFrame()
{
    if (FrameBitmap != NULL)
        DeleteObject(FrameBitmap);
    FrameBitmap = NULL;
    FrameSize.cx = FrameSize.cy = 0;
}

void ReleaseMoireInterference()
{
    ReleaseRingSet();
    ReleaseFrame();
}

// One ring set round (cx, cy): radius maxRadius and every 15 pixels less,
// with the 5-pixel white pen and the hollow brush selected into dc.
static void DrawRingSet(HDC dc, int cx, int cy, int maxRadius)
{
    for (int n = maxRadius; n > 0; n -= 15)
        Ellipse(dc, cx - n, cy - n, cx + n, cy + n);
}

// Both sets straight onto a black dc, for when the bitmap cannot be made.
static void DrawBothRingSets(HDC dc, int cx, int cy)
{
    const MoireInterferenceStateRecord& state = MoireInterferenceState;
    HPEN pen = CreatePen(PS_SOLID, 5, RGB(255, 255, 255));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    SelectObject(dc, SharedGdiObjects.hollowBrush);
    DrawRingSet(dc, cx - state.offset, cy, state.maxRadius);
    DrawRingSet(dc, cx + state.offset, cy, state.maxRadius);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

// Monochrome, a 32nd of the memory of a colour bitmap: the white strokes are
// the 1 bits.
static HBITMAP CreateRingSetBitmap(int maxRadius)
{
    int side = 2 * (maxRadius + RingSetMargin);
    HDC memory = CreateCompatibleDC(NULL);
    HBITMAP bitmap = memory != NULL ? CreateBitmap(side, side, 1, 1, NULL) : NULL;
    if (bitmap != NULL) {
        HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
        HPEN pen = CreatePen(PS_SOLID, 5, RGB(255, 255, 255));
        HGDIOBJ oldPen = SelectObject(memory, pen);
        HGDIOBJ oldBrush = SelectObject(memory, SharedGdiObjects.hollowBrush);
        RECT all = { 0, 0, side, side };
        FillSolidRect(memory, &all, RGB(0, 0, 0));
        DrawRingSet(memory, side / 2, side / 2, maxRadius);
        SelectObject(memory, oldBrush);
        SelectObject(memory, oldPen);
        SelectObject(memory, oldBitmap);
        DeleteObject(pen);
    }
    if (memory != NULL)
        DeleteDC(memory);
    return bitmap;
}

// Draws the ring set for the current maxRadius once; true if it is there.
static bool PrepareRingSet()
{
    int maxRadius = MoireInterferenceState.maxRadius;
    if (RingSetBitmap != NULL && RingSetRadius == maxRadius)
        return true;
    ReleaseRingSet();
    RingSetBitmap = CreateRingSetBitmap(maxRadius);
    RingSetRadius = maxRadius;
    return RingSetBitmap != NULL;
}

// Black, then the ring set OR-ed in round cx - offset and cx + offset.
static void ComposeFrame(HDC target, int width, int height)
{
    RECT all = { 0, 0, width, height };
    FillSolidRect(target, &all, RGB(0, 0, 0));
    int cx = width / 2;
    int cy = height / 2;
    if (MoireInterferenceState.maxRadius <= 0)
        return;
    HDC rings = PrepareRingSet() ? CreateCompatibleDC(target) : NULL;
    if (rings == NULL) {
        DrawBothRingSets(target, cx, cy);
        return;
    }
    HGDIOBJ oldBitmap = SelectObject(rings, RingSetBitmap);
    int half = RingSetRadius + RingSetMargin;
    int offset = MoireInterferenceState.offset;
    // Copied to colour, 1 bits take the background colour, 0 bits the text colour.
    SetBkColor(target, RGB(255, 255, 255));
    SetTextColor(target, RGB(0, 0, 0));
    BitBlt(target, cx - offset - half, cy - half, 2 * half, 2 * half, rings, 0, 0, SRCPAINT);
    BitBlt(target, cx + offset - half, cy - half, 2 * half, 2 * half, rings, 0, 0, SRCPAINT);
    SelectObject(rings, oldBitmap);
    DeleteDC(rings);
}

// Makes the frame bitmap for a client of width x height once; true if it is
// there.
static bool PrepareFrame(HDC reference, int width, int height)
{
    if (FrameBitmap != NULL && FrameSize.cx == width && FrameSize.cy == height)
        return true;
    ReleaseFrame();
    FrameBitmap = CreateCompatibleBitmap(reference, width, height);
    FrameSize.cx = width;
    FrameSize.cy = height;
    return FrameBitmap != NULL;
}

// The frame is composed off screen and copied in one transfer, so the screen
// never shows a half-drawn frame.
void PaintMoireInterference(HDC dc, int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    HDC memory = PrepareFrame(dc, width, height) ? CreateCompatibleDC(dc) : NULL;
    HGDIOBJ oldBitmap = memory != NULL ? SelectObject(memory, FrameBitmap) : NULL;
    if (oldBitmap == NULL) {  // no memory DC, or a kept frame the DC cannot take
        if (memory != NULL)
            DeleteDC(memory);
        ReleaseFrame();
        ComposeFrame(dc, width, height);
        return;
    }
    ComposeFrame(memory, width, height);
    BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
}
