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
const COLORREF AnyColor = CLR_INVALID;
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

class PatternWindowTest : public testing::Test {
protected:
    void TearDown() override
    {
        if (IsWindow(window))
            DestroyWindow(window);
        PelmiraAnimateWindow = AnimateWindow;
    }

    // The window as the main window's test start makes it; it starts at
    // pattern 1 with the popup shown.
    void Open(int x, int y, int width, int height)
    {
        window = CreateWindowExW(0, PatternTestClassName, NULL, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                                 width, height, NULL, NULL, AppState.instance, NULL);
        AppState.testWindow = window;
        ASSERT_TRUE(window != NULL);
        EXPECT_EQ(PATTERN_SMPTE_BARS, AppState.currentPattern);
        EXPECT_EQ(L"SMPTE bars", PopupText());
        EXPECT_TRUE(IsWindowVisible(AppState.patternPopup));
    }

    std::wstring PopupText()
    {
        WCHAR text[64] = L"(no popup)";
        GetDlgItemTextW(AppState.patternPopup, IDC_PATTERN_NAME, text, ARRAYSIZE(text));
        return text;
    }

    HWND Toolbar() { return FindWindowExW(AppState.patternPopup, NULL, TOOLBARCLASSNAMEW, NULL); }

    // A mouse click on the popup button of command.
    void Click(int command)
    {
        HWND toolbar = Toolbar();
        LRESULT index = SendMessageW(toolbar, TB_COMMANDTOINDEX, command, 0);
        RECT button;
        ASSERT_TRUE(SendMessageW(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&button)));
        LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
        SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(toolbar, WM_LBUTTONUP, 0, at);
    }

    void Key(WPARAM key) { SendMessageW(window, WM_KEYDOWN, key, 0); }

    void Paint(COLORREF color)
    {
        HDC dc = GetDC(window);
        RECT client;
        GetClientRect(window, &client);
        FillSolidRect(dc, &client, color);
        ReleaseDC(window, dc);
    }

    COLORREF Pixel(int x, int y)
    {
        HDC dc = GetDC(window);
        COLORREF color = GetPixel(dc, x, y);
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

    bool Gone() { return !IsWindow(window) && AppState.testWindow == NULL && AppState.patternPopup == NULL; }

    HWND window = NULL;
};

enum Input { KeyDown, ButtonClick, PopupCommand };

struct Step {
    Input input;
    int code;
    int pattern;
    COLORREF centre;  // the pixel at the centre afterwards
};

// Keys, buttons and commands at 800 x 600, whose centre lies in the fourth
// colour bar of "SMPTE bars". Before every step the window is smudged: a
// step repaints at once, and anything else leaves the smudge.
TEST_F(PatternWindowTest, KeysAndButtonsStepThroughThePatterns)
{
    const COLORREF bar = RGB(16, 180, 16);
    const Step steps[] = {
        { KeyDown, VK_BACK, 1, bar }, { KeyDown, VK_LEFT, 1, bar }, { ButtonClick, IDC_POPUP_PREVIOUS, 1, bar },
        { KeyDown, 'A', 1, Smudge }, { KeyDown, VK_UP, 1, Smudge }, { KeyDown, VK_RETURN, 1, Smudge },
        { PopupCommand, 113, 1, Smudge }, { KeyDown, VK_SPACE, 2, RGB(0, 0, 0) },
        { KeyDown, VK_RIGHT, 3, RGB(255, 0, 0) }, { ButtonClick, IDC_POPUP_NEXT, 4, RGB(0, 255, 0) },
        { KeyDown, VK_SPACE, 5, RGB(0, 0, 255) }, { KeyDown, VK_SPACE, 6, RGB(255, 255, 255) },
        { KeyDown, VK_SPACE, 7, AnyColor }, { KeyDown, VK_SPACE, 8, AnyColor }, { KeyDown, VK_SPACE, 9, AnyColor },
        { KeyDown, VK_SPACE, 10, AnyColor }, { KeyDown, VK_SPACE, 11, AnyColor }, { KeyDown, VK_SPACE, 12, AnyColor },
        { KeyDown, VK_SPACE, 13, AnyColor }, { KeyDown, VK_SPACE, 14, AnyColor }, { KeyDown, VK_BACK, 13, AnyColor },
        { KeyDown, VK_LEFT, 12, AnyColor }, { ButtonClick, IDC_POPUP_PREVIOUS, 11, AnyColor },
        { KeyDown, VK_LEFT, 10, AnyColor }, { KeyDown, VK_LEFT, 9, AnyColor }, { KeyDown, VK_LEFT, 8, AnyColor },
        { KeyDown, VK_LEFT, 7, AnyColor }, { KeyDown, VK_LEFT, 6, RGB(255, 255, 255) },
    };
    Open(0, 0, 800, 600);
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "input " << step.input << " code " << step.code);
        Paint(Smudge);
        if (step.input == KeyDown)
            Key(step.code);
        else if (step.input == ButtonClick)
            Click(step.code);
        else
            EXPECT_EQ(TRUE, PatternPopupDlgProc(AppState.patternPopup, WM_COMMAND, step.code, 0));
        ASSERT_EQ(step.pattern, AppState.currentPattern);
        EXPECT_EQ(Names[step.pattern - 1], PopupText());
        if (step.centre != AnyColor) {
            EXPECT_EQ(step.centre, Pixel(400, 300));
        }
    }
}

