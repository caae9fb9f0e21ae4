// Messages that the user must see: a string of the string table in a message
// box with the program's title as caption.
#include "app/app_state.h"

MessageBoxFunction PelmiraMessageBox = MessageBoxW;

void ShowStringMessageLimited(HWND owner, UINT stringId, UINT iconFlag, int capacity)
{
    WCHAR text[256];
    text[0] = L'\0';
    LoadStringW(AppState.instance, stringId, text, capacity < 256 ? capacity : 256);
    PelmiraMessageBox(owner, text, AppState.appTitle, iconFlag);
}

void ShowStringMessage(HWND owner, UINT stringId, UINT iconFlag)
{
    ShowStringMessageLimited(owner, stringId, iconFlag, 128);
}
