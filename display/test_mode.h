// Running a test in another display mode and putting the old one back.
#ifndef PELMIRA_TEST_MODE_H
#define PELMIRA_TEST_MODE_H

#include <windows.h>

struct DisplayDeviceRecord;

// The flags of the switch to the test mode: applied even if equal to the
// current mode, and temporary (not stored; the system puts the stored mode
// back if the process ends without restoring).
const DWORD TestModeSwitchFlags = CDS_RESET | CDS_FULLSCREEN;
// The flags of the switch back.
const DWORD RestoreModeFlags = CDS_RESET;

// Switches the device to the mode selected in the mode list when the main
// window's check box asks for it; false when the system refused the mode
// (reported to the user).
BOOL ApplyTestDisplayMode(HWND mainWindow, const DisplayDeviceRecord* record);

// Puts back the mode saved by ApplyTestDisplayMode, if it switched, and the
// main window where it was. Used when a test start fails after a switch.
void RevertTestDisplayMode();

// The last step of every test window (its WM_NCDESTROY).
void RestoreAfterTest();

// The display settings change behind the switches; tests replace it to see
// the requests or to refuse them.
typedef LONG (WINAPI *ChangeDisplaySettingsFunction)(LPCWSTR, DEVMODEW*, HWND, DWORD, LPVOID);
extern ChangeDisplaySettingsFunction PelmiraChangeDisplaySettings;

#endif
