// The About and Terms of Use dialogs, opened from the main window's
// "About..." button and driven with the mouse and the keyboard: the e-mail
// link opens the mail program, the Terms of Use link the Terms of Use, with
// "OK" focused and nothing selected.
#include "bench/fixture.h"
#include "mainwin/about_dialog.h"

#include <commctrl.h>

#include <sstream>

namespace {

std::vector<std::wstring> OpenedLinks;  // what ShellExecuteW was asked to open

HINSTANCE WINAPI RecordShellExecute(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                                    INT show)
{
    bool plain = window == NULL && parameters == NULL && directory == NULL && show == SW_SHOW;
    OpenedLinks.push_back((plain ? L"" : L"not plain: ") + std::wstring(verb ? verb : L"") + L" " + (file ? file : L""));
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));  // "succeeded"
}

std::string Title(HWND window)
{
    char text[64] = "";
    return GetWindowTextA(window, text, 64) >= 0 ? text : "";
}

// On each tick of a thread timer, which modal loops dispatch too, notes what
// a user sees of the active dialog; the first About gets Enter on its e-mail
// link and a click on its Terms of Use link, every other dialog is ended.
std::vector<std::string> Seen;

void CALLBACK DriveDialogs(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = GetActiveWindow();
    if (dialog == NULL || GetWindow(dialog, GW_OWNER) == NULL)
        return;
    std::ostringstream seen;
    seen << Title(dialog) << " over " << Title(GetWindow(dialog, GW_OWNER)) << ", focus " << GetDlgCtrlID(GetFocus());
    HWND text = GetDlgItem(dialog, IDC_TERMS_TEXT);
    DWORD start = 0, end = 0;
    SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (text != NULL)
        seen << ", selected " << start << "-" << end << ", top line " << SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0);
    Seen.push_back(seen.str());
    if (Seen.size() == 1) {
        SetFocus(GetDlgItem(dialog, IDC_ABOUT_MAIL));
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
        // The licence note starts with its link: its first letters are on it.
        PostMessageW(GetDlgItem(dialog, IDC_ABOUT_LICENCE), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 6));
        PostMessageW(GetDlgItem(dialog, IDC_ABOUT_LICENCE), WM_LBUTTONUP, 0, MAKELPARAM(4, 6));
    } else {
        EndDialog(dialog, IDCANCEL);
    }
}

using AboutDialogTest = MainWindowTest;

TEST_F(AboutDialogTest, RoundTripThroughTheLinks)
{
    OpenedLinks.clear();
    Seen.clear();
    PelmiraShellExecute = RecordShellExecute;
    std::string before = DescribeCounts(CurrentObjectCounts());
    UINT_PTR timer = SetTimer(NULL, 0, 20, DriveDialogs);
    Command(IDC_ABOUT);
    KillTimer(NULL, timer);
    PelmiraShellExecute = ShellExecuteW;

    ASSERT_EQ(3u, Seen.size());
    EXPECT_EQ("About Pelmira over Pelmira, focus 1", Seen[0]);
    EXPECT_EQ("Terms of Use over About Pelmira, focus 1, selected 0-0, top line 0", Seen[1]);
    EXPECT_EQ(0u, Seen[2].find("About Pelmira over Pelmira")) << Seen[2];
    EXPECT_EQ(std::vector<std::wstring>(1, L"open mailto:" PELMIRA_AUTHOR_ADDRESS), OpenedLinks);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(before, DescribeCounts(CurrentObjectCounts()));
}

}  // namespace
