// The display mode list: one item per mode, each owning a DisplayModeEntry.
#include "display/mode_list.h"

#include <stdlib.h>

int FillModeList(HWND, const WCHAR*)
{
    return -1;
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
