// The pattern window driven with keys, popup button clicks, cursor positions
// and timers: the pattern on show, its name and pixels, the popup's coming
// and going, the animation timer, and nothing left behind at any size.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "app/app_state.h"
#include "app/startup.h"
#include "bench/bench.h"
#include "pattern/painters.h"
#include "pattern/pattern_window.h"
#include "res/resource.h"

namespace {

const COLORREF Smudge = RGB(1, 2, 3);
const COLORREF White = RGB(255, 255, 255);
const COLORREF Painted = CLR_INVALID;  // any colour but the smudge
const int Command = 0x1000;  // plus a command: that command of the popup
const WCHAR* const Names[] = { L"SMPTE bars", L"Solid Black", L"Solid Red", L"Solid Green", L"Solid Blue",
                               L"Solid White", L"Boundary", L"RGB samples", L"Black Level", L"White Level",
                               L"Contrast", L"Gamma", L"Moire", L"Moire Interference" };

int AnimateRequests;
bool AnimateWorks;

// The popup slides down into view and up out of it.
BOOL WINAPI RecordAnimate(HWND window, DWORD milliseconds, DWORD flags)
{
    ++AnimateRequests;
    EXPECT_EQ(flags & AW_HIDE ? AW_HIDE | AW_SLIDE | AW_VER_NEGATIVE : AW_SLIDE | AW_VER_POSITIVE, flags);
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
    void Open(int y, int width, int height)
    {
        window = CreateWindowExW(0, PatternTestClassName, NULL, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, y,
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

    // A key, or a command of the popup as its toolbar's buttons send them.
    void Do(int input)
    {
        bool command = input >= Command;
        SendMessageW(command ? AppState.patternPopup : window, command ? WM_COMMAND : WM_KEYDOWN, input % Command, 0);
    }

    // The window's pixel at x, y, after setting it to color (if given).
    COLORREF Pixel(int x, int y, COLORREF color = CLR_INVALID)
    {
        HDC dc = GetDC(window);
        color = color != CLR_INVALID ? SetPixel(dc, x, y, color) : GetPixel(dc, x, y);
        ReleaseDC(window, dc);
        return color;
    }

    // Puts the cursor at a point of the window's client area, and waits
    // until Wine has reported it there for 50 ms.
    void MoveCursor(int x, int y)
    {
        POINT point = { x, y };
        ClientToScreen(window, &point);
        SetCursorPos(point.x, point.y);
        DWORD since = 0;
        EXPECT_TRUE(PumpMessagesUntil([&] {
            POINT now;
            if (!GetCursorPos(&now) || now.x != point.x || now.y != point.y) {
                SetCursorPos(point.x, point.y);  // a late pointer event from X put it back
                since = 0;
                return false;
            }
            since = since != 0 ? since : GetTickCount();
            return GetTickCount() - since >= 50;
        }, 2000)) << "the cursor did not stay at " << x << ", " << y;
    }

    HWND window = NULL;
};

// Keys, buttons and commands at 800 x 600, whose centre lies in the fourth
// colour bar of "SMPTE bars". Before every step the window is smudged: a
// step repaints at once, anything else leaves the smudge. Timer 101 ticks
// every 80 ms exactly while pattern 14 is on show, and the animation goes on
// where it stopped when the user comes back.
TEST_F(PatternWindowTest, KeysAndButtonsStepThroughThePatterns)
{
    const COLORREF bar = RGB(16, 180, 16);
    const struct { int input, pattern; COLORREF centre; } steps[] = {
        { VK_BACK, 1, bar }, { VK_LEFT, 1, bar }, { Command + IDC_POPUP_PREVIOUS, 1, bar }, { 'A', 1, Smudge },
        { VK_UP, 1, Smudge }, { VK_RETURN, 1, Smudge }, { Command + 113, 1, Smudge }, { VK_SPACE, 2, RGB(0, 0, 0) },
        { VK_RIGHT, 3, RGB(255, 0, 0) }, { Command + IDC_POPUP_NEXT, 4, RGB(0, 255, 0) },
        { VK_SPACE, 5, RGB(0, 0, 255) }, { VK_SPACE, 6, White }, { VK_SPACE, 7, Painted }, { VK_SPACE, 8, Painted },
        { VK_SPACE, 9, Painted }, { VK_SPACE, 10, Painted }, { VK_SPACE, 11, Painted }, { VK_SPACE, 12, Painted },
        { VK_SPACE, 13, Painted }, { VK_SPACE, 14, Painted },
    };
    Open(0, 800, 600);
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << "input " << step.input);
        Pixel(400, 300, Smudge);
        Do(step.input);
        ASSERT_EQ(step.pattern, AppState.currentPattern);
        EXPECT_EQ(Names[step.pattern - 1], PopupText());
        if (step.centre == Painted)
            EXPECT_NE(Smudge, Pixel(400, 300));
        else
            EXPECT_EQ(step.centre, Pixel(400, 300));
    }
    EXPECT_EQ(80u, LastTimerPeriod(IDT_INTERFERENCE_STEP)) << "the animation's tick";
    EXPECT_TRUE(PumpMessagesUntil([] { return MoireInterferenceState.offset >= 6; }, 2000));
    Do(VK_BACK);
    int offset = MoireInterferenceState.offset;
    EXPECT_FALSE(KillTimer(window, IDT_INTERFERENCE_STEP)) << "the animation timer outlived pattern 14";
    SendMessageW(window, WM_TIMER, IDT_INTERFERENCE_STEP, 0);
    Do(VK_RIGHT);
    EXPECT_EQ(offset, MoireInterferenceState.offset);
    EXPECT_TRUE(PumpMessagesUntil([&] { return MoireInterferenceState.offset != offset; }, 2000));
}

// Every way out ends the test and the next one starts afresh at pattern 1.
// Walks through all the patterns at the extreme sizes (thin ones, to keep
// the walks quick) and a hundred at a small one leave no object, window or
// heap memory behind.
TEST_F(PatternWindowTest, EveryEndLeavesNothingBehindAtAnySize)
{
    const struct { int pattern, input; } ends[] = { { 14, VK_SPACE }, { 14, VK_RIGHT }, { 14, Command + IDC_POPUP_NEXT },
                                                    { 1, VK_ESCAPE }, { 5, Command + IDC_POPUP_CLOSE } };
    const SIZE sizes[] = { { 0, 0 }, { 1, 1 }, { 7680, 240 }, { 240, 4320 } };
    ReleaseMoireInterference();  // counted without what an earlier window may have kept
    ObjectCounts before = CurrentObjectCounts();
    size_t heap = CrtHeapBytesInUse();
    for (int walk = 0; walk < 100; ++walk) {
        SIZE size = walk < 4 ? sizes[walk] : SIZE{ 320, 240 };
        Open(0, size.cx, size.cy);
        for (int pattern = 1; pattern < 14; ++pattern)
            Do(VK_SPACE);
        for (int pattern = 14; pattern > ends[walk % 5].pattern; --pattern)
            Do(VK_LEFT);
        Do(ends[walk % 5].input);
        ASSERT_TRUE(!IsWindow(window) && AppState.testWindow == NULL && AppState.patternPopup == NULL)
            << "end " << walk % 5;
    }
    EXPECT_EQ(DescribeCounts(before), DescribeCounts(CurrentObjectCounts()));
    EXPECT_EQ(heap, CrtHeapBytesInUse()) << "heap bytes: the rings and the frame go with the window";
    for (int outside : { 0, 15 }) {
        AppState.currentPattern = static_cast<PatternType>(outside);
        EXPECT_EQ(NULL, PatternName()) << outside;
    }
}

// The popup stays for the first second even with the cursor far away and
// the focus elsewhere, then gives the focus back; brought back by the top
// six rows, it leaves at the next 100 ms check unless the cursor is over it
// or still in those rows. Every show and hide is tried with the slide and
// with the fallback for a system that cannot animate. The window sits 100
// pixels down the screen, so the cursor can be above it.
TEST_F(PatternWindowTest, PopupComesAndGoesByCursorRow)
{
    PelmiraAnimateWindow = RecordAnimate;
    AnimateWorks = true;
    AnimateRequests = 0;
    DWORD start = GetTickCount();
    Open(100, 800, 600);
    RECT popup;
    GetWindowRect(AppState.patternPopup, &popup);
    MapWindowPoints(NULL, window, reinterpret_cast<POINT*>(&popup), 2);
    EXPECT_EQ((800 - (popup.right - popup.left)) / 2, popup.left);
    EXPECT_EQ(0, popup.top);
    MoveCursor(400, 300);
    HWND elsewhere = CreateWindowExW(0, L"Button", NULL, WS_POPUP | WS_VISIBLE, 0, 0, 9, 9, NULL, NULL, NULL, NULL);
    SetFocus(elsewhere);
    EXPECT_TRUE(PumpMessagesUntil([] { return !PopupShown(); }, 3000));
    EXPECT_GE(GetTickCount() - start, 950u);
    EXPECT_EQ(window, GetFocus());
    DestroyWindow(elsewhere);
    AnimateWorks = false;
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(799, 5));
    EXPECT_TRUE(PopupShown());
    EXPECT_TRUE(PumpMessagesUntil([] { return !PopupShown(); }, 600));

