// The pattern window driven with keys, popup button clicks, cursor positions
// and timers: the pattern on show, its name and pixels, the popup's coming
// and going, the animation timer, and nothing left behind at any size.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "app/app_state.h"
#include "app/draw.h"
#include "app/startup.h"
#include "bench/bench.h"
#include "pattern/painters.h"
#include "pattern/pattern_window.h"
#include "res/resource.h"

namespace {

const COLORREF Smudge = RGB(1, 2, 3);
const COLORREF White = RGB(255, 255, 255);
const COLORREF AnyColor = CLR_INVALID;
const int Click = 0x1000;  // plus a command: a mouse click on that popup button
const WCHAR* const Names[] = { L"SMPTE bars", L"Solid Black", L"Solid Red", L"Solid Green", L"Solid Blue",
                               L"Solid White", L"Boundary", L"RGB samples", L"Black Level", L"White Level",
                               L"Contrast", L"Gamma", L"Moire", L"Moire Interference" };

std::vector<DWORD> AnimateRequests;
bool AnimateWorks;

BOOL WINAPI RecordAnimate(HWND window, DWORD milliseconds, DWORD flags)
{
    AnimateRequests.push_back(flags);
    EXPECT_EQ(50u, milliseconds);
    return AnimateWorks ? AnimateWindow(window, milliseconds, flags) : FALSE;
}

bool PopupShown() { return IsWindowVisible(AppState.patternPopup) != FALSE; }

class PatternWindowTest : public testing::Test {
protected:
    void TearDown() override
    {
        if (IsWindow(window))
            DestroyWindow(window);
        PelmiraAnimateWindow = AnimateWindow;
    }

    // The window as the main window's test start makes it, painted; it
    // starts at pattern 1 with the popup shown.
    void Open(int x, int y, int width, int height)
    {
        window = CreateWindowExW(0, PatternTestClassName, NULL, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                                 width, height, NULL, NULL, AppState.instance, NULL);
        AppState.testWindow = window;
        ASSERT_TRUE(window != NULL);
        UpdateWindow(window);
        EXPECT_EQ(PATTERN_SMPTE_BARS, AppState.currentPattern);
        EXPECT_EQ(L"SMPTE bars", PopupText());
        EXPECT_TRUE(PopupShown());
    }

    std::wstring PopupText()
    {
        WCHAR text[64] = L"(no popup)";
        GetDlgItemTextW(AppState.patternPopup, IDC_PATTERN_NAME, text, ARRAYSIZE(text));
        return text;
    }

    HWND Toolbar() { return FindWindowExW(AppState.patternPopup, NULL, TOOLBARCLASSNAMEW, NULL); }

    // A key, or a click on a popup button.
    void Do(int input)
    {
        if (input >= Click) {
            LRESULT index = SendMessageW(Toolbar(), TB_COMMANDTOINDEX, input - Click, 0);
            RECT button;
            ASSERT_TRUE(SendMessageW(Toolbar(), TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button)));
            LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
            SendMessageW(Toolbar(), WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageW(Toolbar(), WM_LBUTTONUP, 0, at);
        } else {
            SendMessageW(window, WM_KEYDOWN, input, 0);
        }
    }

    // Fills the window's client area with color (color CLR_INVALID: reads
    // the pixel at x, y).
    COLORREF Pixel(int x, int y, COLORREF color = CLR_INVALID)
    {
        HDC dc = GetDC(window);
        RECT client;
        GetClientRect(window, &client);
        if (color != CLR_INVALID)
            FillSolidRect(dc, &client, color);
        color = GetPixel(dc, x, y);
        ReleaseDC(window, dc);
        return color;
    }

    // Puts the cursor at a point of the window's client area, and waits
    // until Wine reports it there.
    void MoveCursor(int x, int y)
    {
        POINT point = { x, y };
        ClientToScreen(window, &point);
        SetCursorPos(point.x, point.y);
        EXPECT_TRUE(PumpMessagesUntil([&] {
            POINT now;
            return GetCursorPos(&now) && now.x == point.x && now.y == point.y;
        }, 2000));
    }

