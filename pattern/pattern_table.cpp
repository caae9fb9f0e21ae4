// The fourteen patterns by number: the name the popup shows and what paints
// each. The window paints through this table, and so does the benchmark.
#include "pattern/pattern_window.h"

#include <stdlib.h>

#include "app/app_state.h"
#include "app/draw.h"
#include "pattern/painters.h"

MallocFunction PelmiraPainterMalloc = malloc;

namespace {


void PaintBlackLevel(HDC dc, int width, int height)
{
    PaintLevel(dc, width, height, false);
}

void PaintWhiteLevel(HDC dc, int width, int height)
{
    PaintLevel(dc, width, height, true);
}

struct PatternRow {
    const WCHAR* name;
    PatternPainter paint;  // null: a fill with solidColor
    COLORREF solidColor;
};

// Row n - 1 is pattern n: its painter, or else its solid colour.
const PatternRow PatternRows[] = {
    { L"SMPTE bars", PaintSmpteBars, 0 },
    { L"Solid Black", NULL, RGB(0, 0, 0) },
    { L"Solid Red", NULL, RGB(255, 0, 0) },
    { L"Solid Green", NULL, RGB(0, 255, 0) },
    { L"Solid Blue", NULL, RGB(0, 0, 255) },
    { L"Solid White", NULL, RGB(255, 255, 255) },
    { L"Boundary", DrawBoundaryPattern, 0 },
    { L"RGB samples", PaintRgbSamples, 0 },
    { L"Black Level", PaintBlackLevel, 0 },
    { L"White Level", PaintWhiteLevel, 0 },
    { L"Contrast", PaintContrast, 0 },
    { L"Gamma", PaintGamma, 0 },
    { L"Moire", PaintMoire, 0 },
    { L"Moire Interference", PaintMoireInterference, 0 },
};
static_assert(ARRAYSIZE(PatternRows) == PATTERN_MOIRE_INTERFERENCE, "one row per pattern");

const PatternRow* FindPatternRow(int pattern)
{
    if (pattern < PATTERN_SMPTE_BARS || pattern > PATTERN_MOIRE_INTERFERENCE)
        return NULL;
    return &PatternRows[pattern - PATTERN_SMPTE_BARS];
}

}  // namespace

const WCHAR* PatternName()
{
    const PatternRow* row = FindPatternRow(AppState.currentPattern);
    return row != NULL ? row->name : NULL;
}

void PaintPattern(HDC dc, int pattern, int width, int height)
{
    const PatternRow* row = FindPatternRow(pattern);
    if (row == NULL)
        return;
    if (row->paint != NULL) {
        row->paint(dc, width, height);
    } else {
        RECT client = { 0, 0, width, height };
        FillSolidRect(dc, &client, row->solidColor);
    }
}