// Every way out ends the test and the next test starts afresh at pattern 1.
TEST_F(PatternWindowTest, EscapeCrossAndNextAtTheLastPatternEndTheTest)
{
    const struct {
        int pattern;
        Input input;
        int code;
    } ends[] = { { 14, KeyDown, VK_SPACE }, { 14, KeyDown, VK_RIGHT }, { 14, ButtonClick, IDC_POPUP_NEXT },
                 { 1, KeyDown, VK_ESCAPE }, { 5, ButtonClick, IDC_POPUP_CLOSE } };
    for (const auto& end : ends) {
        SCOPED_TRACE(testing::Message() << "pattern " << end.pattern << " code " << end.code);
        Open(0, 0, 640, 480);
        while (AppState.currentPattern < end.pattern)
            Key(VK_SPACE);
        if (end.input == KeyDown)
            Key(end.code);
        else
            Click(end.code);
        EXPECT_TRUE(Gone());
    }
    for (int outside : { -1, 0, 15 }) {
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
        Key(VK_RIGHT);
    EXPECT_TRUE(PumpMessagesUntil([] { return MoireInterferenceState.offset >= 6; }, 2000));
    Key(VK_LEFT);
    int offset = MoireInterferenceState.offset;
    EXPECT_FALSE(KillTimer(window, IDT_INTERFERENCE_STEP)) << "the animation timer outlived pattern 14";
    SendMessageW(window, WM_TIMER, IDT_INTERFERENCE_STEP, 0);
    EXPECT_EQ(offset, MoireInterferenceState.offset);
    Key(VK_RIGHT);
    EXPECT_EQ(offset, MoireInterferenceState.offset);
    EXPECT_TRUE(PumpMessagesUntil([&] { return MoireInterferenceState.offset != offset; }, 2000));
}

// The popup stays for the first second even with the cursor far away, and
// once brought back by the top rows it leaves at the next 100 ms check.
TEST_F(PatternWindowTest, PopupStaysASecondThenFollowsTheCursor)
{
    Open(0, 0, 800, 600);
    MoveCursor(400, 300);
    DWORD start = GetTickCount();
    EXPECT_TRUE(PumpMessagesUntil([] { return !IsWindowVisible(AppState.patternPopup); }, 3000));
    EXPECT_GE(GetTickCount() - start, 950u);
    EXPECT_EQ(window, GetFocus());
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(799, 5));
    EXPECT_TRUE(IsWindowVisible(AppState.patternPopup));
    EXPECT_TRUE(PumpMessagesUntil([] { return !IsWindowVisible(AppState.patternPopup); }, 600));
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

        const struct {
            int x, y;
            bool kept;
        } cursors[] = { { 0, 0, true }, { 799, 5, true }, { popup.right - 1, popup.bottom - 1, true },
                        { 10, 6, false }, { 400, 300, false }, { 400, -1, false }, { 400, -60, false } };
        for (const auto& cursor : cursors) {
            SCOPED_TRACE(testing::Message() << "cursor at " << cursor.x << ", " << cursor.y);
            SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(400, 6));
            SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(0, 5));
            ASSERT_TRUE(IsWindowVisible(AppState.patternPopup));
            MoveCursor(cursor.x, cursor.y);
            SendMessageW(window, WM_TIMER, IDT_POPUP_WATCH, 0);
            EXPECT_EQ(cursor.kept, IsWindowVisible(AppState.patternPopup) != FALSE);
        }
        SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(400, 6));
        EXPECT_FALSE(IsWindowVisible(AppState.patternPopup)) << "row 6 brought the popup in";
        const DWORD show = AW_SLIDE | AW_VER_POSITIVE;
        const DWORD hide = AW_HIDE | AW_SLIDE | AW_VER_NEGATIVE;
        std::vector<DWORD> expected = { show, hide, show, hide, show, hide, show, hide };
        EXPECT_EQ(expected, AnimateRequests);
        DestroyWindow(window);
    }
}

