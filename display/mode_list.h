// The main window's list of display modes of the selected device.
#ifndef PELMIRA_MODE_LIST_H
#define PELMIRA_MODE_LIST_H

#include <windows.h>

// The record of one mode-list item (its item data).
struct DisplayModeEntry {
    DWORD bitsPerPel;
    DWORD width;
    DWORD height;
    DWORD displayFlags;
    DWORD frequency;
};

// Lists every mode of deviceName in the system's order; returns the index of
// the first item equal to the current mode, or -1.
int FillModeList(HWND list, const WCHAR* deviceName);

// Empties the list and frees the record of every item.
void ClearModeList(HWND list);

// Whether a mode has the entry's depth, rate, flags and size.
bool ModeMatchesEntry(const DEVMODEW& mode, const DisplayModeEntry& entry);

// A zero-filled DEVMODEW with its size set.
void ClearDevMode(DEVMODEW* mode);

// The display settings enumeration behind the list; tests replace it to
// offer modes that the machine does not have.
typedef BOOL (WINAPI *EnumDisplaySettingsFunction)(LPCWSTR, DWORD, DEVMODEW*, DWORD);
extern EnumDisplaySettingsFunction PelmiraEnumDisplaySettings;

#endif
