// Owner drawing of the device list: each row shows the adapter on its upper
// line and the adapter's first monitor on its lower line.
#include "mainwin/device_list.h"

#include <uxtheme.h>
#include <vssym32.h>

#include "app/app_state.h"
#include "res/resource.h"

struct StateWord {
    DWORD bit;
    const WCHAR* word;
};

static const StateWord StateWords[] = {
    { DISPLAY_DEVICE_PRIMARY_DEVICE, L"PRIMARY" },
    { DISPLAY_DEVICE_ATTACHED_TO_DESKTOP, L"DESKTOP" },
    { DISPLAY_DEVICE_MULTI_DRIVER, L"MULTI" },
    { DISPLAY_DEVICE_MIRRORING_DRIVER, L"MIRROR" },
    { DISPLAY_DEVICE_VGA_COMPATIBLE, L"VGA" },
    { 0x200000 /* DISPLAY_DEVICE_TS_COMPATIBLE */, L"TS" },
    { DISPLAY_DEVICE_REMOVABLE, L"REMOVABLE" },
    { DISPLAY_DEVICE_MODESPRUNED, L"MODESPRUNED" },
    { 0x4000000 /* DISPLAY_DEVICE_REMOTE */, L"REMOTE" },
    { 0x2000000 /* DISPLAY_DEVICE_DISCONNECT */, L"DISCONNECT" },
    { 0x80000 /* DISPLAY_DEVICE_UNSAFE_MODES_ON */, L"UNSAFE" },
};

// Appends text to a terminated buffer of DeviceStateTextCapacity characters,
// cutting it where the buffer ends.
static void AppendBounded(WCHAR* buffer, const WCHAR* text)
{
    int length = lstrlenW(buffer);
    while (*text != L'\0' && length < DeviceStateTextCapacity - 1)
        buffer[length++] = *text++;
    buffer[length] = L'\0';
}

void FormatDeviceStateFlags(DWORD flags, WCHAR* buffer)
{
    buffer[0] = L'\0';
    for (const StateWord& entry : StateWords) {
        if (!(flags & entry.bit))
            continue;
        if (buffer[0] != L'\0')
            AppendBounded(buffer, L", ");
        AppendBounded(buffer, entry.word);
    }
}

// How one row is drawn: the theme state or the classic colours.
struct RowLook {
    int themeState;       // LVP_LISTITEM state, with a theme
    COLORREF textColor;   // without a theme
    bool selected;
};

static RowLook PaintRowBackground(const DRAWITEMSTRUCT* item)
{
    HWND list = item->hwndItem;
    bool selected = (item->itemState & ODS_SELECTED) != 0;
    bool listFocused = GetFocus() == list;
    bool itemFocused = listFocused &&
        (SendMessageW(list, LVM_GETITEMSTATE, item->itemID, LVIS_FOCUSED) & LVIS_FOCUSED) != 0;

    RowLook look;
    look.selected = selected;
    look.textColor = 0;
    look.themeState = LISS_NORMAL;
    if (AppState.listTheme != NULL) {
        if (selected) {
            look.themeState = !listFocused ? LISS_SELECTEDNOTFOCUS
                            : itemFocused  ? LISS_HOTSELECTED
                                           : LISS_SELECTED;
            DrawThemeBackground(AppState.listTheme, item->hDC, LVP_LISTITEM, look.themeState,
                                &item->rcItem, NULL);
        }
        return look;
    }

    int background = !selected ? COLOR_WINDOW : listFocused ? COLOR_HIGHLIGHT : COLOR_BTNFACE;
    int text = !selected ? COLOR_WINDOWTEXT : listFocused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT;
    FillRect(item->hDC, &item->rcItem, GetSysColorBrush(background));
    look.textColor = GetSysColor(text);
    if (itemFocused)
        DrawFocusRect(item->hDC, &item->rcItem);
    return look;
}

// Hardware identifiers hold '&', which must show as it is, not as a mnemonic.
static const UINT RowTextFlags = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;

