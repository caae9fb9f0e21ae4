// The main window (dialog 129) and the start of the two full-screen tests.
#ifndef PELMIRA_MAIN_DIALOG_H
#define PELMIRA_MAIN_DIALOG_H

#include <windows.h>

INT_PTR CALLBACK MainDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Context of FindMonitorRect: the adapter to look for and what was found.
struct MonitorSearch {
    const WCHAR* deviceName;
    RECT* rect;
    LONG found;
};

BOOL CALLBACK FindMonitorRect(HMONITOR monitor, HDC monitorDc, LPRECT monitorRect, LPARAM context);

// The monitor query behind FindMonitorRect; tests replace it to offer a
// monitor that the machine does not have (a second one at 1920,0, say).
typedef BOOL (WINAPI *GetMonitorInfoFunction)(HMONITOR, LPMONITORINFO);
extern GetMonitorInfoFunction PelmiraGetMonitorInfo;

// The "&Pattern Test" (IDC_PATTERN_TEST) and "&Motion Test" (IDC_MOTION_TEST)
// commands: starts the test on the first selected device row.
void StartTest(HWND mainWindow, int command);

// Creates the test window of a test class; tests replace it to try a window
// that cannot be created.
typedef HWND (WINAPI *CreateWindowFunction)(DWORD, LPCWSTR, LPCWSTR, DWORD, int, int, int, int,
                                            HWND, HMENU, HINSTANCE, LPVOID);
extern CreateWindowFunction PelmiraCreateTestWindow;

#endif
