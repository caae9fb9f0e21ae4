// The information panel of the main window.
#ifndef PELMIRA_DISPLAY_INFO_H
#define PELMIRA_DISPLAY_INFO_H

struct DisplayDeviceRecord;

// Fills the panel's fields and the mode list for the device of record.
void ShowDisplayInfo(const DisplayDeviceRecord* record);

#endif
