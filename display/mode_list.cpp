// The display mode list: one item per mode, each owning a DisplayModeEntry.
#include "display/mode_list.h"

#include <stdlib.h>

#include "app/format_text.h"

EnumDisplaySettingsFunction PelmiraEnumDisplaySettings = EnumDisplaySettingsExW;

void ClearDevMode(DEVMODEW* mode)
{
    ZeroMemory(mode, sizeof(*mode));
    mode->dmSize = sizeof(*mode);
    mode->dmDriverExtra = 0;
}

bool ModeMatchesEntry(const DEVMODEW& mode, const DisplayModeEntry& entry)
{
    return mode.dmBitsPerPel == entry.bitsPerPel && mode.dmDisplayFrequency == entry.frequency &&
           mode.dmDisplayFlags == entry.displayFlags && mode.dmPelsWidth == entry.width &&
           mode.dmPelsHeight == entry.height;
}

static DisplayModeEntry EntryFromMode(const DEVMODEW& mode)
{
    DisplayModeEntry entry = { mode.dmBitsPerPel, mode.dmPelsWidth, mode.dmPelsHeight,
                               mode.dmDisplayFlags, mode.dmDisplayFrequency };
    return entry;
}

// Appends one mode with its record; returns the item's index, or -1 when the
// list refused the item. An item whose record cannot be attached stays
// without one (item data 0).
static int AddModeItem(HWND list, const DEVMODEW& mode)
{
    WCHAR text[256];
    const WCHAR* interlaced = (mode.dmDisplayFlags & DM_INTERLACED) ? L", Interlaced" : L"";
    FormatText(text, 256, L"%u x %u, %u bit, %u Hz%ls\n", mode.dmPelsWidth, mode.dmPelsHeight,
               mode.dmBitsPerPel, mode.dmDisplayFrequency, interlaced);
    LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (index < 0)
        return -1;

    DisplayModeEntry* entry = static_cast<DisplayModeEntry*>(malloc(sizeof(DisplayModeEntry)));
    if (entry != NULL) {
        *entry = EntryFromMode(mode);
        if (SendMessageW(list, LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(entry)) == LB_ERR)
            free(entry);
    }
    return static_cast<int>(index);
}

int FillModeList(HWND list, const WCHAR* deviceName)
{
    DEVMODEW current;
    ClearDevMode(&current);
    PelmiraEnumDisplaySettings(deviceName, ENUM_CURRENT_SETTINGS, &current, 0);

    DEVMODEW mode;
    ClearDevMode(&mode);
    int selected = -1;
    for (DWORD number = 0; PelmiraEnumDisplaySettings(deviceName, number, &mode, 0); ++number) {
        int index = AddModeItem(list, mode);
        if (index >= 0 && selected < 0 && ModeMatchesEntry(current, EntryFromMode(mode)))
            selected = index;
    }
    return selected;
}

void ClearModeList(HWND list)
{
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int index = count - 1; index >= 0; --index) {
        LRESULT data = SendMessageW(list, LB_GETITEMDATA, index, 0);
        if (data != LB_ERR && data != 0)
            free(reinterpret_cast<DisplayModeEntry*>(data));
        SendMessageW(list, LB_DELETESTRING, index, 0);
    }
}