static void DrawRowText(HDC dc, const RowLook& look, const WCHAR* text, RECT* rect)
{
    if (AppState.listTheme != NULL)
        DrawThemeText(AppState.listTheme, dc, LVP_LISTITEM, look.themeState, text, -1,
                      RowTextFlags, 0, rect);
    else
        DrawTextW(dc, text, -1, rect, RowTextFlags);
}

static void DrawNameColumn(HDC dc, const RowLook& look, const DisplayDeviceRecord* record,
                           RECT* upper, RECT* lower)
{
    ImageList_Draw(AppState.deviceImageList, 0, dc, upper->left,
                   upper->top + (upper->bottom - upper->top - 16) / 2, ILD_TRANSPARENT);
    upper->left += 18;
    DrawRowText(dc, look, record->adapter.DeviceName, upper);

    lower->left += 16;
    if (record->hasMonitor) {
        ImageList_Draw(AppState.deviceImageList, 1, dc, lower->left,
                       lower->top + (lower->bottom - lower->top - 16) / 2, ILD_NORMAL);
        lower->left += 18;
        DrawRowText(dc, look, record->monitor.DeviceName, lower);
        return;
    }
    // The placeholder is grey, except on a selected row drawn without a theme,
    // where it keeps the row's text colour so that it stays readable.
    COLORREF previous = GetTextColor(dc);
    if (AppState.listTheme != NULL || !look.selected)
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, AppState.noMonitorText, -1, lower, RowTextFlags);
    SetTextColor(dc, previous);
}

static void DrawDetailColumn(HDC dc, const RowLook& look, const DisplayDeviceRecord* record,
                             int column, RECT* upper, RECT* lower)
{
    WCHAR adapterState[DeviceStateTextCapacity];
    WCHAR monitorState[DeviceStateTextCapacity];
    const WCHAR* adapterText = L"";
    const WCHAR* monitorText = L"";
    switch (column) {
    case 1:
        adapterText = record->adapter.DeviceString;
        monitorText = record->monitor.DeviceString;
        break;
    case 2:
        FormatDeviceStateFlags(record->adapter.StateFlags, adapterState);
        FormatDeviceStateFlags(record->monitor.StateFlags, monitorState);
        adapterText = adapterState;
        monitorText = monitorState;
        break;
    case 3:
        adapterText = record->adapter.DeviceID;
        monitorText = record->monitor.DeviceID;
        break;
    default:
        adapterText = record->adapter.DeviceKey;
        monitorText = record->monitor.DeviceKey;
        break;
    }
    upper->left += 6;
    DrawRowText(dc, look, adapterText, upper);
    if (record->hasMonitor) {
        lower->left += 6;
        DrawRowText(dc, look, monitorText, lower);
    }
}

static void DrawDeviceColumn(const DRAWITEMSTRUCT* item, const RowLook& look,
                             const DisplayDeviceRecord* record, int column)
{
    RECT cell;
    cell.top = column;
    cell.left = LVIR_LABEL;
    SendMessageW(item->hwndItem, LVM_GETSUBITEMRECT, item->itemID, reinterpret_cast<LPARAM>(&cell));
    int mid = cell.top + (cell.bottom - cell.top) / 2;
    RECT upper = { cell.left, cell.top, cell.right - 2, mid };
    RECT lower = { cell.left, mid, cell.right - 2, cell.bottom };

    if (AppState.listTheme == NULL)
        SetTextColor(item->hDC, look.textColor);
    if (column == 0)
        DrawNameColumn(item->hDC, look, record, &upper, &lower);
    else
        DrawDetailColumn(item->hDC, look, record, column, &upper, &lower);
}

void DrawDeviceListItem(UINT controlId, const DRAWITEMSTRUCT* item)
{
    if (item->CtlType != ODT_LISTVIEW || controlId != IDC_DEVICE_LIST)
        return;
    const DisplayDeviceRecord* record = reinterpret_cast<const DisplayDeviceRecord*>(item->itemData);
    SetBkMode(item->hDC, TRANSPARENT);
    RowLook look = PaintRowBackground(item);
    if (record == NULL)
        return;
    for (int column = 0; column < 5; ++column)
        DrawDeviceColumn(item, look, record, column);
}
