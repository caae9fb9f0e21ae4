// The full-screen pattern test window. It paints the pattern on show and ends
// on Escape; its last message puts the display back as it was.
#include "pattern/pattern_window.h"

#include "app/app_state.h"
#include "app/draw.h"
#include "display/test_mode.h"

static void OnCreate()
{
    AppState.currentPattern = PATTERN_SMPTE_BARS;
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

LRESULT CALLBACK PatternTestWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
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
    case WM_NCDESTROY:
        RestoreAfterTest();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
