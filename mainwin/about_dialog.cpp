// The About dialog.
#include "mainwin/about_dialog.h"

#include "app/app_state.h"

static const int AboutTemplateId = 100;

INT_PTR CALLBACK AboutDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(window, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

void ShowAboutDialog(HWND owner)
{
    if (AppState.instance != NULL)
        DialogBoxParamW(AppState.instance, MAKEINTRESOURCEW(AboutTemplateId), owner, AboutDlgProc, 0);
}
