// The full-screen motion test window. While it lives, the message loop
// repaints it whenever the queue is empty; it ends on Escape, and its last
// message puts the display back as it was.
#include "motion/motion_window.h"

#include "app/app_state.h"
#include "app/draw.h"
#include "display/test_mode.h"
#include "motion/motion_options.h"

static void OnCreate()
{
    AppState.motionActive = 1;
    ResetMotionOptions();
}

static void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillSolidRect(dc, &client, RGB(0, 0, 0));
    EndPaint(window, &paint);
}

static void OnKeyDown(HWND window, WPARAM key)
{
    if (key == VK_ESCAPE)
        DestroyWindow(window);
}

LRESULT CALLBACK MotionTestWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_KEYDOWN:
        OnKeyDown(window, wParam);
        return 0;
    case WM_DESTROY:
        AppState.motionActive = 0;
        return 0;
    case WM_NCDESTROY:
        RestoreAfterTest();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