    const struct { int x, y; bool kept, works; } cursors[] = {
        { 0, 0, true, false }, { 799, 5, true, true }, { popup.right - 1, popup.bottom - 1, true, true },
        { 10, 6, false, false }, { 400, 300, false, true }, { 400, -1, false, false }, { 400, -60, false, true } };
    for (const auto& cursor : cursors) {
        SCOPED_TRACE(testing::Message() << "cursor at " << cursor.x << ", " << cursor.y);
        AnimateWorks = cursor.works;
        SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(0, 5));
        ASSERT_TRUE(PopupShown());
        MoveCursor(cursor.x, cursor.y);
        SendMessageW(window, WM_TIMER, IDT_POPUP_WATCH, 0);
        EXPECT_EQ(cursor.kept, PopupShown());
    }
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(400, 6));
    EXPECT_FALSE(PopupShown()) << "row 6 brought the popup in";
    EXPECT_EQ(12, AnimateRequests);
}

// Left to right: back (an arrow with its head in the left half), next (head
// in the right half), a gap, and end (red); the name in the title font.
TEST_F(PatternWindowTest, PopupHoldsNameAndButtons)
{
    Open(0, 800, 600);
    HWND toolbar = FindWindowExW(AppState.patternPopup, NULL, TOOLBARCLASSNAMEW, NULL);
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0));
    ASSERT_EQ(4, SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    const struct { int command, head; bool red; } buttons[4] = {
        { IDC_POPUP_PREVIOUS, -1, false }, { IDC_POPUP_NEXT, 1, false }, { 0, 0, false }, { IDC_POPUP_CLOSE, 0, true } };
    TestDib dib;
    ASSERT_TRUE(CreateTestDib(&dib, 32, 32));
    for (int i = 0; i < 4; ++i) {
        TBBUTTON button;
        SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ(buttons[i].command, button.idCommand) << i;
        EXPECT_EQ(i == 2 ? BTNS_SEP : BTNS_AUTOSIZE, button.fsStyle) << i;
        EXPECT_EQ(TBSTATE_ENABLED, button.fsState) << i;
        FillDib(dib, White);
        ImageList_Draw(images, button.iBitmap, dib.dc, 0, 0, ILD_NORMAL);
        // Fewer white pixels in the half that holds the head.
        int balance = CountDibPixels(dib, { 0, 0, 16, 32 }, White) - CountDibPixels(dib, { 16, 0, 32, 32 }, White);
        EXPECT_EQ(buttons[i].head, (balance > 20) - (balance < -20)) << "button " << i << ": " << balance;
        COLORREF centre = DibPixel(dib, 16, 16);
        EXPECT_EQ(buttons[i].red, GetRValue(centre) > GetBValue(centre) + 100) << "button " << i;
    }
    DestroyTestDib(&dib);
    EXPECT_EQ(reinterpret_cast<LRESULT>(SharedGdiObjects.titleFont),
              SendDlgItemMessageW(AppState.patternPopup, IDC_PATTERN_NAME, WM_GETFONT, 0, 0));
}

}  // namespace
