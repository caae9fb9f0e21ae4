// Start-up and shut-down of the program around its one message loop.
#ifndef PELMIRA_STARTUP_H
#define PELMIRA_STARTUP_H

#include <windows.h>

extern const WCHAR PatternTestClassName[];
extern const WCHAR MotionTestClassName[];

// Fills AppState, initialises the common controls, registers the two test
// window classes and creates the shared drawing objects.
void InitializeApplication(HINSTANCE instance);

// Creates and shows the main window; returns null when it cannot be made.
HWND CreateMainWindow();

// Serves every window until WM_QUIT arrives.
void RunMessageLoop();

// Frees what InitializeApplication made.
void ShutdownApplication();

// The whole run of the program; returns the process exit code.
int RunPelmira(HINSTANCE instance);

#endif
