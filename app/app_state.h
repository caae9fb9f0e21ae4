// Program-wide state of the user-interface thread and the drawing objects
// that every window shares.
#ifndef PELMIRA_APP_STATE_H
#define PELMIRA_APP_STATE_H

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include "pattern/pattern_type.h"

// Everything the windows of the program share, in static storage and zero
// at load. Written only on the user-interface thread.
struct AppStateRecord {
    HINSTANCE instance;
    HWND mainWindow;
    HWND testWindow;          // the running pattern or motion window, or null
    HWND patternPopup;
    WCHAR appTitle[128];      // caption of every message box
    WCHAR noMonitorText[128]; // device list text for an adapter without monitor
    LONG isVistaOrLater;
    LONG motionActive;        // the motion window is live: the idle loop repaints it
    HANDLE motionThread;
    LONG displayModeChanged;  // the running test switched the display mode
    RECT savedMainWindowRect;
    WCHAR testDeviceName[32];
    DEVMODEW testDevMode;     // the mode to put back after a switched test
    LONG testDevModeKnown;    // testDevMode could be read before the switch
    PatternType currentPattern;
    HIMAGELIST deviceImageList;
    HTHEME listTheme;
    // While a switched test runs: the crash filter that was in force before
    // the one that puts the display mode back.
    LPTOP_LEVEL_EXCEPTION_FILTER previousCrashFilter;
    LONG crashFilterInstalled;
};

// Drawing objects made once at start-up and deleted after the message loop.
struct SharedGdiObjectSet {
    HBRUSH hollowBrush;
    HBRUSH blackBrush;
    HBRUSH whiteBrush;
    HPEN whitePen;
    HFONT titleFont;
    HFONT monoFont;
    HFONT labelFont;
};

extern AppStateRecord AppState;
extern SharedGdiObjectSet SharedGdiObjects;

// Height in logical units of a font of the given point size at dpiY dots per
// inch, negative so that it selects by character height.
int FontHeightForDpi(int points, int dpiY);

void CreateSharedBrushesAndPen();
void CreateSharedFonts(int dpiY);
void DeleteSharedGdiObjects();

// Whether a running test window exists.
inline bool IsTestWindowAlive()
{
    return AppState.testWindow != NULL && IsWindow(AppState.testWindow);
}

// Device names compared without regard to case, whatever the user's locale.
inline bool SameDeviceName(const WCHAR* a, const WCHAR* b)
{
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

// Loads string table entry stringId and shows it in a message box owned by
// owner, with the program's title as caption.
void ShowStringMessage(HWND owner, UINT stringId, UINT iconFlag);
// The same with the text cut to capacity characters (at most 256) instead of 128.
void ShowStringMessageLimited(HWND owner, UINT stringId, UINT iconFlag, int capacity);

// The message box behind ShowStringMessage; tests replace it to see what the
// program would have shown without a modal loop.
typedef int (WINAPI *MessageBoxFunction)(HWND, LPCWSTR, LPCWSTR, UINT);
extern MessageBoxFunction PelmiraMessageBox;

#endif
