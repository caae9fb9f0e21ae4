// A process that starts a pattern test in 800 x 600 and then crashes: the
// display mode must come back all the same. Exit code 2: the switch did not
// happen; 3: the crash did not happen.
#include <windows.h>

#include "app/startup.h"
#include "app/app_state.h"
#include "res/resource.h"

int main()
{
    InitializeApplication(GetModuleHandleW(NULL));
    HWND main = CreateMainWindow();
    if (main == NULL)
        return 2;
    HWND modes = GetDlgItem(main, IDC_MODE_LIST);
    LRESULT index = SendMessageW(modes, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(L"800 x 600, 32 bit"));
    SendMessageW(modes, LB_SETCURSEL, index, 0);
    CheckDlgButton(main, IDC_USE_TEST_MODE, BST_CHECKED);
    SendMessageW(main, WM_COMMAND, IDC_PATTERN_TEST, 0);
    if (!AppState.displayModeChanged || GetSystemMetrics(SM_CXSCREEN) != 800)
        return 2;
    RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, NULL);
    return 3;
}
