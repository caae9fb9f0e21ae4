// The About dialog (template 100) and the Terms of Use dialog (template 102).
#ifndef PELMIRA_ABOUT_DIALOG_H
#define PELMIRA_ABOUT_DIALOG_H

#include <windows.h>

#include "res/version.h"

// The rights line (res/version.h) and the author's address appear in both
// dialogs. They are literals, not arrays, so that the Terms of Use text and
// the e-mail link can be put together from them at compile time.
#define PELMIRA_AUTHOR_ADDRESS L"pelmira@example.org"

INT_PTR CALLBACK AboutDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK TermsDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Run the modal About or Terms of Use dialog owned by owner; they do nothing
// while AppState.instance is null.
void ShowAboutDialog(HWND owner);
void ShowTermsDialog(HWND owner);

// The command handling of both dialogs: "OK" and Escape end the dialog with
// their identifier; other commands are not handled (FALSE).
BOOL EndOnOkOrCancel(HWND dialog, int command);

// Opens a link target with its program (ShellExecuteW); tests replace it to
// see the e-mail link's target without starting a mail program.
typedef HINSTANCE (WINAPI *ShellExecuteFunction)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
extern ShellExecuteFunction PelmiraShellExecute;

#endif
