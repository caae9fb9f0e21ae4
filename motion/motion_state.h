// The running motion test's state, shared by its window, its control panel
// and its two timing threads.
#ifndef PELMIRA_MOTION_STATE_H
#define PELMIRA_MOTION_STATE_H

#include <windows.h>
#include <atomic>

#include "motion/motion_options.h"

// Posted by the rate thread once a second: the steps of the last count in the
// low word of wParam, the paints in the high word, each cut to 16 bits.
const UINT WM_MOTION_STATS = WM_USER + 100;
// After Escape: polls every 25 ms for the end of both threads.
const UINT_PTR IDT_MOTION_EXIT = 102;

// One motion test runs at a time. Handles and the back buffer belong to the
// user-interface thread; the values the threads touch while they run are
// atomics, read and written relaxed.
struct MotionStateRecord {
    HANDLE rateThread;
    HANDLE stopEvent;                 // manual reset; set when the test ends
    std::atomic<LONG> shapeX;         // left edge of the shape, 0 to travelWidth
    LONG travelWidth;                 // client width at creation, before the threads
    HDC backBufferDC;
    HBITMAP backBufferBitmap;
    std::atomic<ULONG> paintCount;    // paints since the last report
    std::atomic<ULONG> stepCount;     // steps since the last report
    std::atomic<LONG> lagging;        // the last report counted fewer paints than steps
    HWND panel;
    // Where the rate thread posts its reports: the window's copy of
    // AppState.testWindow (which the user-interface thread alone may touch),
    // null until the main window has stored the new window there.
    std::atomic<HWND> reportWindow;
};

extern MotionStateRecord MotionState;

DWORD WINAPI MotionStepThreadProc(LPVOID);
DWORD WINAPI MotionRateThreadProc(LPVOID);

// Paints the shape at left edge x over a width x height client area. With
// Prevent flicker the picture is composed in backBuffer and copied to
// paintDc in one transfer; without it, it is drawn on paintDc directly.
void PaintMotionFrame(HDC paintDc, HDC backBuffer, int width, int height, LONG x);

INT_PTR CALLBACK MotionPanelDlgProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);

// The thread creation and the performance counter behind the motion test;
// tests replace them to make creation fail or to run the threads on a clock
// of their own.
typedef HANDLE (WINAPI *CreateThreadFunction)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE,
                                              LPVOID, DWORD, LPDWORD);
extern CreateThreadFunction PelmiraCreateThread;
typedef BOOL (WINAPI *PerformanceCounterFunction)(LARGE_INTEGER*);
extern PerformanceCounterFunction PelmiraQueryPerformanceCounter;

#endif
