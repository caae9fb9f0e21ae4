// Running a test in another display mode and putting the old one back.
#ifndef PELMIRA_TEST_MODE_H
#define PELMIRA_TEST_MODE_H

#include <windows.h>

struct DisplayDeviceRecord;

// Switches the device to the mode selected in the mode list when the main
// window asks for it; false when the system refused the mode (reported).
BOOL ApplyTestDisplayMode(HWND mainWindow, const DisplayDeviceRecord* record);

// Puts back the mode saved by ApplyTestDisplayMode, if it switched, and the
// main window where it was. Used when a test start fails after a switch.
void RevertTestDisplayMode();

// The last step of every test window (its WM_NCDESTROY).
void RestoreAfterTest();

#endif
