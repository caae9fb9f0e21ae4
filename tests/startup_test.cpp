// Start-up: the shared drawing objects, the test window classes, the
// strings, and the exit codes of a whole run.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "app/startup.h"
#include "bench/bench.h"
#include "motion/motion_window.h"
#include "pattern/pattern_window.h"
#include "res/resource.h"

namespace {

LOGFONTW FontOf(HFONT font)
{
    LOGFONTW logFont;
    ZeroMemory(&logFont, sizeof(logFont));
    GetObjectW(font, sizeof(logFont), &logFont);
    return logFont;
}

TEST(Startup, SharedFontsFollowTheDotsPerInch)
{
    struct Case {
        int dpi;
        int title, mono, label;
    } cases[] = { { 96, -21, -15, -11 }, { 144, -32, -22, -16 }, { 120, -27, -18, -13 } };

    SharedGdiObjectSet running = SharedGdiObjects;
    ObjectCounts before = CurrentObjectCounts();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dpi << " dots per inch");
        EXPECT_EQ(c.title, FontHeightForDpi(16, c.dpi));
        CreateSharedBrushesAndPen();
        CreateSharedFonts(c.dpi);

        LOGFONTW title = FontOf(SharedGdiObjects.titleFont);
        EXPECT_EQ(c.title, title.lfHeight);
        EXPECT_STREQ(L"Tahoma", title.lfFaceName);
        EXPECT_EQ(FW_NORMAL, title.lfWeight);
        EXPECT_EQ(0, title.lfItalic);
        LOGFONTW mono = FontOf(SharedGdiObjects.monoFont);
        EXPECT_EQ(c.mono, mono.lfHeight);
        EXPECT_STREQ(L"Consolas", mono.lfFaceName);
        EXPECT_EQ(FIXED_PITCH, mono.lfPitchAndFamily);
        LOGFONTW label = FontOf(SharedGdiObjects.labelFont);
        EXPECT_EQ(c.label, label.lfHeight);
        EXPECT_STREQ(L"Arial", label.lfFaceName);
        EXPECT_EQ(FW_BOLD, label.lfWeight);
        EXPECT_EQ(TRUE, label.lfItalic);

        LOGBRUSH brush;
        GetObjectW(SharedGdiObjects.hollowBrush, sizeof(brush), &brush);
        EXPECT_EQ(static_cast<UINT>(BS_HOLLOW), brush.lbStyle);
        GetObjectW(SharedGdiObjects.whiteBrush, sizeof(brush), &brush);
        EXPECT_EQ(RGB(255, 255, 255), brush.lbColor);
        GetObjectW(SharedGdiObjects.blackBrush, sizeof(brush), &brush);
        EXPECT_EQ(RGB(0, 0, 0), brush.lbColor);
        LOGPEN pen;
        GetObjectW(SharedGdiObjects.whitePen, sizeof(pen), &pen);
        EXPECT_EQ(static_cast<UINT>(PS_SOLID), pen.lopnStyle);
        EXPECT_EQ(1, pen.lopnWidth.x);
        EXPECT_EQ(RGB(255, 255, 255), pen.lopnColor);

        ObjectCounts made = CurrentObjectCounts();
        int hollowMade = SharedGdiObjects.hollowBrush == GetStockObject(NULL_BRUSH) ? 0 : 1;
        EXPECT_EQ(before.brushes + 2 + hollowMade, made.brushes);
        EXPECT_EQ(before.pens + 1, made.pens);
        EXPECT_EQ(before.fonts + 3, made.fonts);
        DeleteSharedGdiObjects();
        EXPECT_TRUE(SameCounts(before, CurrentObjectCounts())) << DescribeCounts(CurrentObjectCounts());
    }
    SharedGdiObjects = running;
}

TEST(Startup, TestWindowClassesAreRegistered)
{
    struct Class {
        const WCHAR* name;
        WNDPROC procedure;
    } classes[] = { { L"Ardvane_PatternTest_WndClass", PatternTestWndProc },
                    { L"Ardvane_MotionTest_WndClass", MotionTestWndProc } };
    for (const Class& c : classes) {
        SCOPED_TRACE(Narrow(c.name));
        WNDCLASSEXW info;
        ZeroMemory(&info, sizeof(info));
        info.cbSize = sizeof(info);
        ASSERT_TRUE(GetClassInfoExW(AppState.instance, c.name, &info));
        EXPECT_EQ(c.procedure, info.lpfnWndProc);
        EXPECT_EQ(static_cast<UINT>(CS_NOCLOSE), info.style);
        EXPECT_EQ(NULL, info.hbrBackground);
        EXPECT_EQ(NULL, info.hIcon);
        EXPECT_EQ(0, info.cbWndExtra);
        EXPECT_EQ(LoadCursorW(NULL, IDC_ARROW), info.hCursor);
    }
}

TEST(Startup, StringsAreLoaded)
{
    EXPECT_STREQ(L"Pelmira", AppState.appTitle);
    EXPECT_STREQ(L"<No monitor found>", AppState.noMonitorText);
    EXPECT_EQ(1, AppState.isVistaOrLater);

    WCHAR help[256];
    int length = LoadStringW(AppState.instance, IDS_QUICK_HELP, help, 256);
    EXPECT_EQ(234, length);
    std::wstring text(help);
    EXPECT_EQ(0u, text.find(L"Quick Help:\nIn the Pattern test use [SPACE/Right arrow] key"));
    EXPECT_NE(std::wstring::npos, text.find(L"previous.\n\nUse [ESC] key to exit test modes.\n\nIt is"));
    EXPECT_EQ(std::wstring::npos, text.find(L'\r'));
}

// A whole run of the program inside the test process.
WPARAM QuitCodeToPost;

// If the program does not end its loop itself, this one does, so that a
// fault fails the test instead of hanging it.
bool RunNeededRescue;

void CALLBACK RescueRun(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    RunNeededRescue = true;
    PostQuitMessage(99);
}

void CALLBACK EndRunSoon(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    if (QuitCodeToPost != 0)
        PostQuitMessage(static_cast<int>(QuitCodeToPost));
    else
        PostMessageW(AppState.mainWindow, WM_CLOSE, 0, 0);
}

TEST(Startup, RunEndsWithExitCodeZeroOrOneWithoutMainWindow)
{
    ShutdownApplication();

    RunNeededRescue = false;
    UINT_PTR rescue = SetTimer(NULL, 0, 10000, RescueRun);
    QuitCodeToPost = 0;  // close the main window as a user would
    UINT_PTR timer = SetTimer(NULL, 0, 300, EndRunSoon);
    EXPECT_EQ(0, RunPelmira(GetModuleHandleW(NULL)));
    KillTimer(NULL, timer);
    EXPECT_FALSE(IsWindow(AppState.mainWindow));

    QuitCodeToPost = 7;  // the exit code does not follow WM_QUIT's parameter
    timer = SetTimer(NULL, 0, 300, EndRunSoon);
    EXPECT_EQ(0, RunPelmira(GetModuleHandleW(NULL)));
    KillTimer(NULL, timer);
    KillTimer(NULL, rescue);
    EXPECT_FALSE(RunNeededRescue) << "closing the main window did not end the loop";
    DestroyWindow(AppState.mainWindow);
    DrainQuitMessages();

    // A module without the main window's template: no window, no endless loop.
    EXPECT_EQ(1, RunPelmira(GetModuleHandleW(L"kernel32.dll")));

    InitializeApplication(GetModuleHandleW(NULL));
}

}  // namespace