    HWND window = NULL;
};

// Keys, buttons and commands at 800 x 600, whose centre lies in the fourth
// colour bar of "SMPTE bars". Before every step the window is smudged: a
// step repaints at once, anything else leaves the smudge.
TEST_F(PatternWindowTest, KeysAndButtonsStepThroughThePatterns)
{
    const COLORREF bar = RGB(16, 180, 16);
    const struct { int input, pattern; COLORREF centre; } steps[] = {
        { VK_BACK, 1, bar }, { VK_LEFT, 1, bar }, { Click + IDC_POPUP_PREVIOUS, 1, bar }, { 'A', 1, Smudge },
        { VK_UP, 1, Smudge }, { VK_RETURN, 1, Smudge }, { VK_SPACE, 2, RGB(0, 0, 0) },
        { VK_RIGHT, 3, RGB(255, 0, 0) }, { Click + IDC_POPUP_NEXT, 4, RGB(0, 255, 0) },
        { VK_SPACE, 5, RGB(0, 0, 255) }, { VK_SPACE, 6, White }, { VK_SPACE, 7, AnyColor }, { VK_SPACE, 8, AnyColor },
        { VK_SPACE, 9, AnyColor }, { VK_SPACE, 10, AnyColor }, { VK_SPACE, 11, AnyColor }, { VK_SPACE, 12, AnyColor },
        { VK_SPACE, 13, AnyColor }, { VK_SPACE, 14, AnyColor }, { VK_BACK, 13, AnyColor },
        { Click + IDC_POPUP_PREVIOUS, 12, AnyColor },
    };
    Open(0, 0, 800, 600);
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << "input " << step.input);
        Pixel(0, 0, Smudge);
        Do(step.input);
        ASSERT_EQ(step.pattern, AppState.currentPattern);
        EXPECT_EQ(Names[step.pattern - 1], PopupText());
        if (step.centre != AnyColor) {
            EXPECT_EQ(step.centre, Pixel(400, 300));
        }
    }
}

// Every way out ends the test and the next one starts afresh at pattern 1.
// Walks through all the patterns at the extreme sizes and a hundred at a
// small one leave no object or window behind. (The extremes are thin: Wine
// takes about a minute to draw the rings of "Moire Interference" for a full
// 7680 x 4320 client, which the painters' own sweep covers with fewer rings.)
TEST_F(PatternWindowTest, EveryEndLeavesNothingBehindAtAnySize)
{
    const struct { int pattern, input; } ends[] = { { 14, VK_SPACE }, { 14, VK_RIGHT }, { 14, Click + IDC_POPUP_NEXT }, { 1, VK_ESCAPE },
                 { 5, Click + IDC_POPUP_CLOSE } };
    const SIZE sizes[] = { { 0, 0 }, { 1, 1 }, { 7680, 240 }, { 240, 4320 } };
    ObjectCounts before = CurrentObjectCounts();
    for (int walk = 0; walk < 100; ++walk) {
        SIZE size = walk < 4 ? sizes[walk] : SIZE{ 320, 240 };
        Open(0, 0, size.cx, size.cy);
        while (AppState.currentPattern < PATTERN_MOIRE_INTERFERENCE)
            Do(VK_SPACE);
        while (AppState.currentPattern > ends[walk % 5].pattern)
            Do(VK_LEFT);
        Do(ends[walk % 5].input);
        ASSERT_TRUE(!IsWindow(window) && AppState.testWindow == NULL && AppState.patternPopup == NULL)
            << "end " << walk % 5;
    }
    EXPECT_TRUE(SameCounts(before, CurrentObjectCounts()))
        << "before: " << DescribeCounts(before) << "\nafter: " << DescribeCounts(CurrentObjectCounts());
    for (int outside : { 0, 15 }) {
        AppState.currentPattern = static_cast<PatternType>(outside);
        EXPECT_EQ(NULL, PatternName()) << outside;
    }
}

// Timer 101 runs exactly while pattern 14 is on show, and the animation
// goes on where it stopped when the user comes back.
TEST_F(PatternWindowTest, InterferenceRunsOnlyWhileShown)
{
    Open(0, 0, 800, 600);
    while (AppState.currentPattern < PATTERN_MOIRE_INTERFERENCE)
        Do(VK_RIGHT);
    EXPECT_TRUE(PumpMessagesUntil([] { return MoireInterferenceState.offset >= 6; }, 2000));
    Do(VK_LEFT);
    int offset = MoireInterferenceState.offset;
    EXPECT_FALSE(KillTimer(window, IDT_INTERFERENCE_STEP)) << "the animation timer outlived pattern 14";
    SendMessageW(window, WM_TIMER, IDT_INTERFERENCE_STEP, 0);
    Do(VK_RIGHT);
    EXPECT_EQ(offset, MoireInterferenceState.offset);
    EXPECT_TRUE(PumpMessagesUntil([&] { return MoireInterferenceState.offset != offset; }, 2000));
}

