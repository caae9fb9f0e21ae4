// The About dialog (template 100) and the Terms of Use dialog (template 102).
#ifndef PELMIRA_ABOUT_DIALOG_H
#define PELMIRA_ABOUT_DIALOG_H

#include <windows.h>

INT_PTR CALLBACK AboutDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the modal About dialog owned by owner.
void ShowAboutDialog(HWND owner);

#endif
