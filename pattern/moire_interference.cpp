// "Moire Interference": two sets of concentric white rings that slide apart
// and through each other.
//
// A ring of radius n is the annulus of pixels whose centres lie more than
// n - 3 and less than n + 2 pixels from the point between the four middle
// pixels of the circle's box, (cx - n, cy - n) to (cx + n, cy + n): the
// 5-pixel white Ellipse stroke round that box. The rings are worked out
// row by row in whole numbers, once per window, and every frame is composed
// from them in memory and copied in one transfer. (Wine strokes wide Ellipse
// pens through paths: the set took it 5 s at 4K.)
#include "pattern/painters.h"

#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "app/app_state.h"
#include "app/draw.h"

MoireInterferenceStateRecord MoireInterferenceState;

namespace {

const DWORD WhitePixel = 0x00FFFFFF;

// Where each ring crosses each row of the set: rows run from half above the
// middle to half below it, and ring k (radius maxRadius - 15k) covers in row
// y the pixels from middle + inner to middle + outer - 1 and their mirror
// images, from middle - outer to middle - inner - 1 (one run when inner is
// 0), with the middle between the pixels middle - 1 and middle. outer 0: the
// ring misses the row.
struct RingSetRecord {
    int16_t* widths;  // outer, inner of ring k in row y at 2 (y rings + k)
    int radius;
    int rings;
    int half;  // radius + 3: the outermost pixels are n + 2 from the middle
};

// The frame the size of the client area, kept while the window lives rather
// than allocated (and its pages touched afresh) 12 times a second. Only the
// rows from bandTop to bandBottom - 1 have been drawn in; the others are
// black.
struct FrameRecord {
    DWORD* pixels;
    int width, height;
    int bandTop, bandBottom;
};

RingSetRecord RingSet;
FrameRecord Frame;

void ReleaseRingSet()
{
    free(RingSet.widths);
    RingSet = RingSetRecord();
}

void ReleaseFrame()
{
    free(Frame.pixels);
    Frame = FrameRecord();
}

// The count of odd numbers X > 0 with X^2 < limit.
int OddsBelow(int64_t limit)
{
    if (limit <= 1)
        return 0;
    int64_t root = static_cast<int64_t>(sqrt(static_cast<double>(limit - 1)));
    while (root * root > limit - 1)
        --root;
    while ((root + 1) * (root + 1) <= limit - 1)
        ++root;
    return static_cast<int>((root + 1) / 2);
}

// With coordinates doubled round the middle (pixel centres at odd X and Y),
// ring n holds the pixels with (2n - 6)^2 < X^2 + Y^2 < (2n + 4)^2. The
// pixel middle + t (t >= 0) has X = 2t + 1: it is in the ring when t is
// below the count of odd X under the outer bound and not below the count of
// odd X whose square reaches at most the inner bound.
void WorkOutRingRow(int16_t* widths, int y)
{
    int64_t Y = 2 * static_cast<int64_t>(y - RingSet.half) + 1;
    for (int k = 0; k < RingSet.rings; ++k) {
        int64_t n = RingSet.radius - 15 * k;
        int outer = OddsBelow((2 * n + 4) * (2 * n + 4) - Y * Y);
        int inner = n > 3 ? OddsBelow((2 * n - 6) * (2 * n - 6) - Y * Y + 1) : 0;
        widths[2 * k] = static_cast<int16_t>(outer);
        widths[2 * k + 1] = static_cast<int16_t>(outer > inner ? inner : outer);
    }
}

// Works out the ring set for the current maxRadius once; true if it is there.
bool PrepareRingSet()
{
    int maxRadius = MoireInterferenceState.maxRadius;
    if (RingSet.widths != NULL && RingSet.radius == maxRadius)
        return true;
    ReleaseRingSet();
    if (maxRadius > INT16_MAX - 3)
        return false;
    int rings = (maxRadius + 14) / 15;
    int rows = 2 * (maxRadius + 3);
    size_t bytes = static_cast<size_t>(rows) * rings * 2 * sizeof(int16_t);
    RingSet.widths = static_cast<int16_t*>(PelmiraPainterMalloc(bytes));
    if (RingSet.widths == NULL)
        return false;
    RingSet.radius = maxRadius;
    RingSet.rings = rings;
    RingSet.half = maxRadius + 3;
    for (int y = 0; y < rows; ++y)
        WorkOutRingRow(RingSet.widths + static_cast<size_t>(y) * rings * 2, y);
    return true;
}

// Makes the frame for a client of width x height once, to be made black as
// the first frame is composed; true if it is there.
bool PrepareFrame(int width, int height)
{
    if (Frame.pixels != NULL && Frame.width == width && Frame.height == height)
        return true;
    ReleaseFrame();
    Frame.pixels = static_cast<DWORD*>(PelmiraPainterMalloc(static_cast<size_t>(width) * height * sizeof(DWORD)));
    if (Frame.pixels == NULL)
        return false;
    Frame.width = width;
    Frame.height = height;
    Frame.bandBottom = height;  // every row yet to be made black
    return true;
}

// Pixels from to to - 1 of a frame row in white, as far as they are in it.
void FillWhite(DWORD* out, int width, int from, int to)
{
    from = from > 0 ? from : 0;
    to = to < width ? to : width;
    for (int x = from; x < to; ++x)
        out[x] = WhitePixel;
}

// One row of the set round the middle at x = middle of a frame row.
void DrawRingRow(DWORD* out, int width, const int16_t* widths, int middle)
{
    for (int k = 0; k < RingSet.rings; ++k) {
        int outer = widths[2 * k], inner = widths[2 * k + 1];
        if (inner == 0) {
            FillWhite(out, width, middle - outer, middle + outer);
        } else {
            FillWhite(out, width, middle - outer, middle - inner);
            FillWhite(out, width, middle + inner, middle + outer);
        }
    }
}

// Black, and the set in white round (cx - offset, cy) and (cx + offset, cy).
void ComposeFrame(int cx, int cy, int offset)
{
    int top = cy - RingSet.half;
    int bandTop = top > 0 ? top : 0;
    int bandBottom = top + 2 * RingSet.half < Frame.height ? top + 2 * RingSet.half : Frame.height;
    size_t rowBytes = Frame.width * sizeof(DWORD);
    for (int y = Frame.bandTop; y < Frame.bandBottom; ++y)
        if (y < bandTop || y >= bandBottom)
            memset(Frame.pixels + static_cast<size_t>(y) * Frame.width, 0, rowBytes);
    Frame.bandTop = bandTop;
    Frame.bandBottom = bandBottom;
    for (int y = bandTop; y < bandBottom; ++y) {
        DWORD* out = Frame.pixels + static_cast<size_t>(y) * Frame.width;
        const int16_t* widths = RingSet.widths + static_cast<size_t>(y - top) * RingSet.rings * 2;
        memset(out, 0, rowBytes);
        DrawRingRow(out, Frame.width, widths, cx - offset);
        DrawRingRow(out, Frame.width, widths, cx + offset);
    }
}

// Without memory for the set or the frame: black, and both sets stroked
// straight onto dc with their Ellipse calls, left then right for each radius.
void DrawBothRingSets(HDC dc, int width, int height)
{
    const MoireInterferenceStateRecord& state = MoireInterferenceState;
    RECT all = { 0, 0, width, height };
    FillSolidRect(dc, &all, RGB(0, 0, 0));
    HPEN pen = CreatePen(PS_SOLID, 5, RGB(255, 255, 255));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    SelectObject(dc, SharedGdiObjects.hollowBrush);
    for (int n = state.maxRadius, cx = width / 2, cy = height / 2; n > 0; n -= 15) {
        Ellipse(dc, cx - state.offset - n, cy - n, cx - state.offset + n, cy + n);
        Ellipse(dc, cx + state.offset - n, cy - n, cx + state.offset + n, cy + n);
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

}  // namespace

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

void ReleaseMoireInterference()
{
    ReleaseRingSet();
    ReleaseFrame();
}

// The frame is composed off screen and copied in one transfer, so the screen
// never shows a half-drawn frame.
void PaintMoireInterference(HDC dc, int width, int height)
{
    if (width <= 0 || height <= 0)
        return;
    if (MoireInterferenceState.maxRadius <= 0) {
        RECT all = { 0, 0, width, height };
        FillSolidRect(dc, &all, RGB(0, 0, 0));
        return;
    }
    if (!PrepareRingSet() || !PrepareFrame(width, height)) {
        DrawBothRingSets(dc, width, height);
        return;
    }
    ComposeFrame(width / 2, height / 2, MoireInterferenceState.offset);
    PutPixelRows(dc, 0, 0, width, height, Frame.pixels);
}
