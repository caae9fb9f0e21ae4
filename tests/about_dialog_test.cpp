// The About and Terms of Use dialogs: their templates, their texts and links,
// what each link notification does, and the modal round trip from the main
// window's "About..." button through the Terms of Use and back.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/startup.h"
#include "bench/bench.h"
#include "bench/dialog_template.h"
#include "mainwin/about_dialog.h"
#include "res/resource.h"

namespace {

// ---------------------------------------------------------------- templates

const DWORD Child = WS_CHILD | WS_VISIBLE;
const DWORD DialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS;

struct ExpectedDialog {
    int templateId;
    short cx, cy;
    const WCHAR* caption;
    WORD weight;
    const ExpectedControl* controls;
    size_t controlCount;
};

// The logo's text is the ordinal of bitmap IDB_LOGO, which the template
// reader shows as "#ordinal"; the bitmap itself is checked at run time.
const ExpectedControl AboutControls[] = {
    { -1, L"Static", L"#ordinal", 7, 7, 28, 85, Child | SS_BITMAP | SS_REALSIZEIMAGE | SS_SUNKEN },
    { 1000, L"Static", L"Product", 41, 14, 175, 8, Child | WS_GROUP | SS_NOPREFIX },
    { 1001, L"Static", L"Version", 41, 26, 175, 8, Child | WS_GROUP },
    { 1002, L"Static", L"Rights", 41, 38, 175, 8, Child | WS_GROUP },
    { 1003, L"SysLink", L"Licence", 41, 50, 175, 26, Child },
    { 1004, L"SysLink", L"E-mail", 7, 80, 108, 14, Child },
    { IDOK, L"Button", L"OK", 166, 80, 50, 14, Child | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON },
};

const ExpectedControl TermsControls[] = {
    { 1006, L"Edit", L"", 7, 7, 295, 144,
      Child | WS_BORDER | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_AUTOHSCROLL | ES_READONLY |
          ES_WANTRETURN },
    { IDOK, L"Button", L"OK", 252, 156, 50, 14, Child | WS_TABSTOP | BS_DEFPUSHBUTTON },
};

const ExpectedDialog Dialogs[] = {
    { 100, 223, 100, L"About...", 0, AboutControls, ARRAYSIZE(AboutControls) },
    { 102, 309, 177, L"Terms of Use", 400, TermsControls, ARRAYSIZE(TermsControls) },
};

TEST(AboutAndTermsTemplates, MatchTheirTables)
{
    for (const ExpectedDialog& expected : Dialogs) {
        SCOPED_TRACE(testing::Message() << "template " << expected.templateId);
        DialogTemplate dialog;
        ASSERT_TRUE(LoadDialogTemplate(expected.templateId, &dialog));
        EXPECT_EQ(DialogStyle, dialog.style) << std::hex << (DialogStyle ^ dialog.style);
        EXPECT_EQ(0u, dialog.exStyle);
        EXPECT_EQ(expected.cx, dialog.cx);
        EXPECT_EQ(expected.cy, dialog.cy);
        EXPECT_EQ(expected.caption, dialog.caption);
        EXPECT_EQ(L"MS Shell Dlg", dialog.fontFace);
        EXPECT_EQ(8, dialog.pointSize);
        EXPECT_EQ(expected.weight, dialog.weight);
        EXPECT_EQ(0, dialog.italic);
        ExpectControls(expected.controls, expected.controlCount, dialog);
    }
}

// ------------------------------------------------------------------ helpers

std::wstring WindowText(HWND window)
{
    std::vector<WCHAR> buffer(GetWindowTextLengthW(window) + 1);
    GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

// Splits text into the lines that CR LF ends; a rest after the last CR LF,
// and any CR or LF on its own, are reported apart.
struct SplitText {
    std::vector<std::wstring> lines;
    std::wstring rest;
    int strayBreaks;
};

SplitText SplitCrLf(const std::wstring& text)
{
    SplitText split = { {}, L"", 0 };
    size_t start = 0;
    for (size_t end = text.find(L"\r\n"); end != std::wstring::npos; end = text.find(L"\r\n", start)) {
        split.lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    split.rest = text.substr(start);
    for (const std::wstring& line : split.lines)
        split.strayBreaks += static_cast<int>(line.find_first_of(L"\r\n") != std::wstring::npos);
    return split;
}

// The link's target as SysLink parsed it, or "<none>" when there is no link
// with that index.
std::wstring LinkUrl(HWND syslink, int index)
{
    LITEM item;
    ZeroMemory(&item, sizeof(item));
    item.mask = LIF_ITEMINDEX | LIF_URL;
    item.iLink = index;
    if (!SendMessageW(syslink, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)))
        return L"<none>";
    return item.szUrl;
}

// A point of the control's client area that lies on link index, by hit test.
bool FindLinkPoint(HWND syslink, int index, POINT* found)
{
    RECT client;
    GetClientRect(syslink, &client);
    for (int y = 1; y < client.bottom; y += 2) {
        for (int x = 1; x < client.right; x += 2) {
            LHITTESTINFO hit;
            ZeroMemory(&hit, sizeof(hit));
            hit.pt.x = x;
            hit.pt.y = y;
            if (SendMessageW(syslink, LM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) && hit.item.iLink == index) {
                *found = hit.pt;
                return true;
            }
        }
    }
    return false;
}

// Clicks link index with the left button as a user would: the messages go
// through the queue, so a modal loop or PumpMessagesUntil delivers them.
void ClickLink(HWND syslink, int index)
{
    POINT point = { 0, 0 };
    ASSERT_TRUE(FindLinkPoint(syslink, index, &point)) << "link " << index << " not on screen";
    LPARAM at = MAKELPARAM(point.x, point.y);
    PostMessageW(syslink, WM_MOUSEMOVE, 0, at);
    PostMessageW(syslink, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(syslink, WM_LBUTTONUP, 0, at);
}

// Presses and releases key on the window that has the keyboard focus.
void PressKey(UINT key)
{
    HWND focus = GetFocus();
    ASSERT_TRUE(focus != NULL) << "no window has the focus";
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}

// ------------------------------------------------ calls to the mail program

struct ShellCall {
    HWND window;
    std::wstring verb;
    std::wstring file;
    bool noParameters;
    bool noDirectory;
    INT show;
};

std::vector<ShellCall> ShellCalls;

HINSTANCE WINAPI RecordShellExecute(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                    LPCWSTR directory, INT show)
{
    ShellCall call = { window, verb ? verb : L"<null>", file ? file : L"<null>", parameters == NULL,
                       directory == NULL, show };
    ShellCalls.push_back(call);
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));  // "succeeded"
}

void ExpectMailProgramOpened(const std::wstring& url)
{
    ASSERT_EQ(1u, ShellCalls.size());
    const ShellCall& call = ShellCalls[0];
    EXPECT_EQ(NULL, call.window);
    EXPECT_EQ(L"open", call.verb);
    EXPECT_EQ(url, call.file);
    EXPECT_TRUE(call.noParameters);
    EXPECT_TRUE(call.noDirectory);
    EXPECT_EQ(SW_SHOW, call.show);
}

// ------------------------------------------------------ modal dialog driver
//
// DialogBoxParamW runs its own loop, so the tests act from inside it: a
// thread timer, which every modal loop dispatches, looks for the dialog that
// the next step waits for (visible, enabled, owned by the step's owner) and
// runs the step on it. A dialog that no step waits for is a failure and is
// closed at once; after 5 s every dialog still open is closed, so a fault
// can never hang the run.

struct ModalStep {
    const char* name;
    std::function<HWND()> owner;
    std::function<void(HWND dialog)> act;
};

struct ModalDriverState {
    std::vector<ModalStep> steps;
    size_t next;
    DWORD start;
    UINT_PTR timer;
    bool timedOut;
};

ModalDriverState Driver;

struct DialogSearch {
    HWND owner;  // NULL: any owned dialog
    HWND found;
};

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM context)
{
    DialogSearch* search = reinterpret_cast<DialogSearch*>(context);
    WCHAR className[16];
    GetClassNameW(window, className, ARRAYSIZE(className));
    HWND owner = GetWindow(window, GW_OWNER);
    if (lstrcmpW(className, L"#32770") != 0 || owner == NULL || !IsWindowVisible(window) || !IsWindowEnabled(window))
        return TRUE;
    if (search->owner != NULL && owner != search->owner)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND FindDialog(HWND owner)
{
    DialogSearch search = { owner, NULL };
    EnumThreadWindows(GetCurrentThreadId(), FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void CloseEveryOwnedDialog()
{
    // EndDialog hides a dialog at once and enables its owner; its own loop
    // destroys it later. Bounded, should a dialog refuse to hide.
    for (int i = 0; i < 10; ++i) {
        HWND dialog = FindDialog(NULL);
        if (dialog == NULL)
            return;
        EndDialog(dialog, 0);
    }
}

void CALLBACK DriveModalDialogs(HWND, UINT, UINT_PTR, DWORD)
{
    if (GetTickCount() - Driver.start > 5000) {
        if (!Driver.timedOut)
            ADD_FAILURE() << "modal dialogs still open after 5 s, at step " << Driver.next;
        Driver.timedOut = true;
        CloseEveryOwnedDialog();
        return;
    }
    if (Driver.next < Driver.steps.size()) {
        const ModalStep& step = Driver.steps[Driver.next];
        HWND dialog = FindDialog(step.owner());
        if (dialog == NULL)
            return;
        // Counted before it runs: a step that opens a dialog returns only
        // when that dialog's loop has ended, and the timer runs inside it.
        ++Driver.next;
        SCOPED_TRACE(step.name);
        step.act(dialog);
        return;
    }
    HWND stray = FindDialog(NULL);
    if (stray != NULL) {
        ADD_FAILURE() << "a dialog opened that no step waits for: " << Narrow(WindowText(stray));
        EndDialog(stray, 0);
    }
}

void StartModalDriver(const std::vector<ModalStep>& steps)
{
    Driver.steps = steps;
    Driver.next = 0;
    Driver.start = GetTickCount();
    Driver.timedOut = false;
    Driver.timer = SetTimer(NULL, 0, 20, DriveModalDialogs);
}

// Stops the driver and reports the steps that never ran.
void StopModalDriver()
{
    if (Driver.timer != 0)
        KillTimer(NULL, Driver.timer);
    Driver.timer = 0;
    for (size_t i = Driver.next; i < Driver.steps.size(); ++i)
        ADD_FAILURE() << "step not reached: " << Driver.steps[i].name;
    Driver.steps.clear();
}

// ------------------------------------------------------- the Terms of Use

const WCHAR Banner[] = L"===========================";

// What a user sees in the Terms of Use: the text, scrolled to the top,
// nothing selected, not editable, with "OK" focused when focus is checked.
void ExpectTermsShownFromTheTop(HWND terms, bool checkFocus)
{
    HWND text = GetDlgItem(terms, IDC_TERMS_TEXT);
    EXPECT_EQ(L"Terms of Use", WindowText(terms));
    EXPECT_EQ(0, GetWindowLongW(text, GWL_STYLE) & WS_TABSTOP);
    EXPECT_NE(0, GetWindowLongW(text, GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(0, SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0));
    DWORD start = 1, end = 1;
    SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, end) << "selected from " << start << " to " << end;
    EXPECT_EQ(0u, start);
    if (checkFocus) {
        EXPECT_EQ(GetDlgItem(terms, IDOK), GetFocus());
    }
    // The banner opens the text.
    EXPECT_EQ(0u, WindowText(text).find(Banner));
}

// -------------------------------------------------- modeless dialog tests
//
// Most checks run on modeless copies of the two dialogs, made from the same
// templates with the same procedures; they are never shown.

class AboutDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        ShellCalls.clear();
        PelmiraShellExecute = RecordShellExecute;
        about = CreateDialogParamW(AppState.instance, MAKEINTRESOURCEW(IDD_ABOUT), NULL, AboutDlgProc, 0);
        ASSERT_TRUE(about != NULL);
        licence = GetDlgItem(about, IDC_ABOUT_LICENCE);
        mail = GetDlgItem(about, IDC_ABOUT_MAIL);
    }

    void TearDown() override
    {
        StopModalDriver();
        PelmiraShellExecute = ShellExecuteW;
        DestroyWindow(about);
    }

    // Sends about a link notification as SysLink sends it; FALSE expected.
    void Notify(int from, UINT code, int link, const WCHAR* url)
    {
        NMLINK notice;
        ZeroMemory(&notice, sizeof(notice));
        notice.hdr.hwndFrom = GetDlgItem(about, from);
        notice.hdr.idFrom = static_cast<UINT_PTR>(from);
        notice.hdr.code = code;
        notice.item.mask = LIF_ITEMINDEX | LIF_URL;
        notice.item.iLink = link;
        lstrcpynW(notice.item.szUrl, url, L_MAX_URL_LENGTH);
        EXPECT_EQ(FALSE, AboutDlgProc(about, WM_NOTIFY, static_cast<WPARAM>(from),
                                      reinterpret_cast<LPARAM>(&notice)));
    }

    HWND about = NULL;
    HWND licence = NULL;
    HWND mail = NULL;
};

TEST_F(AboutDialogTest, ShowsProductVersionRightsAndTwoLinks)
{
    EXPECT_EQ(L"About Pelmira", WindowText(about));
    EXPECT_EQ(L"Pelmira", WindowText(GetDlgItem(about, IDC_ABOUT_PRODUCT)));
    EXPECT_EQ(L"Version: 2.0.0", WindowText(GetDlgItem(about, IDC_ABOUT_VERSION)));
    std::wstring rights = WindowText(GetDlgItem(about, IDC_ABOUT_RIGHTS));
    EXPECT_EQ(0u, rights.find(L"Copyright (C) 2026 ")) << Narrow(rights);

    // One link in each SysLink: the Terms of Use in the licence note, the
    // author's address in the e-mail line. The note starts with its link:
    // Wine numbers a clicked link among all the pieces of the text, so only
    // there is it link 0 for a click on Windows and Wine alike.
    std::wstring note = WindowText(licence);
    EXPECT_EQ(0u, note.find(L"<a>Terms of Use</a>")) << Narrow(note);
    EXPECT_EQ(L"", LinkUrl(licence, 0));
    EXPECT_EQ(L"<none>", LinkUrl(licence, 1));
    EXPECT_EQ(L"e-mail: <a href=\"mailto:" PELMIRA_AUTHOR_ADDRESS L"\">" PELMIRA_AUTHOR_ADDRESS L"</a>",
              WindowText(mail));
    EXPECT_EQ(L"mailto:" PELMIRA_AUTHOR_ADDRESS, LinkUrl(mail, 0));
    EXPECT_EQ(L"<none>", LinkUrl(mail, 1));
    std::wstring address = PELMIRA_AUTHOR_ADDRESS;
    EXPECT_EQ(address.size() - 12, address.find(L"@example.org")) << Narrow(address);

    // The logo, loaded from bitmap 101 at its own size.
    HBITMAP logo = reinterpret_cast<HBITMAP>(
        SendDlgItemMessageW(about, -1, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_TRUE(logo != NULL);
    BITMAP info;
    ASSERT_EQ(static_cast<int>(sizeof(info)), GetObjectW(logo, sizeof(info), &info));
    EXPECT_EQ(40, info.bmWidth);
    EXPECT_EQ(135, info.bmHeight);
}

TEST_F(AboutDialogTest, LinkZeroOfEachSysLinkActsAndNothingElse)
{
    // The Terms of Use, each time they open, must be owned by About.
    HWND owner = about;
    int termsOpened = 0;
    ModalStep closeTerms = { "Terms of Use opened", [owner] { return owner; }, [&termsOpened](HWND terms) {
                                 ++termsOpened;
                                 ExpectTermsShownFromTheTop(terms, false);
                                 PostMessageW(terms, WM_COMMAND, IDOK, 0);
                             } };
    StartModalDriver({ closeTerms, closeTerms });

    struct Case {
        int from;
        UINT code;
        int link;
        int terms;  // Terms of Use dialogs opened
        bool mail;  // the mail program called
    } cases[] = {
        { IDC_ABOUT_LICENCE, NM_CLICK, 0, 1, false },  { IDC_ABOUT_LICENCE, NM_RETURN, 0, 1, false },
        { IDC_ABOUT_MAIL, NM_CLICK, 0, 0, true },      { IDC_ABOUT_MAIL, NM_RETURN, 0, 0, true },
        { IDC_ABOUT_LICENCE, NM_CLICK, 1, 0, false },  { IDC_ABOUT_MAIL, NM_RETURN, 1, 0, false },
        { IDC_ABOUT_LICENCE, NM_RCLICK, 0, 0, false }, { IDC_ABOUT_MAIL, NM_SETFOCUS, 0, 0, false },
        { IDC_ABOUT_RIGHTS, NM_CLICK, 0, 0, false },   { IDOK, NM_RETURN, 0, 0, false },
    };
    const WCHAR* url = L"mailto:someone.else@example.org";  // the notice's target is what opens
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "control " << c.from << ", code " << static_cast<int>(c.code)
                                        << ", link " << c.link);
        int termsBefore = termsOpened;
        ShellCalls.clear();
        Notify(c.from, c.code, c.link, url);
        EXPECT_EQ(c.terms, termsOpened - termsBefore);
        if (c.mail)
            ExpectMailProgramOpened(url);
        else
            EXPECT_EQ(0u, ShellCalls.size());
        EXPECT_TRUE(IsWindowEnabled(about));
    }

    // Without the program's instance there is no template to open.
    HINSTANCE instance = AppState.instance;
    AppState.instance = NULL;
    Notify(IDC_ABOUT_LICENCE, NM_CLICK, 0, L"");
    AppState.instance = instance;
    EXPECT_EQ(2, termsOpened);
    StopModalDriver();
}

TEST_F(AboutDialogTest, TermsTextHasItsTwentyTwoLines)
{
    HWND terms = CreateDialogParamW(AppState.instance, MAKEINTRESOURCEW(IDD_TERMS), about, TermsDlgProc, 0);
    ASSERT_TRUE(terms != NULL);
    HWND edit = GetDlgItem(terms, IDC_TERMS_TEXT);
    ExpectTermsShownFromTheTop(terms, false);
    std::wstring text = WindowText(edit);
    SplitText split = SplitCrLf(text);
    EXPECT_EQ(L"", split.rest) << "text after the last CR LF";
    EXPECT_EQ(0, split.strayBreaks);
    ASSERT_EQ(22u, split.lines.size()) << Narrow(text);
    const std::vector<std::wstring>& line = split.lines;

    EXPECT_EQ(Banner, line[0]);
    EXPECT_EQ(L" Pelmira \"Terms of Use\"", line[1]);
    EXPECT_EQ(Banner, line[2]);
    EXPECT_EQ(L"For using this software you must follow and obey the following items:", line[4]);
    // Four terms: "- " and a first line, then lines indented by two spaces;
    // the third, one line, names the owner.
    const int firstLines[] = { 6, 9, 12, 14 };
    for (int first : firstLines) {
        SCOPED_TRACE(testing::Message() << "line " << first + 1 << ": " << Narrow(line[first]));
        EXPECT_EQ(0u, line[first].find(L"- "));
        EXPECT_GT(line[first].size(), 2u);
    }
    const int continued[] = { 7, 10, 15 };
    for (int next : continued) {
        SCOPED_TRACE(testing::Message() << "line " << next + 1 << ": " << Narrow(line[next]));
        EXPECT_EQ(2u, line[next].find_first_not_of(L' '));
    }
    EXPECT_NE(std::wstring::npos, line[12].find(L"owner")) << Narrow(line[12]);
    // The rights line and the address are those of the About dialog.
    EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_RIGHTS)), line[17]);
    EXPECT_EQ(L"mailto:" PELMIRA_AUTHOR_ADDRESS, LinkUrl(mail, 0));
    EXPECT_EQ(L"Thank you for choose this application", line[19]);
    EXPECT_EQ(L"email: " PELMIRA_AUTHOR_ADDRESS, line[20]);
    const int empty[] = { 3, 5, 8, 11, 13, 16, 18, 21 };
    for (int blank : empty)
        EXPECT_EQ(L"", line[blank]) << "line " << blank + 1;

    // The edit control does not wrap: every line must fit its width.
    HDC dc = GetDC(edit);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
    RECT format;
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    for (size_t i = 0; i < line.size(); ++i) {
        SIZE size = { 0, 0 };
        GetTextExtentPoint32W(dc, line[i].c_str(), static_cast<int>(line[i].size()), &size);
        EXPECT_LE(size.cx, format.right - format.left) << "line " << i + 1 << ": " << Narrow(line[i]);
    }
    SelectObject(dc, previous);
    ReleaseDC(edit, dc);

    // It keeps the dialog's font, and typing changes nothing.
    EXPECT_EQ(SendMessageW(terms, WM_GETFONT, 0, 0), SendMessageW(edit, WM_GETFONT, 0, 0));
    SendMessageW(edit, WM_CHAR, 'x', 1);
    SendMessageW(edit, WM_KEYDOWN, VK_DELETE, 1);
    EXPECT_EQ(text, WindowText(edit));
    DestroyWindow(terms);
}