// The toolbar: left arrow (back), right arrow (next), a gap, the red cross
// (end), 14 pixels from the right edge and centred; the name in the title font.
TEST_F(PatternWindowTest, PopupHoldsNameAndButtons)
{
    Open(0, 0, 800, 600);
    HWND toolbar = Toolbar();
    ASSERT_TRUE(toolbar != NULL);
    const struct {
        int image, command;
        BYTE style;
    } buttons[] = { { 1, IDC_POPUP_PREVIOUS, BTNS_AUTOSIZE }, { 2, IDC_POPUP_NEXT, BTNS_AUTOSIZE },
                    { -1, 0, BTNS_SEP }, { 0, IDC_POPUP_CLOSE, BTNS_AUTOSIZE } };
    ASSERT_EQ(4, SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < 4; ++i) {
        TBBUTTON button;
        SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ(buttons[i].image, button.iBitmap) << i;
        EXPECT_EQ(buttons[i].command, button.idCommand) << i;
        EXPECT_EQ(buttons[i].style, button.fsStyle) << i;
    }

    // Image 0 is the red cross, 1 and 2 the blue arrows to the left and right.
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    ASSERT_EQ(3, ImageList_GetImageCount(images));
    TestDib dib;
    ASSERT_TRUE(CreateTestDib(&dib, 96, 32));
    FillDib(dib, RGB(255, 255, 255));
    for (int i = 0; i < 3; ++i)
        ImageList_Draw(images, i, dib.dc, 32 * i, 0, ILD_NORMAL);
    COLORREF cross = DibPixel(dib, 16, 16);
    EXPECT_GT(GetRValue(cross), GetGValue(cross) + 100) << "image 0 is not the red cross";
    EXPECT_GT(GetBValue(DibPixel(dib, 48, 16)), GetRValue(DibPixel(dib, 48, 16)) + 100);
    // The tallest column of an arrow is the base of its head.
    for (int i = 1; i < 3; ++i) {
        int tallest = 0, tallestHeight = 0;
        for (int x = 0; x < 32; ++x) {
            RECT column = { 32 * i + x, 0, 32 * i + x + 1, 32 };
            int height = 32 - CountDibPixels(dib, column, RGB(255, 255, 255));
            if (height > tallestHeight) {
                tallest = x;
                tallestHeight = height;
            }
        }
        EXPECT_EQ(i == 1, tallest < 16) << "image " << i << " points the wrong way";
    }
    DestroyTestDib(&dib);

    RECT client, bar;
    GetClientRect(AppState.patternPopup, &client);
    GetWindowRect(toolbar, &bar);
    MapWindowPoints(NULL, AppState.patternPopup, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(client.right - 14, bar.right);
    EXPECT_EQ((client.bottom - (bar.bottom - bar.top)) / 2, bar.top);
    HFONT font = reinterpret_cast<HFONT>(SendDlgItemMessageW(AppState.patternPopup, IDC_PATTERN_NAME, WM_GETFONT, 0, 0));
    EXPECT_EQ(SharedGdiObjects.titleFont, font);
}

// Walks through every pattern at the extreme sizes and a hundred times at
// a small one: nothing crashes and no object or window is left.
TEST_F(PatternWindowTest, WalksLeaveNothingBehindAtAnySize)
{
    ObjectCounts before = CurrentObjectCounts();
    const SIZE sizes[] = { { 0, 0 }, { 1, 1 }, { 7680, 4320 } };
    for (int walk = 0; walk < 103; ++walk) {
        SIZE size = walk < 3 ? sizes[walk] : SIZE{ 320, 240 };
        Open(0, 0, size.cx, size.cy);
        while (IsWindow(window))
            Key(VK_SPACE);
    }
    EXPECT_TRUE(SameCounts(before, CurrentObjectCounts()))
        << "before: " << DescribeCounts(before) << "\nafter: " << DescribeCounts(CurrentObjectCounts());
}

}  // namespace
