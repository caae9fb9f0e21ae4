// The Monitor details dialog (template 132): the monitor report of the
// selected device, "&Copy" and "Close".
#ifndef PELMIRA_MONITOR_DIALOG_H
#define PELMIRA_MONITOR_DIALOG_H

#include <windows.h>

struct DisplayDeviceRecord;

// lParam of WM_INITDIALOG is the report text to show.
INT_PTR CALLBACK MonitorDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Builds the report of the record's monitor and shows it in the modal
// dialog owned by owner; does nothing for no record or one without monitor.
void ShowMonitorDialog(HWND owner, const DisplayDeviceRecord* record);

#endif
