// The About dialog: product name, version, rights line, the licence note
// whose link opens the Terms of Use, and the author's e-mail link.
#include "mainwin/about_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/app_state.h"
#include "res/resource.h"

ShellExecuteFunction PelmiraShellExecute = ShellExecuteW;

// Link 0 of each SysLink is the one the dialog acts on. The note starts
// with its link: in a mouse click Wine's SysLink counts the text before a
// link as items too, and only a link with nothing before it is link 0 there
// as it is on Windows. (Enter on a link is counted right by both.)
static const WCHAR LicenceNote[] =
    L"<a>Terms of Use</a> apply to Pelmira: it is freeware that you may use and pass on.";
static const WCHAR MailLink[] =
    L"e-mail: <a href=\"mailto:" PELMIRA_AUTHOR_ADDRESS L"\">" PELMIRA_AUTHOR_ADDRESS L"</a>";

static BOOL OnInitDialog(HWND window)
{
    SetWindowTextW(window, L"About Pelmira");
    SetDlgItemTextW(window, IDC_ABOUT_PRODUCT, L"Pelmira");
    SetDlgItemTextW(window, IDC_ABOUT_VERSION, L"Version: " PELMIRA_VERSION_TEXT);
    SetDlgItemTextW(window, IDC_ABOUT_RIGHTS, L"" PELMIRA_RIGHTS_LINE);
    SetDlgItemTextW(window, IDC_ABOUT_LICENCE, LicenceNote);
    SetDlgItemTextW(window, IDC_ABOUT_MAIL, MailLink);
    return TRUE;
}

// A link was clicked or Enter pressed on it. The link is known by its
// control and its index; its id attribute plays no part.
static void OnLinkActivated(HWND window, const NMLINK* link)
{
    if (link->item.iLink != 0)
        return;
    if (link->hdr.idFrom == IDC_ABOUT_LICENCE)
        ShowTermsDialog(window);
    else if (link->hdr.idFrom == IDC_ABOUT_MAIL)
        PelmiraShellExecute(NULL, L"open", link->item.szUrl, NULL, NULL, SW_SHOW);
}

static BOOL OnNotify(HWND window, const NMHDR* header)
{
    // Only the two SysLinks send an NMLINK with these codes.
    bool fromLink = header->idFrom == IDC_ABOUT_LICENCE || header->idFrom == IDC_ABOUT_MAIL;
    if (fromLink && (header->code == NM_CLICK || header->code == NM_RETURN))
        OnLinkActivated(window, reinterpret_cast<const NMLINK*>(header));
    return FALSE;
}

BOOL EndOnOkOrCancel(HWND dialog, int command)
{
    if (command != IDOK && command != IDCANCEL)
        return FALSE;
    EndDialog(dialog, command);
    return TRUE;
}

INT_PTR CALLBACK AboutDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(window);
    case WM_NOTIFY:
        return OnNotify(window, reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        return EndOnOkOrCancel(window, LOWORD(wParam));
    }
    return FALSE;
}

void ShowAboutDialog(HWND owner)
{
    if (AppState.instance != NULL)
        DialogBoxParamW(AppState.instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutDlgProc, 0);
}
