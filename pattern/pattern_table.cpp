// The fourteen patterns by number: the name the popup shows and what paints
// each. The window paints through this table, and so does the benchmark.
#include "pattern/pattern_window.h"

#include "app/app_state.h"
#include "app/draw.h"
#include "pattern/painters.h"

namespace {

const COLORREF NotSolid = CLR_INVALID;

struct PatternRow {
    const WCHAR* name;
    PatternPainter paint;  // null: a fill with solidColor, or nothing
    COLORREF solidColor;
};

// Row n - 1 is pattern n. A row with neither a painter nor a colour paints
// nothing (its painter is still to come).
const PatternRow PatternRows[] = {
    { L"SMPTE bars", PaintSmpteBars, NotSolid },
    { L"Solid Black", NULL, RGB(0, 0, 0) },
    { L"Solid Red", NULL, RGB(255, 0, 0) },
    { L"Solid Green", NULL, RGB(0, 255, 0) },
    { L"Solid Blue", NULL, RGB(0, 0, 255) },
    { L"Solid White", NULL, RGB(255, 255, 255) },
    { L"Boundary", NULL, NotSolid },
    { L"RGB samples", NULL, NotSolid },
    { L"Black Level", NULL, NotSolid },
    { L"White Level", NULL, NotSolid },
    { L"Contrast", NULL, NotSolid },
    { L"Gamma", NULL, NotSolid },
    { L"Moire", NULL, NotSolid },
    { L"Moire Interference", NULL, NotSolid },
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
    } else if (row->solidColor != NotSolid) {
        RECT client = { 0, 0, width, height };
        FillSolidRect(dc, &client, row->solidColor);
    }
}
