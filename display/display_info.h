// The information panel of the main window: what the system reports about
// the selected display device.
#ifndef PELMIRA_DISPLAY_INFO_H
#define PELMIRA_DISPLAY_INFO_H

#include <windows.h>

struct DisplayDeviceRecord;

// The numbers behind the panel: device caps of the adapter, the virtual
// screen's size and the monitor rectangle.
struct DisplayCaps {
    int bitsPixel;
    int planes;
    int horzRes;
    int vertRes;
    int horzSize;
    int vertSize;
    int desktopHorzRes;
    int desktopVertRes;
    int logPixelsX;
    int logPixelsY;
    int aspectX;
    int aspectY;
    int aspectXY;
    int vRefresh;
    int virtualWidth;
    int virtualHeight;
    RECT monitorRect;
};

// Fills the panel's fields and the mode list for the device of record; a
// null record leaves both empty.
void ShowDisplayInfo(const DisplayDeviceRecord* record);

// Writes the fourteen fields of the main window from caps.
void ShowDisplayCaps(HWND mainWindow, const DisplayCaps& caps);

// The text of the number-of-colours field for a colour depth ("" for
// depths without a name).
const WCHAR* ColourCountText(int bitsPixel);

#endif
