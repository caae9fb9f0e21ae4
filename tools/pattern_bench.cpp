// Benchmark of the pattern painters: paints every pattern through the
// pattern window's own dispatch into a surface compatible with the screen,
// at 1920x1080 and 3840x2160, and prints per pattern the median milliseconds
// per paint and that time as a multiple of one BitBlt of the whole surface;
// then the first paint of "Moire Interference", which works out its ring set,
// at those sizes and at 7680x4320. The first line says which build ran.
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <vector>

#include "app/app_state.h"
#include "app/startup.h"
#include "pattern/painters.h"
#include "pattern/pattern_window.h"

namespace {

const int Repeats = 15;

double NowMs()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The median time of Repeats runs of work, each finished with GdiFlush.
template <typename Work>
double MedianMs(Work work)
{
    std::vector<double> times;
    for (int i = 0; i < Repeats; ++i) {
        double start = NowMs();
        work();
        GdiFlush();
        times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[Repeats / 2];
}

// A bitmap compatible with the screen, selected into a memory DC.
struct Surface {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
};

bool CreateSurface(Surface* surface, int width, int height)
{
    HDC screen = GetDC(NULL);
    surface->bitmap = CreateCompatibleBitmap(screen, width, height);
    surface->dc = CreateCompatibleDC(screen);
    ReleaseDC(NULL, screen);
    if (surface->bitmap == NULL || surface->dc == NULL)
        return false;
    surface->previous = SelectObject(surface->dc, surface->bitmap);
    return true;
}

void DestroySurface(Surface* surface)
{
    if (surface->dc != NULL) {
        SelectObject(surface->dc, surface->previous);
        DeleteDC(surface->dc);
    }
    if (surface->bitmap != NULL)
        DeleteObject(surface->bitmap);
}

struct SizeResult {
    double blitMs;
    double patternMs[PATTERN_MOIRE_INTERFERENCE + 1];
    double ringSetMs;  // the first paint of pattern 14, which works out its ring set
};

// The first paint of pattern 14 in a window of width x height, which works
// out its ring set; target is that large.
double FirstInterferenceMs(HDC target, int width, int height)
{
    ReleaseMoireInterference();
    ResetMoireInterference(width, height);
    double start = NowMs();
    PaintPattern(target, PATTERN_MOIRE_INTERFERENCE, width, height);
    GdiFlush();
    return NowMs() - start;
}

bool MeasureSize(int width, int height, SizeResult* result)
{
    Surface target = {}, source = {};
    bool made = CreateSurface(&target, width, height) && CreateSurface(&source, width, height);
    if (made) {
        result->blitMs = MedianMs([&] { BitBlt(target.dc, 0, 0, width, height, source.dc, 0, 0, SRCCOPY); });
        result->ringSetMs = FirstInterferenceMs(target.dc, width, height);
        // Pattern 14 moves between its paints, as it does on the screen.
        for (int pattern = PATTERN_SMPTE_BARS; pattern <= PATTERN_MOIRE_INTERFERENCE; ++pattern)
            result->patternMs[pattern] = MedianMs([&] {
                if (pattern == PATTERN_MOIRE_INTERFERENCE)
                    StepMoireInterference();
                PaintPattern(target.dc, pattern, width, height);
            });
        ReleaseMoireInterference();
    }
    DestroySurface(&source);
    DestroySurface(&target);
    return made;
}

}  // namespace

int main()
{
    InitializeApplication(GetModuleHandleW(NULL));
    const SIZE sizes[2] = { { 1920, 1080 }, { 3840, 2160 } };
    SizeResult results[2];
    for (int i = 0; i < 2; ++i) {
        if (!MeasureSize(sizes[i].cx, sizes[i].cy, &results[i])) {
            fprintf(stderr, "no %ldx%ld surface could be made\n", sizes[i].cx, sizes[i].cy);
            return 1;
        }
    }
    printf("%s\n\n", sizeof(void*) == 8 ? "64-bit build (x86_64)" : "32-bit build (i686)");
    printf("Median of %d paints into a screen-compatible bitmap, in ms and in BitBlts\n"
           "of the whole bitmap (1920x1080: %.2f ms, 3840x2160: %.2f ms)\n\n",
           Repeats, results[0].blitMs, results[1].blitMs);
    printf("%-24s %14s %8s %14s %8s\n", "Pattern", "1920x1080 ms", "BitBlts", "3840x2160 ms", "BitBlts");
    for (int pattern = PATTERN_SMPTE_BARS; pattern <= PATTERN_MOIRE_INTERFERENCE; ++pattern) {
        AppState.currentPattern = static_cast<PatternType>(pattern);
        printf("%2d %-21ls", pattern, PatternName());
        for (const SizeResult& result : results)
            printf(" %14.2f %8.1f", result.patternMs[pattern], result.patternMs[pattern] / result.blitMs);
        printf("\n");
    }
    // Filled once before, as the surfaces of the other sizes have been by
    // their BitBlts and a window's by what it showed before: the first
    // writing of a fresh 133 MB bitmap, Wine's page faults, is not the
    // painter's.
    Surface largest = {};
    double largestMs = -1;
    if (CreateSurface(&largest, 7680, 4320)) {
        PatBlt(largest.dc, 0, 0, 7680, 4320, BLACKNESS);
        GdiFlush();
        largestMs = FirstInterferenceMs(largest.dc, 7680, 4320);
    }
    ReleaseMoireInterference();
    DestroySurface(&largest);
    printf("\nThe first paint of pattern 14 in a window works out its ring set: %.1f ms at 1920x1080,\n"
           "%.1f ms at 3840x2160, %.1f ms at 7680x4320\n", results[0].ringSetMs, results[1].ringSetMs, largestMs);
    ShutdownApplication();
    return 0;
}
