// The Terms of Use dialog: the program's licence in a read-only text.
#include "mainwin/about_dialog.h"

#include "app/app_state.h"
#include "res/resource.h"

// 22 lines, each ended by CR LF: a banner, the introduction, four terms (the
// third names the owner), the rights line, thanks and the author's address.
// The edit control does not wrap, so long terms are broken by hand and
// continue indented by two spaces.
static const WCHAR TermsOfUseText[] =
    L"===========================\r\n"
    L" Pelmira \"Terms of Use\"\r\n"
    L"===========================\r\n"
    L"\r\n"
    L"For using this software you must follow and obey the following items:\r\n"
    L"\r\n"
    L"- Pelmira is freeware. You may use it free of charge, at home and at\r\n"
    L"  work, on as many computers as you like.\r\n"
    L"\r\n"
    L"- You may pass Pelmira on to others, but only unchanged and free of\r\n"
    L"  charge.\r\n"
    L"\r\n"
    L"- All rights to Pelmira stay with its owner, the Pelmira developers.\r\n"
    L"\r\n"
    L"- Pelmira comes with no warranty: you use it at your own risk, also when\r\n"
    L"  it changes the display mode of your monitor for the length of a test.\r\n"
    L"\r\n"
    PELMIRA_RIGHTS_LINE L"\r\n"
    L"\r\n"
    L"Thank you for choose this application\r\n"
    L"email: " PELMIRA_AUTHOR_ADDRESS L"\r\n"
    L"\r\n";

static BOOL OnInitDialog(HWND window)
{
    // Without its tab stop the text is not the first focus, so the dialog
    // manager neither focuses nor selects it: "OK" takes the focus.
    HWND text = GetDlgItem(window, IDC_TERMS_TEXT);
    SetWindowLongW(text, GWL_STYLE, GetWindowLongW(text, GWL_STYLE) & ~WS_TABSTOP);
    SetWindowTextW(text, TermsOfUseText);
    return TRUE;
}

INT_PTR CALLBACK TermsDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(window);
    case WM_COMMAND:
        return EndOnOkOrCancel(window, LOWORD(wParam));
    }
    return FALSE;
}

void ShowTermsDialog(HWND owner)
{
    if (AppState.instance != NULL)
        DialogBoxParamW(AppState.instance, MAKEINTRESOURCEW(IDD_TERMS), owner, TermsDlgProc, 0);
}
