// The full-screen pattern test window, its name popup and its patterns.
#ifndef PELMIRA_PATTERN_WINDOW_H
#define PELMIRA_PATTERN_WINDOW_H

#include <windows.h>

// The window's timers: the cursor watch while the popup is shown, and the
// "Moire Interference" animation while that pattern is on show.
const UINT_PTR IDT_POPUP_WATCH = 100;
const UINT_PTR IDT_INTERFERENCE_STEP = 101;

LRESULT CALLBACK PatternTestWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The popup (dialog template 130), a child of the pattern window that shows
// the pattern's name and three buttons that act as the keys do.
INT_PTR CALLBACK PatternPopupDlgProc(HWND popup, UINT message, WPARAM wParam, LPARAM lParam);
// Slide the popup in from the top edge, or out upward; without the slide
// where the system cannot animate it.
void ShowPatternPopup(HWND popup);
void HidePatternPopup(HWND popup);

// The animation behind the popup's slide; tests replace it to see the
// requests or to make it fail.
typedef BOOL (WINAPI *AnimateWindowFunction)(HWND, DWORD, DWORD);
extern AnimateWindowFunction PelmiraAnimateWindow;

// A painter of the whole client area of width x height pixels.
typedef void (*PatternPainter)(HDC dc, int width, int height);

// The name of AppState.currentPattern, or null outside 1 to 14.
const WCHAR* PatternName();
// Paints pattern 1 to 14 over the client area; other numbers paint nothing.
void PaintPattern(HDC dc, int pattern, int width, int height);

#endif
