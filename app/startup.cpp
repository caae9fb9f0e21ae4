// Start-up of the program: AppState, the common controls, the test window
// classes, the shared drawing objects and the main window.
#include "app/startup.h"

#include <commctrl.h>

#include "app/app_state.h"
#include "mainwin/main_dialog.h"
#include "motion/motion_window.h"
#include "pattern/pattern_window.h"
#include "res/resource.h"

AppStateRecord AppState;

const WCHAR PatternTestClassName[] = L"Ardvane_PatternTest_WndClass";
const WCHAR MotionTestClassName[] = L"Ardvane_MotionTest_WndClass";

static LONG QueryIsVistaOrLater()
{
    OSVERSIONINFOW version;
    ZeroMemory(&version, sizeof(version));
    version.dwOSVersionInfoSize = sizeof(version);
    GetVersionExW(&version);
    return version.dwMajorVersion > 5 ? 1 : 0;
}

static void RegisterTestWindowClass(const WCHAR* className, WNDPROC windowProc)
{
    WNDCLASSEXW windowClass;
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_NOCLOSE;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = AppState.instance;
    windowClass.hCursor = LoadCursorW(NULL, IDC_ARROW);
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
}

static int ScreenDpiY()
{
    HDC screen = GetDC(NULL);
    int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    return dpiY;
}

void InitializeApplication(HINSTANCE instance)
{
    AppState.motionActive = 0;
    AppState.instance = instance;

    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    AppState.isVistaOrLater = QueryIsVistaOrLater();
    LoadStringW(instance, IDS_APP_TITLE, AppState.appTitle, 128);
    LoadStringW(instance, IDS_NO_MONITOR_FOUND, AppState.noMonitorText, 128);

    RegisterTestWindowClass(PatternTestClassName, PatternTestWndProc);
    RegisterTestWindowClass(MotionTestClassName, MotionTestWndProc);

    CreateSharedBrushesAndPen();
    CreateSharedFonts(ScreenDpiY());
}

HWND CreateMainWindow()
{
    HWND window = CreateDialogParamW(AppState.instance, MAKEINTRESOURCEW(IDD_MAIN),
                                     NULL, MainDlgProc, 0);
    if (window)
        ShowWindow(window, SW_SHOW);
    return window;
}

void ShutdownApplication()
{
    DeleteSharedGdiObjects();
}

int RunPelmira(HINSTANCE instance)
{
    InitializeApplication(instance);
    if (!CreateMainWindow()) {
        // Without a main window nothing could ever post WM_QUIT.
        ShutdownApplication();
        return 1;
    }
    RunMessageLoop();
    ShutdownApplication();
    return 0;
}
