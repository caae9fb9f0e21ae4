// The Monitor details dialog: the monitor report in a read-only text, put on
// the clipboard by "&Copy"; "Close" and Escape end it.
#include "mainwin/monitor_dialog.h"

#include <string.h>

#include <vector>

#include "app/app_state.h"
#include "display/monitor_query.h"
#include "mainwin/about_dialog.h"
#include "mainwin/device_list.h"
#include "res/resource.h"

static BOOL OnInitDialog(HWND window, const WCHAR* report)
{
    HWND text = GetDlgItem(window, IDC_MONITOR_REPORT);
    SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(SharedGdiObjects.monoFont), FALSE);
    SetWindowTextW(text, report);
    // "Close" takes the focus, so the report does not open all selected.
    SetFocus(GetDlgItem(window, IDCANCEL));
    return FALSE;
}

// Hands a copy of text (length characters and the terminator) to the clipboard.
static void PutOnClipboard(HWND owner, const WCHAR* text, int length)
{
    SIZE_T bytes = (static_cast<SIZE_T>(length) + 1) * sizeof(WCHAR);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == NULL)
        return;
    void* copy = GlobalLock(memory);
    if (copy != NULL) {
        memcpy(copy, text, bytes);
        GlobalUnlock(memory);
        if (OpenClipboard(owner)) {
            EmptyClipboard();
            // Once set, the memory is the clipboard's.
            if (SetClipboardData(CF_UNICODETEXT, memory) != NULL)
                memory = NULL;
            CloseClipboard();
        }
    }
    if (memory != NULL)
        GlobalFree(memory);
}

static void CopyReport(HWND window)
{
    HWND text = GetDlgItem(window, IDC_MONITOR_REPORT);
    std::vector<WCHAR> report(GetWindowTextLengthW(text) + 1);
    int length = GetWindowTextW(text, report.data(), static_cast<int>(report.size()));
    PutOnClipboard(window, report.data(), length);
}

static BOOL OnCommand(HWND window, int command)
{
    if (command != IDC_MONITOR_COPY)
        return EndOnOkOrCancel(window, command);
    CopyReport(window);
    return TRUE;
}

INT_PTR CALLBACK MonitorDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(window, reinterpret_cast<const WCHAR*>(lParam));
    case WM_COMMAND:
        return OnCommand(window, LOWORD(wParam));
    }
    return FALSE;
}

void ShowMonitorDialog(HWND owner, const DisplayDeviceRecord* record)
{
    if (AppState.instance == NULL || record == NULL || !record->hasMonitor)
        return;
    std::vector<WCHAR> report(MonitorReportCapacity);
    BuildMonitorReport(record->adapter.DeviceName, report.data(), MonitorReportCapacity);
    DialogBoxParamW(AppState.instance, MAKEINTRESOURCEW(IDD_MONITOR), owner, MonitorDlgProc,
                    reinterpret_cast<LPARAM>(report.data()));
}
