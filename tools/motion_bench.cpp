// The motion benchmark: runs the real motion window full screen, driven by
// the program's own message loop, at 60, 240 and 1000 pixels per second with
// "Force screen update" on and off, and prints for each run the speed
// achieved as a fraction of the speed set, the paints per second, and the
// processor time of the step thread, the rate thread and the user-interface
// thread as a share of one core. tools/motion-bench.sh runs it.
#include <windows.h>

#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>

#include <vector>

#include "app/app_state.h"
#include "app/startup.h"
#include "motion/motion_state.h"
#include "res/resource.h"

namespace {

struct Report {
    int steps;
    int paints;
};

std::vector<Report> Reports;

// Every report the rate thread posts, as the loop takes it from the queue.
LRESULT CALLBACK CollectReports(int code, WPARAM removal, LPARAM lParam)
{
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == WM_MOTION_STATS)
        Reports.push_back({ LOWORD(message->wParam), HIWORD(message->wParam) });
    return CallNextHookEx(NULL, code, removal, lParam);
}

void CALLBACK EndRun(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    PostQuitMessage(0);
}

// Kernel and user time of a thread, in 100 ns units.
LONGLONG ThreadTime(HANDLE thread)
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(thread, &created, &exited, &kernel, &user))
        return 0;
    ULARGE_INTEGER k = { { kernel.dwLowDateTime, kernel.dwHighDateTime } };
    ULARGE_INTEGER u = { { user.dwLowDateTime, user.dwHighDateTime } };
    return static_cast<LONGLONG>(k.QuadPart + u.QuadPart);
}

LONGLONG Now100ns()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return now.QuadPart * 10000000 / frequency.QuadPart;
}

void RunOnce(int speed, bool force, int seconds)
{
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    HWND window = CreateWindowExW(0, MotionTestClassName, NULL, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                  0, 0, width, height, NULL, NULL, AppState.instance, NULL);
    if (window == NULL) {
        printf("the motion window could not be made\n");
        exit(1);
    }
    AppState.testWindow = window;
    SetForegroundWindow(window);
    HWND panel = MotionState.panel;
    SendDlgItemMessageW(panel, IDC_MOTION_SPEED, TBM_SETPOS, TRUE, speed);
    SendMessageW(panel, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, speed), 0);
    if (!force)
        SendDlgItemMessageW(panel, IDC_MOTION_FORCE_UPDATE, BM_CLICK, 0, 0);

    Reports.clear();
    HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, CollectReports, NULL, GetCurrentThreadId());
    HANDLE threads[3] = { AppState.motionThread, MotionState.rateThread, GetCurrentThread() };
    LONGLONG before[3], after[3];
    for (int i = 0; i < 3; ++i)
        before[i] = ThreadTime(threads[i]);
    LONGLONG start = Now100ns();
    SetTimer(NULL, 0, seconds * 1000, EndRun);
    RunMessageLoop();
    LONGLONG wall = Now100ns() - start;
    for (int i = 0; i < 3; ++i)
        after[i] = ThreadTime(threads[i]);
    UnhookWindowsHookEx(hook);

    SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    MSG message;
    while (IsWindow(window) && GetMessageW(&message, NULL, 0, 0))
        DispatchMessageW(&message);

    // The first second is dropped: it began at the default speed, before the
    // speed of this run was set. The others each count a whole second.
    double steps = 0, paints = 0;
    size_t full = Reports.size() > 1 ? Reports.size() - 1 : 0;
    for (size_t i = 1; i < Reports.size(); ++i) {
        steps += Reports[i].steps;
        paints += Reports[i].paints;
    }
    if (full == 0) {
        printf("%5d  %-5s  no report in %d s\n", speed, force ? "on" : "off", seconds);
        return;
    }
    printf("%5d  %-5s  %8.3f  %8.0f  %8.0f%%  %8.0f%%  %8.0f%%\n", speed, force ? "on" : "off",
           steps / full / speed, paints / full, 100.0 * (after[0] - before[0]) / wall,
           100.0 * (after[1] - before[1]) / wall, 100.0 * (after[2] - before[2]) / wall);
    fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? atoi(argv[1]) : 5;
    if (seconds < 2)
        seconds = 2;
    InitializeApplication(GetModuleHandleW(NULL));
    printf("motion window %dx%d, %d s per run (figures averaged over the whole seconds)\n",
           GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), seconds);
    printf("speed  force  achieved  paints/s  step CPU  rate CPU    UI CPU\n");
    const int speeds[] = { 60, 240, 1000 };
    for (int speed : speeds)
        for (int force = 1; force >= 0; --force)
            RunOnce(speed, force != 0, seconds);
    ShutdownApplication();
    return 0;
}