// The popup stays for the first second even with the cursor far away and
// the focus elsewhere, then gives the focus back; brought back by the top
// rows, it leaves at the next 100 ms check.
TEST_F(PatternWindowTest, PopupStaysASecondThenFollowsTheCursor)
{
    DWORD start = GetTickCount();
    Open(0, 0, 800, 600);
    MoveCursor(400, 300);
    HWND elsewhere = CreateWindowExW(0, L"Button", NULL, WS_POPUP | WS_VISIBLE, 0, 700, 9, 9, NULL, NULL, NULL, NULL);
    SetFocus(elsewhere);
    EXPECT_TRUE(PumpMessagesUntil([] { return !PopupShown(); }, 3000));
    EXPECT_GE(GetTickCount() - start, 950u);
    EXPECT_EQ(window, GetFocus());
    DestroyWindow(elsewhere);
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(799, 5));
    EXPECT_TRUE(PopupShown());
    EXPECT_TRUE(PumpMessagesUntil([] { return !PopupShown(); }, 600));
}

// Where the cursor shows and keeps the popup, with the slide and with the
// fallback for a system that cannot animate. The window sits 100 pixels
// down the screen, so the cursor can be above it.
TEST_F(PatternWindowTest, PopupComesAndGoesByCursorRow)
{
    for (bool works : { true, false }) {
        SCOPED_TRACE(works ? "animated" : "without animation");
        AnimateWorks = works;
        AnimateRequests.clear();
        PelmiraAnimateWindow = RecordAnimate;
        Open(0, 100, 800, 600);
        RECT popup;
        GetWindowRect(AppState.patternPopup, &popup);
        MapWindowPoints(NULL, window, reinterpret_cast<POINT*>(&popup), 2);
        EXPECT_EQ((800 - (popup.right - popup.left)) / 2, popup.left);
        EXPECT_EQ(0, popup.top);
        const struct { int x, y; bool kept; } cursors[] = { { 0, 0, true }, { 799, 5, true }, { popup.right - 1, popup.bottom - 1, true },
                        { 10, 6, false }, { 400, 300, false }, { 400, -1, false }, { 400, -60, false } };
        for (const auto& cursor : cursors) {
            SCOPED_TRACE(testing::Message() << "cursor at " << cursor.x << ", " << cursor.y);
            SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(400, 6));
            SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(0, 5));
            ASSERT_TRUE(PopupShown());
            MoveCursor(cursor.x, cursor.y);
            SendMessageW(window, WM_TIMER, IDT_POPUP_WATCH, 0);
            EXPECT_EQ(cursor.kept, PopupShown());
        }
        SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(400, 6));
        EXPECT_FALSE(PopupShown()) << "row 6 brought the popup in";
        const DWORD show = AW_SLIDE | AW_VER_POSITIVE, hide = AW_HIDE | AW_SLIDE | AW_VER_NEGATIVE;
        EXPECT_EQ(std::vector<DWORD>({ show, hide, show, hide, show, hide, show, hide }), AnimateRequests);
        DestroyWindow(window);
    }
}

// Left arrow (back), right arrow (next), a gap and the red cross (end); the
// name in the title font.
TEST_F(PatternWindowTest, PopupHoldsNameAndButtons)
{
    Open(0, 0, 800, 600);
    HWND toolbar = Toolbar();
    ASSERT_EQ(4, SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    const int images[4] = { 1, 2, -1, 0 }, commands[4] = { IDC_POPUP_PREVIOUS, IDC_POPUP_NEXT, 0, IDC_POPUP_CLOSE };
    for (int i = 0; i < 4; ++i) {
        TBBUTTON button;
        SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ(images[i], button.iBitmap) << i;
        EXPECT_EQ(commands[i], button.idCommand) << i;
        EXPECT_EQ(i == 2 ? BTNS_SEP : BTNS_AUTOSIZE, button.fsStyle) << i;
    }
    // Image 0 is red; 1 and 2 are arrows with their heads in the left and in
    // the right half.
    HIMAGELIST list = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    ASSERT_EQ(3, ImageList_GetImageCount(list));
    TestDib dib;
    ASSERT_TRUE(CreateTestDib(&dib, 96, 32));
    FillDib(dib, White);
    for (int i = 0; i < 3; ++i)
        ImageList_Draw(list, i, dib.dc, 32 * i, 0, ILD_NORMAL);
    EXPECT_GT(GetRValue(DibPixel(dib, 16, 16)), GetBValue(DibPixel(dib, 16, 16)) + 100);
    const RECT halves[4] = { { 32, 0, 48, 32 }, { 48, 0, 64, 32 }, { 64, 0, 80, 32 }, { 80, 0, 96, 32 } };
    EXPECT_LT(CountDibPixels(dib, halves[0], White), CountDibPixels(dib, halves[1], White)) << "image 1";
    EXPECT_GT(CountDibPixels(dib, halves[2], White), CountDibPixels(dib, halves[3], White)) << "image 2";
    DestroyTestDib(&dib);
    EXPECT_EQ(reinterpret_cast<LRESULT>(SharedGdiObjects.titleFont),
              SendDlgItemMessageW(AppState.patternPopup, IDC_PATTERN_NAME, WM_GETFONT, 0, 0));
}

}  // namespace
