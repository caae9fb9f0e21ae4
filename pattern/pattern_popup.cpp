// The popup at the top edge of the pattern window: the name of the pattern
// on show in large type, and buttons for the previous pattern, the next one
// and the end of the test, which send the pattern window the keys that do
// the same.
#include "pattern/pattern_window.h"

#include <commctrl.h>

#include "app/app_state.h"
#include "res/resource.h"

AnimateWindowFunction PelmiraAnimateWindow = AnimateWindow;

namespace {

const DWORD PopupSlideMs = 50;
const DWORD ToolbarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_LIST | TBSTYLE_FLAT |
                           CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_BOTTOM;
const int ButtonImageSize = 32;
const int ButtonPaddingX = 25;
const int ToolbarRightMargin = 14;

// The images, in the order that gives them their indexes 0, 1 and 2.
const UINT ButtonPictures[] = { IDB_CROSS, IDB_ARROW_LEFT, IDB_ARROW_RIGHT };
const int CrossImage = 0;
const int LeftArrowImage = 1;
const int RightArrowImage = 2;

void SlidePopup(HWND popup, DWORD animation, UINT fallbackFlag)
{
    if (!PelmiraAnimateWindow(popup, PopupSlideMs, animation))
        SetWindowPos(popup, NULL, 0, 0, 0, 0,
                     fallbackFlag | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

TBBUTTON ToolbarButton(int image, int command, BYTE style)
{
    TBBUTTON button;
    ZeroMemory(&button, sizeof(button));
    button.iBitmap = image;
    button.idCommand = command;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = style;
    button.iString = -1;
    return button;
}

void AddToolbarButtons(HWND toolbar)
{
    for (UINT picture : ButtonPictures) {
        TBADDBITMAP bitmap = { AppState.instance, picture };
        SendMessageW(toolbar, TB_ADDBITMAP, 1, reinterpret_cast<LPARAM>(&bitmap));
    }
    // A separator's image field holds its width.
    TBBUTTON buttons[] = {
        ToolbarButton(LeftArrowImage, IDC_POPUP_PREVIOUS, BTNS_AUTOSIZE),
        ToolbarButton(RightArrowImage, IDC_POPUP_NEXT, BTNS_AUTOSIZE),
        ToolbarButton(-1, 0, BTNS_SEP),
        ToolbarButton(CrossImage, IDC_POPUP_CLOSE, BTNS_AUTOSIZE),
    };
    SendMessageW(toolbar, TB_ADDBUTTONSW, ARRAYSIZE(buttons), reinterpret_cast<LPARAM>(buttons));
}

// The toolbar as large as its buttons need, 14 pixels from the popup's right
// edge and centred from top to bottom.
void PlaceToolbar(HWND popup, HWND toolbar)
{
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    SIZE needed = { 0, 0 };
    SendMessageW(toolbar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&needed));
    RECT client;
    GetClientRect(popup, &client);
    SetWindowPos(toolbar, NULL, client.right - needed.cx - ToolbarRightMargin,
                 (client.bottom - needed.cy) / 2, needed.cx, needed.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void InitPatternPopup(HWND popup)
{
    HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, NULL, ToolbarStyle, 0, 0, 0, 0, popup,
                                   NULL, AppState.instance, NULL);
    if (toolbar != NULL) {
        SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(ButtonImageSize, ButtonImageSize));
        SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        SendMessageW(toolbar, TB_SETPADDING, 0, MAKELPARAM(ButtonPaddingX, 0));
        AddToolbarButtons(toolbar);
        PlaceToolbar(popup, toolbar);
    }
    SendDlgItemMessageW(popup, IDC_PATTERN_NAME, WM_SETFONT,
                        reinterpret_cast<WPARAM>(SharedGdiObjects.titleFont), 0);
}

void OnPopupCommand(int command)
{
    WPARAM key;
    switch (command) {
    case IDC_POPUP_CLOSE:
        key = VK_ESCAPE;
        break;
    case IDC_POPUP_PREVIOUS:
        key = VK_BACK;
        break;
    case IDC_POPUP_NEXT:
        key = VK_SPACE;
        break;
    default:
        return;
    }
    SendMessageW(AppState.testWindow, WM_KEYDOWN, key, 0);
}

}  // namespace

void ShowPatternPopup(HWND popup)
{
    SlidePopup(popup, AW_SLIDE | AW_VER_POSITIVE, SWP_SHOWWINDOW);
}

void HidePatternPopup(HWND popup)
{
    SlidePopup(popup, AW_HIDE | AW_SLIDE | AW_VER_NEGATIVE, SWP_HIDEWINDOW);
}

INT_PTR CALLBACK PatternPopupDlgProc(HWND popup, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        InitPatternPopup(popup);
        return FALSE;
    case WM_COMMAND:
        OnPopupCommand(LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}
