// "Moire Interference": two sets of concentric white rings that slide apart
// and through each other.
//
// A ring of radius n is the annulus of pixels whose centres lie more than
// n - 3 and less than n + 2 pixels from the point between the four middle
// pixels of the circle's box, (cx - n, cy - n) to (cx + n, cy + n): the
// 5-pixel white Ellipse stroke round that box. The rings are worked out
// row by row in whole numbers, once per window, and every frame is composed
// from them in memory at one bit per pixel and copied in one transfer. (Wine
// strokes wide Ellipse pens through paths: the set took it 5 s at 4K.)
//
// One bit rather than 32 per pixel: the first paint touches every page of
// the frame for the first time, and each fresh page costs the system a page
// fault. A 32-bit frame at 7680x4320 is 133 MB, 32400 pages, whose first
// clearing took about 55 ms under Wine, against 5 ms for a later one; at one
// bit it is 4 MB. Wine transfers a two-colour frame about as fast as a 32-bit
// one, and faster from 3840x2160 up.
#include "pattern/painters.h"

#include <math.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "app/app_state.h"
#include "app/draw.h"

MoireInterferenceStateRecord MoireInterferenceState;

namespace {

// Where each ring crosses each row of the set: rows run from half above the
// middle to half below it, and ring k (radius maxRadius - 15k) covers in row
// y the pixels from middle + inner to middle + outer - 1 and their mirror
// images, from middle - outer to middle - inner - 1 (one run when inner is
// 0), with the middle between the pixels middle - 1 and middle. outer 0: the
// ring misses the row. The lower half mirrors the upper one, row 2 half - 1
// - y being row y, so only the upper half is kept.
struct RingSetRecord {
    int16_t* widths;  // outer, inner of ring k in row y < half at 2 (y rings + k)
    int radius;
    int rings;
    int half;  // radius + 3: the outermost pixels are n + 2 from the middle
};

// The frame the size of the client area, one bit per pixel, the leftmost
// pixel of each byte in its top bit, 1 for white; kept while the window lives
// rather than allocated (and its pages touched afresh) 12 times a second.
// Only the rows from bandTop to bandBottom - 1 have been drawn in; the others
// are black.
struct FrameRecord {
    uint8_t* bits;
    size_t rowBytes;  // rows start on 4-byte boundaries, as a bitmap's do
    int width, height;
    int bandTop, bandBottom;
};

// How the transfer reads the frame: a top-down bitmap of one bit per pixel,
// 0 black and 1 white.
struct FrameInfoRecord {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
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
    free(Frame.bits);
    Frame = FrameRecord();
}

// The count of odd numbers X > 0 with X^2 < limit, a whole number below
// 2^32. Doubles hold such whole numbers, and the squares of the roots,
// exactly. (With 64-bit integers the 32-bit build converted to and from
// doubles on the x87 unit, switching its rounding mode each time: the set
// took it nearly four times as long as the 64-bit build.)
int OddsBelow(double limit)
{
    if (limit <= 1)
        return 0;
    int root = static_cast<int>(sqrt(limit - 1));
    while (static_cast<double>(root) * root > limit - 1)
        --root;
    while (static_cast<double>(root + 1) * (root + 1) <= limit - 1)
        ++root;
    return (root + 1) / 2;
}

// With coordinates doubled round the middle (pixel centres at odd X and Y),
// ring n holds the pixels with (2n - 6)^2 < X^2 + Y^2 < (2n + 4)^2. The
// pixel middle + t (t >= 0) has X = 2t + 1: it is in the ring when t is
// below the count of odd X under the outer bound and not below the count of
// odd X whose square reaches at most the inner bound.
void WorkOutRingRow(int16_t* widths, int y)
{
    double Y = 2.0 * (y - RingSet.half) + 1;
    for (int k = 0; k < RingSet.rings; ++k) {
        double n = RingSet.radius - 15 * k;
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
    int rows = maxRadius + 3;
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
    if (Frame.bits != NULL && Frame.width == width && Frame.height == height)
        return true;
    ReleaseFrame();
    size_t rowBytes = (static_cast<size_t>(width) + 31) / 32 * 4;
    Frame.bits = static_cast<uint8_t*>(PelmiraPainterMalloc(rowBytes * height));
    if (Frame.bits == NULL)
        return false;
    Frame.rowBytes = rowBytes;
    Frame.width = width;
    Frame.height = height;
    Frame.bandBottom = height;  // every row yet to be made black
    return true;
}

// Pixels from to to - 1 of a frame row in white, as far as they are in it.
void FillWhite(uint8_t* out, int width, int from, int to)
{
    from = from > 0 ? from : 0;
    to = to < width ? to : width;
    if (from >= to)
        return;
    int first = from / 8, last = (to - 1) / 8;
    unsigned head = 0xFFu >> (from % 8);
    unsigned tail = (0xFFu << (7 - (to - 1) % 8)) & 0xFFu;
    if (first == last) {
        out[first] |= static_cast<uint8_t>(head & tail);
        return;
    }
    out[first] |= static_cast<uint8_t>(head);
    if (last - first > 1)  // most runs cross at most one byte boundary
        memset(out + first + 1, 0xFF, last - first - 1);
    out[last] |= static_cast<uint8_t>(tail);
}

// One row of the set round the middle at x = middle of a frame row.
void DrawRingRow(uint8_t* out, int width, const int16_t* widths, int middle)
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
    size_t rowBytes = Frame.rowBytes;
    for (int y = Frame.bandTop; y < Frame.bandBottom; ++y)
        if (y < bandTop || y >= bandBottom)
            memset(Frame.bits + static_cast<size_t>(y) * rowBytes, 0, rowBytes);
    Frame.bandTop = bandTop;
    Frame.bandBottom = bandBottom;
    for (int y = bandTop; y < bandBottom; ++y) {
        uint8_t* out = Frame.bits + static_cast<size_t>(y) * rowBytes;
        int row = y - top < RingSet.half ? y - top : 2 * RingSet.half - 1 - (y - top);
        const int16_t* widths = RingSet.widths + static_cast<size_t>(row) * RingSet.rings * 2;
        memset(out, 0, rowBytes);
        DrawRingRow(out, Frame.width, widths, cx - offset);
        DrawRingRow(out, Frame.width, widths, cx + offset);
    }
}

// Copies the frame to dc in one transfer.
void PutFrame(HDC dc)
{
    FrameInfoRecord info = {};
    info.header.biSize = sizeof(info.header);
    info.header.biWidth = Frame.width;
    info.header.biHeight = -Frame.height;  // top row first
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 2;
    info.colors[1].rgbRed = info.colors[1].rgbGreen = info.colors[1].rgbBlue = 255;
    SetDIBitsToDevice(dc, 0, 0, Frame.width, Frame.height, 0, 0, 0, Frame.height, Frame.bits,
                      reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS);
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
    PutFrame(dc);
}
