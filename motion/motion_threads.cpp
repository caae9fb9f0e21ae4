// The motion test's two timing threads. The step thread moves the shape one
// pixel per step period; the rate thread reports, once a second, the steps
// made and the paints done in it. Both time themselves by spinning on the
// performance counter and end when the stop event is set.
#include "motion/motion_state.h"

PerformanceCounterFunction PelmiraQueryPerformanceCounter = QueryPerformanceCounter;

static LONGLONG CounterFrequency()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return frequency.QuadPart;
}

static LONGLONG ReadCounter()
{
    LARGE_INTEGER now;
    PelmiraQueryPerformanceCounter(&now);
    return now.QuadPart;
}

// A failed wait counts as not signalled.
static bool StopSignalled()
{
    return WaitForSingleObject(MotionState.stopEvent, 0) == WAIT_OBJECT_0;
}

static LONGLONG StepPeriod()
{
    return LoadRelaxed(MotionOptions.stepPeriodMicros);
}

static LONGLONG OneSecond()
{
    return 1000000;
}

// Spins until period() microseconds have passed since start, or the stop
// event is set. The period is read afresh at every turn, so a shorter one
// ends a wait in progress.
static void SpinUntilElapsed(LONGLONG start, LONGLONG frequency, LONGLONG (*period)())
{
    while (!StopSignalled()) {
        LONGLONG elapsedMicros = (ReadCounter() - start) * 1000000 / frequency;
        if (elapsedMicros >= period())
            return;
    }
}

// One pixel to the right; the step after x = travelWidth, where the shape
// lies wholly beyond the right edge, starts again at 0.
static void StepShape()
{
    IncrementUnlocked(MotionState.stepCount);
    LONG x = LoadRelaxed(MotionState.shapeX) + 1;
    if (x > MotionState.travelWidth)
        x = 0;
    StoreRelaxed(MotionState.shapeX, x);
}

DWORD WINAPI MotionStepThreadProc(LPVOID)
{
    LONGLONG frequency = CounterFrequency();
    while (!StopSignalled()) {
        StepShape();
        SpinUntilElapsed(ReadCounter(), frequency, StepPeriod);
    }
    return 0;
}

// The lagging flag compares the full counts; the report carries their low
// 16 bits. Without a window to report to yet, the report is dropped.
static void ReportCounts()
{
    ULONG paints = LoadRelaxed(MotionState.paintCount);
    ULONG steps = LoadRelaxed(MotionState.stepCount);
    StoreRelaxed(MotionState.lagging, paints < steps ? 1 : 0);
    HWND window = LoadRelaxed(MotionState.reportWindow);
    if (window != NULL)
        PostMessageW(window, WM_MOTION_STATS, MAKEWPARAM(steps & 0xFFFF, paints & 0xFFFF), 0);
}

DWORD WINAPI MotionRateThreadProc(LPVOID)
{
    LONGLONG frequency = CounterFrequency();
    for (;;) {
        ReportCounts();
        if (StopSignalled())
            return 0;
        StoreRelaxed(MotionState.paintCount, 0);
        StoreRelaxed(MotionState.stepCount, 0);
        SpinUntilElapsed(ReadCounter(), frequency, OneSecond);
    }
}