// ------------------------------------------------------------- round trip

HWND OpenedAbout = NULL;
HWND OpenedTerms = NULL;

// Commands that are neither OK nor Cancel leave a dialog open.
void ExpectOtherCommandsIgnored(HWND dialog)
{
    const int commands[] = { IDABORT, IDYES, IDC_ABOUT_LICENCE, IDC_TERMS_TEXT };
    for (int command : commands)
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindowVisible(dialog));
}

TEST(AboutRoundTrip, AboutOpensTermsTwiceAndEachClosesByOkOrEscape)
{
    StartRecordingMessageBoxes();
    ShellCalls.clear();
    PelmiraShellExecute = RecordShellExecute;
    HWND main = CreateMainWindow();
    ASSERT_TRUE(main != NULL);
    ShowWindow(main, SW_SHOW);
    PumpMessagesFor(50);
    ObjectCounts before = CurrentObjectCounts();
    OpenedAbout = NULL;
    OpenedTerms = NULL;

    auto byMain = [main] { return main; };
    auto byAbout = [] { return OpenedAbout; };
    StartModalDriver({
        { "About opened: click the Terms of Use link", byMain,
          [main](HWND about) {
              OpenedAbout = about;
              EXPECT_EQ(L"About Pelmira", WindowText(about));
              EXPECT_FALSE(IsWindowEnabled(main));
              EXPECT_EQ(GetDlgItem(about, IDOK), GetFocus());
              ExpectOtherCommandsIgnored(about);
              ClickLink(GetDlgItem(about, IDC_ABOUT_LICENCE), 0);
          } },
        { "Terms of Use opened: Escape", byAbout,
          [](HWND terms) {
              OpenedTerms = terms;
              EXPECT_FALSE(IsWindowEnabled(OpenedAbout));
              ExpectTermsShownFromTheTop(terms, true);
              ExpectOtherCommandsIgnored(terms);
              PressKey(VK_ESCAPE);
          } },
        { "back in About: Enter on the Terms of Use link", byMain,
          [](HWND about) {
              EXPECT_EQ(OpenedAbout, about);
              EXPECT_FALSE(IsWindow(OpenedTerms));
              SetFocus(GetDlgItem(about, IDC_ABOUT_LICENCE));
              PressKey(VK_RETURN);
          } },
        { "Terms of Use opened again: OK", byAbout,
          [](HWND terms) {
              OpenedTerms = terms;
              ExpectTermsShownFromTheTop(terms, true);
              PostMessageW(GetDlgItem(terms, IDOK), BM_CLICK, 0, 0);
          } },
        { "back in About: Enter on the address, then Escape", byMain,
          [](HWND about) {
              EXPECT_FALSE(IsWindow(OpenedTerms));
              EXPECT_TRUE(IsWindowEnabled(about));
              SetFocus(GetDlgItem(about, IDC_ABOUT_MAIL));
              PressKey(VK_RETURN);
              PressKey(VK_ESCAPE);
          } },
    });
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_ABOUT, BN_CLICKED), 0);
    StopModalDriver();

    EXPECT_FALSE(IsWindow(OpenedAbout));
    EXPECT_TRUE(IsWindowEnabled(main));
    ExpectMailProgramOpened(L"mailto:" PELMIRA_AUTHOR_ADDRESS);
    EXPECT_TRUE(StopRecordingMessageBoxes().empty());
    ObjectCounts after = CurrentObjectCounts();
    EXPECT_TRUE(SameCounts(before, after)) << "before: " << DescribeCounts(before)
                                           << "\nafter:  " << DescribeCounts(after);
    PelmiraShellExecute = ShellExecuteW;
    DestroyWindow(main);
    MSG quit;
    PeekMessageW(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
}

}  // namespace
