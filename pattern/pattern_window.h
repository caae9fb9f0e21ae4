// The full-screen pattern test window.
#ifndef PELMIRA_PATTERN_WINDOW_H
#define PELMIRA_PATTERN_WINDOW_H

#include <windows.h>

LRESULT CALLBACK PatternTestWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
