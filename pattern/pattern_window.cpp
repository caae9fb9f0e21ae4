// The full-screen pattern test window. It paints the pattern on show, steps
// through the patterns with the keys (and the popup's buttons, which send
// the same keys), brings the name popup in when the cursor reaches the top
// edge and sends it away when the cursor leaves, runs the "Moire
// Interference" animation, and puts the display back as it was when it goes.
#include "pattern/pattern_window.h"

#include "app/app_state.h"
#include "display/test_mode.h"
#include "pattern/painters.h"
#include "res/resource.h"

namespace {

const UINT FirstPopupWatchMs = 1000;
const UINT PopupWatchMs = 100;
const UINT InterferenceStepMs = 80;
// The cursor in these top pixel rows brings the popup in and keeps it.
const int PopupTriggerRows = 6;

void ShowPatternNameInPopup()
{
    SetDlgItemTextW(AppState.patternPopup, IDC_PATTERN_NAME, PatternName());
}

// The popup centred at the top edge, hidden, then sliding in.
void OpenPopup(HWND window, int clientWidth)
{
    HWND popup = CreateDialogParamW(AppState.instance, MAKEINTRESOURCEW(IDD_PATTERN_POPUP), window,
                                    PatternPopupDlgProc, 0);
    AppState.patternPopup = popup;
    RECT popupRect;
    SetRectEmpty(&popupRect);
    GetWindowRect(popup, &popupRect);
    SetWindowPos(popup, NULL, (clientWidth - (popupRect.right - popupRect.left)) / 2, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE);
    ShowPatternNameInPopup();
    ShowPatternPopup(popup);
}

void OnCreate(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    AppState.currentPattern = PATTERN_SMPTE_BARS;
    ResetMoireInterference(client.right, client.bottom);
    OpenPopup(window, client.right);
    SetTimer(window, IDT_POPUP_WATCH, FirstPopupWatchMs, NULL);
}

void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    PaintPattern(dc, AppState.currentPattern, client.right, client.bottom);
    EndPaint(window, &paint);
}

void RepaintNow(HWND window)
{
    InvalidateRect(window, NULL, FALSE);
    UpdateWindow(window);
}

// Next (step 1) or previous (step -1) pattern; next at the last pattern ends
// the test. There is no wrap-around.
void StepPattern(HWND window, int step)
{
    if (AppState.currentPattern == PATTERN_MOIRE_INTERFERENCE)
        KillTimer(window, IDT_INTERFERENCE_STEP);
    int pattern = AppState.currentPattern;
    if (step > 0 && pattern < PATTERN_PAST_LAST)
        ++pattern;
    else if (step < 0 && pattern > PATTERN_SMPTE_BARS)
        --pattern;
    AppState.currentPattern = static_cast<PatternType>(pattern);
    if (pattern == PATTERN_PAST_LAST) {
        DestroyWindow(window);
        return;
    }
    RepaintNow(window);
    if (pattern == PATTERN_MOIRE_INTERFERENCE)
        SetTimer(window, IDT_INTERFERENCE_STEP, InterferenceStepMs, NULL);
    ShowPatternNameInPopup();
}

void OnKeyDown(HWND window, WPARAM key)
{
    switch (key) {
    case VK_BACK:
    case VK_LEFT:
        StepPattern(window, -1);
        break;
    case VK_SPACE:
    case VK_RIGHT:
        StepPattern(window, 1);
        break;
    case VK_ESCAPE:
        DestroyWindow(window);
        break;
    }
}

bool InTriggerRows(LONG y)
{
    return y >= 0 && y < PopupTriggerRows;
}

void OnMouseMove(HWND window, LPARAM position)
{
    if (HIWORD(position) >= PopupTriggerRows || IsWindowVisible(AppState.patternPopup))
        return;
    ShowPatternPopup(AppState.patternPopup);
    SetTimer(window, IDT_POPUP_WATCH, PopupWatchMs, NULL);
}

// The shown popup goes once the cursor is neither over it nor in the top rows.
void WatchPopup(HWND window)
{
    HWND popup = AppState.patternPopup;
    POINT cursor;
    if (!IsWindowVisible(popup) || !GetCursorPos(&cursor))
        return;
    ScreenToClient(window, &cursor);
    RECT popupRect;
    GetWindowRect(popup, &popupRect);
    ScreenToClient(window, reinterpret_cast<POINT*>(&popupRect.left));
    ScreenToClient(window, reinterpret_cast<POINT*>(&popupRect.right));
    if (PtInRect(&popupRect, cursor) || InTriggerRows(cursor.y))
        return;
    KillTimer(window, IDT_POPUP_WATCH);
    HidePatternPopup(popup);
    SetFocus(window);
}

void OnTimer(HWND window, WPARAM timer)
{
    if (timer == IDT_POPUP_WATCH) {
        WatchPopup(window);
    } else if (timer == IDT_INTERFERENCE_STEP &&
               AppState.currentPattern == PATTERN_MOIRE_INTERFERENCE) {
        StepMoireInterference();
        RepaintNow(window);
    }
}

}  // namespace

LRESULT CALLBACK PatternTestWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
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
    case WM_KEYDOWN:
        OnKeyDown(window, wParam);
        return 0;
    case WM_TIMER:
        OnTimer(window, wParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(window, lParam);
        return 0;
    case WM_DESTROY:
        ReleaseMoireInterference();
        return 0;
    case WM_NCDESTROY:
        RestoreAfterTest();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
