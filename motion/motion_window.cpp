// The full-screen motion test window. A white square (or circle, and so on,
// as the control panel sets) crosses the black screen; the step thread moves
// it, the message loop's idle repaints show it, and the rate thread reports
// once a second what really happened. Escape stops both threads; the window
// goes once they have ended, and its last message puts the display back.
#include "motion/motion_window.h"

#include "app/app_state.h"
#include "app/format_text.h"
#include "display/test_mode.h"
#include "motion/motion_state.h"
#include "res/resource.h"

MotionStateRecord MotionState;
CreateThreadFunction PelmiraCreateThread = CreateThread;

static void ResetMotionState(LONG width)
{
    StoreRelaxed(MotionState.shapeX, 0);
    MotionState.travelWidth = width;
    ResetMotionOptions();
    StoreRelaxed(MotionState.paintCount, 0u);
    StoreRelaxed(MotionState.stepCount, 0u);
    StoreRelaxed(MotionState.lagging, 0);
    StoreRelaxed(MotionState.reportWindow, static_cast<HWND>(NULL));
}

// The panel keeps the size of its template, centred on the top edge, shown
// without taking the activation.
static void OpenPanel(HWND window, LONG width)
{
    MotionState.panel = CreateDialogParamW(AppState.instance, MAKEINTRESOURCEW(IDD_MOTION_PANEL),
                                           window, MotionPanelDlgProc, 0);
    RECT panel = {};
    GetWindowRect(MotionState.panel, &panel);
    SetWindowPos(MotionState.panel, NULL, (width - (panel.right - panel.left)) / 2, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// Made once per test, whatever Prevent flicker says: it can be switched on
// while the test runs.
static void CreateBackBuffer(HWND window, int width, int height)
{
    HDC windowDc = GetDC(window);
    MotionState.backBufferDC = CreateCompatibleDC(windowDc);
    MotionState.backBufferBitmap = CreateCompatibleBitmap(windowDc, width, height);
    SelectObject(MotionState.backBufferDC, MotionState.backBufferBitmap);
    ReleaseDC(window, windowDc);
}

static void FreeBackBuffer()
{
    if (MotionState.backBufferDC != NULL)
        DeleteDC(MotionState.backBufferDC);
    if (MotionState.backBufferBitmap != NULL)
        DeleteObject(MotionState.backBufferBitmap);
    MotionState.backBufferDC = NULL;
    MotionState.backBufferBitmap = NULL;
}

static HANDLE CreateSuspendedThread(LPTHREAD_START_ROUTINE routine)
{
    return PelmiraCreateThread(NULL, 0, routine, NULL, CREATE_SUSPENDED, NULL);
}

// A thread still suspended (a start that failed half-way) is resumed, so
// that it sees the stop event and returns.
static void EndThread(HANDLE* thread)
{
    if (*thread == NULL)
        return;
    ResumeThread(*thread);
    WaitForSingleObject(*thread, INFINITE);
    CloseHandle(*thread);
    *thread = NULL;
}

// Signals the stop event and waits for both threads before their handles
// and the event are closed, so that no thread outlives what it uses.
static void EndThreads()
{
    if (MotionState.stopEvent != NULL)
        SetEvent(MotionState.stopEvent);
    EndThread(&AppState.motionThread);
    EndThread(&MotionState.rateThread);
    if (MotionState.stopEvent != NULL)
        CloseHandle(MotionState.stopEvent);
    MotionState.stopEvent = NULL;
}

static bool StartThreads()
{
    MotionState.stopEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
    if (MotionState.stopEvent == NULL)
        return false;
    AppState.motionThread = CreateSuspendedThread(MotionStepThreadProc);
    if (AppState.motionThread == NULL)
        return false;
    MotionState.rateThread = CreateSuspendedThread(MotionRateThreadProc);
    if (MotionState.rateThread == NULL)
        return false;
    SetThreadAffinityMask(MotionState.rateThread, 1);
    ResumeThread(AppState.motionThread);
    ResumeThread(MotionState.rateThread);
    return true;
}

static void OnCreate(HWND window)
{
    AppState.motionActive = 1;
    RECT client;
    GetClientRect(window, &client);
    ResetMotionState(client.right);
    OpenPanel(window, client.right);
    CreateBackBuffer(window, client.right, client.bottom);
    if (StartThreads())
        return;
    EndThreads();
    ShowStringMessage(AppState.mainWindow, IDS_MOTION_START_FAILED, MB_ICONERROR);
    DestroyWindow(window);
}

static void OnPaint(HWND window)
{
    // The rate thread reports to the window that the main window stored.
    StoreRelaxed(MotionState.reportWindow, AppState.testWindow);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    PaintMotionFrame(dc, MotionState.backBufferDC, client.right, client.bottom,
                     LoadRelaxed(MotionState.shapeX));
    EndPaint(window, &paint);
    IncrementUnlocked(MotionState.paintCount);
}

static void ShowCount(int control, const WCHAR* format, WORD count)
{
    WCHAR text[128];
    FormatText(text, 128, format, static_cast<unsigned>(count));
    SetDlgItemTextW(MotionState.panel, control, text);
}

static void OnMotionStats(WPARAM counts)
{
    ShowCount(IDC_MOTION_SPEED_VALUE, L"%u", LOWORD(counts));
    ShowCount(IDC_MOTION_FPS_VALUE, LoadRelaxed(MotionState.lagging) != 0 ? L"%u !" : L"%u",
              HIWORD(counts));
}

// The window waits for both threads to end before it goes; a repeated
// Escape only signals and restarts the timer again.
static void OnKeyDown(HWND window, WPARAM key)
{
    if (key != VK_ESCAPE)
        return;
    SetEvent(MotionState.stopEvent);
    SetTimer(window, IDT_MOTION_EXIT, 25, NULL);
}

static void OnTimer(HWND window, UINT_PTR timer)
{
    if (timer != IDT_MOTION_EXIT)
        return;
    if (WaitForSingleObject(AppState.motionThread, 0) != WAIT_OBJECT_0 ||
        WaitForSingleObject(MotionState.rateThread, 0) != WAIT_OBJECT_0)
        return;
    KillTimer(window, IDT_MOTION_EXIT);
    DestroyWindow(window);
}

static void OnDestroy()
{
    AppState.motionActive = 0;
    EndThreads();
    FreeBackBuffer();
}

LRESULT CALLBACK MotionTestWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOTION_STATS:
        OnMotionStats(wParam);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(window, wParam);
        return 0;
    case WM_TIMER:
        OnTimer(window, wParam);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY:
        RestoreAfterTest();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
