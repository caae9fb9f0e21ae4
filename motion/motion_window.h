// The full-screen motion test window.
#ifndef PELMIRA_MOTION_WINDOW_H
#define PELMIRA_MOTION_WINDOW_H

#include <windows.h>

LRESULT CALLBACK MotionTestWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
