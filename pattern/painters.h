// The painters of the pattern test. Each paints the whole client area of
// W x H pixels on the pattern window's paint device context, since the window
// never erases its background; each deletes every drawing object it creates
// and may leave shared objects selected.
#ifndef PELMIRA_PAINTERS_H
#define PELMIRA_PAINTERS_H

#include <windows.h>

// Several painters form products in single precision and truncate them: the
// x87 unit would keep extended precision there and move edges by a pixel, so
// 32-bit builds must do their floating-point arithmetic in SSE.
#if defined(__i386__) && !defined(__SSE2_MATH__)
#error "32-bit builds need SSE floating-point arithmetic (-msse2 -mfpmath=sse)"
#endif
#if defined(_MSC_VER) && defined(_M_IX86) && (!defined(_M_IX86_FP) || _M_IX86_FP < 2)
#error "32-bit builds need SSE2 floating-point arithmetic (/arch:SSE2)"
#endif

void PaintSmpteBars(HDC dc, int width, int height);
void DrawBoundaryPattern(HDC dc, int width, int height);
void DrawDiscMeasures(HDC dc, int cx, int cy, int dpiX, int dpiY);
void PaintRgbSamples(HDC dc, int width, int height);
void PaintLevel(HDC dc, int width, int height, bool white);
void PaintContrast(HDC dc, int width, int height);
void PaintGamma(HDC dc, int width, int height);
void PaintMoire(HDC dc, int width, int height);
void PaintMoireInterference(HDC dc, int width, int height);

// The allocation of the painters' buffers: malloc, freed with free. Tests
// replace it to paint as when memory runs out.
typedef void* (*MallocFunction)(size_t bytes);
extern MallocFunction PelmiraPainterMalloc;

// The animation of "Moire Interference": two ring sets whose centres lie
// offset pixels left and right of the client centre.
struct MoireInterferenceStateRecord {
    int offset;
    int step;       // pixels added to offset per tick
    int maxRadius;  // radius of the outermost ring
};
extern MoireInterferenceStateRecord MoireInterferenceState;

// Concentric rings sized for a client of W x H; called when a pattern window
// is made.
void ResetMoireInterference(int width, int height);
// One tick of the 80 ms animation timer.
void StepMoireInterference();
// Frees what the animation keeps between frames; called when the pattern
// window goes.
void ReleaseMoireInterference();

#endif
