// The motion test: the painting of every shape option, the control panel, the
// statistics, the stop, failed starts, leaks, and the two timing threads run
// on a clock of the test's own so that no check depends on the machine's speed.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <tlhelp32.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/startup.h"
#include "bench/bench.h"
#include "motion/motion_state.h"
#include "res/resource.h"

namespace {

const COLORREF Black = RGB(0, 0, 0);
const COLORREF White = RGB(255, 255, 255);

// Threads that stand in for the timing threads: they touch nothing and end
// once the stop event is set, the rate thread only once the gate is open too.
HANDLE Gate;
int CreateCalls;
int FailCreateCall;         // the call that returns null, or 0
HANDLE Created[2];          // duplicates of the threads made
bool RealThreads;

DWORD WINAPI WaitForStop(LPVOID)
{
    WaitForSingleObject(MotionState.stopEvent, INFINITE);
    return 0;
}

DWORD WINAPI WaitForStopAndGate(LPVOID)
{
    WaitForSingleObject(MotionState.stopEvent, INFINITE);
    WaitForSingleObject(Gate, 5000);  // bounded: a fault must fail, not hang
    return 0;
}

HANDLE WINAPI CreateTestThread(LPSECURITY_ATTRIBUTES security, SIZE_T stack,
                               LPTHREAD_START_ROUTINE routine, LPVOID parameter, DWORD flags,
                               LPDWORD id)
{
    if (++CreateCalls == FailCreateCall)
        return NULL;
    if (!RealThreads)
        routine = routine == MotionRateThreadProc ? WaitForStopAndGate : WaitForStop;
    HANDLE thread = CreateThread(security, stack, routine, parameter, flags, id);
    DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &Created[CreateCalls - 1], 0,
                    FALSE, DUPLICATE_SAME_ACCESS);
    return thread;
}

bool Ended(HANDLE thread)
{
    return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
}

int ThreadsOfThisProcess()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry;
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    CloseHandle(snapshot);
    return count;
}

// The lowest free handle slot: it moves when a handle leaks.
HANDLE NextFreeHandle()
{
    HANDLE probe = CreateEventW(NULL, TRUE, FALSE, NULL);
    CloseHandle(probe);
    return probe;
}

std::wstring ControlText(HWND panel, int control)
{
    WCHAR text[64];
    GetDlgItemTextW(panel, control, text, 64);
    return text;
}

class MotionTest : public testing::Test {
protected:
    void SetUp() override
    {
        Gate = CreateEventW(NULL, TRUE, TRUE, NULL);
        CreateCalls = FailCreateCall = 0;
        RealThreads = false;
        PelmiraCreateThread = CreateTestThread;
    }

    void TearDown() override
    {
        SetEvent(Gate);
        if (IsWindow(window))
            DestroyWindow(window);
        PelmiraCreateThread = CreateThread;
        for (HANDLE& thread : Created)
            if (thread != NULL)
                CloseHandle(thread);
        ZeroMemory(Created, sizeof(Created));
        CloseHandle(Gate);
        RefuseMessageBoxes();
    }

    // The window as the main window makes it, at the top left of the desktop.
    HWND Open(int width, int height)
    {
        CreateCalls = 0;
        window = CreateWindowExW(0, MotionTestClassName, NULL, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                 0, 0, width, height, NULL, NULL, GetModuleHandleW(NULL), NULL);
        AppState.testWindow = window;
        panel = MotionState.panel;
        return window;
    }

    void Escape()
    {
        SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    }

    bool WaitUntilGone()
    {
        return PumpMessagesUntil([this] { return !IsWindow(window); }, 5000);
    }

    HWND window = NULL;
    HWND panel = NULL;
};

// Every shape option, painted into DIB sections that stand for the paint
// context and the back buffer.
TEST_F(MotionTest, PaintsEveryShapeOption)
{
    struct Probe {
        int x, y;
        COLORREF color;
    };
    struct Case {
        const char* name;
        LONG circle, size, hollow, inverted, preventFlicker;
        int width, height, x;
        int shapePixels;  // pixels of the shape's colour; -1: not counted
        Probe probes[6];
    } cases[] = {
        { "solid square", 0, 96, 0, 0, 1, 320, 240, 10, 96 * 96,
          { { 10, 72, White }, { 105, 167, White }, { 9, 72, Black }, { 106, 72, Black },
            { 10, 71, Black }, { 10, 168, Black } } },
        // H < s: the top is (41 - 48) / 2 = -3, so the hole starts at row 7.
        { "hollow small square, taller than the client, inverted", 0, 48, 1, 1, 0, 200, 41, 0,
          41 * 48 - 28 * 28,
          { { 10, 6, Black }, { 10, 7, White }, { 37, 34, White }, { 37, 35, Black },
            { 9, 20, Black }, { 48, 0, White } } },
        { "hollow large square", 0, 192, 1, 0, 1, 400, 300, 50, 192 * 192 - 172 * 172,
          { { 59, 64, White }, { 60, 64, Black }, { 231, 235, Black }, { 232, 235, White },
            { 241, 245, White }, { 242, 245, Black } } },
        { "square just beyond the right edge", 0, 96, 0, 0, 1, 200, 100, 200, 0,
          { { 199, 50, Black } } },
        { "solid circle with its black outline", 1, 96, 0, 0, 0, 320, 240, 10, -1,
          { { 58, 120, White }, { 58, 72, Black }, { 58, 73, White }, { 10, 72, Black },
            { 10, 120, Black }, { 11, 120, White } } },
        { "hollow small circle, inverted", 1, 48, 1, 1, 0, 100, 100, 0, -1,
          { { 5, 50, Black }, { 24, 50, White }, { 24, 26, Black }, { 24, 25, White },
            { 0, 26, White } } },
        { "hollow large circle", 1, 192, 1, 0, 1, 400, 300, 0, -1,
          { { 96, 150, Black }, { 5, 150, White }, { 96, 54, Black }, { 96, 55, White },
            { 96, 60, White }, { 96, 70, Black } } },
    };
    const COLORREF untouched = RGB(1, 2, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetMotionOptions();
        StoreRelaxed(MotionOptions.circle, c.circle);
        StoreRelaxed(MotionOptions.shapeSize, c.size);
        StoreRelaxed(MotionOptions.hollow, c.hollow);
        StoreRelaxed(MotionOptions.invertColors, c.inverted);
        StoreRelaxed(MotionOptions.preventFlicker, c.preventFlicker);
        TestDib screen, buffer;
        ASSERT_TRUE(CreateTestDib(&screen, c.width, c.height));
        ASSERT_TRUE(CreateTestDib(&buffer, c.width, c.height));
        FillDib(screen, untouched);
        FillDib(buffer, untouched);
        HGDIOBJ brush = GetCurrentObject(screen.dc, OBJ_BRUSH);
        ObjectCounts before = CurrentObjectCounts();

        PaintMotionFrame(screen.dc, buffer.dc, c.width, c.height, c.x);

        EXPECT_TRUE(SameCounts(before, CurrentObjectCounts()));
        EXPECT_EQ(brush, GetCurrentObject(screen.dc, OBJ_BRUSH));
        RECT all = { 0, 0, c.width, c.height };
        COLORREF shape = c.inverted ? Black : White;
        COLORREF background = c.inverted ? White : Black;
        EXPECT_EQ(c.width * c.height, CountDibPixels(screen, all, shape) +
                                          CountDibPixels(screen, all, background));
        if (c.shapePixels >= 0) {
            EXPECT_EQ(c.shapePixels, CountDibPixels(screen, all, shape));
        }
        for (const Probe& p : c.probes) {
            if (p.x != 0 || p.y != 0 || p.color != 0) {
                EXPECT_EQ(p.color, DibPixel(screen, p.x, p.y)) << "at " << p.x << ", " << p.y;
            }
        }
        // Composed off screen, or straight on the screen with the buffer left alone.
        int sameInBuffer = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                sameInBuffer += DibPixel(buffer, x, y) == DibPixel(screen, x, y) ? 1 : 0;
        EXPECT_EQ(c.preventFlicker ? c.width * c.height : 0, sameInBuffer);
        DestroyTestDib(&screen);
        DestroyTestDib(&buffer);
    }
}

TEST_F(MotionTest, PanelShowsTheDefaultsAndWritesTheOptions)
{
    // Whatever the last test chose, a new one starts from the defaults.
    StoreRelaxed(MotionOptions.circle, 1);
    StoreRelaxed(MotionOptions.shapeSize, 48);
    StoreRelaxed(MotionOptions.stepPeriodMicros, 1000);
    ASSERT_TRUE(Open(1200, 400) != NULL);
    RECT rect;
    GetWindowRect(panel, &rect);
    EXPECT_EQ((1200 - (rect.right - rect.left)) / 2, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_EQ(window, GetParent(panel));
    const int checked[] = { IDC_MOTION_SQUARE, IDC_MOTION_MEDIUM, IDC_MOTION_FORCE_UPDATE,
                            IDC_MOTION_PREVENT_FLICKER };
    const int unchecked[] = { IDC_MOTION_CIRCLE, IDC_MOTION_SMALL, IDC_MOTION_LARGE,
                              IDC_MOTION_HOLLOW, IDC_MOTION_INVERT };
    for (int control : checked)
        EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(panel, control)) << control;
    for (int control : unchecked)
        EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(panel, control)) << control;
    HWND speed = GetDlgItem(panel, IDC_MOTION_SPEED);
    EXPECT_EQ(1, SendMessageW(speed, TBM_GETRANGEMIN, 0, 0));
    EXPECT_EQ(1000, SendMessageW(speed, TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(60, SendMessageW(speed, TBM_GETPOS, 0, 0));
    EXPECT_EQ(16666, LoadRelaxed(MotionOptions.stepPeriodMicros));
    EXPECT_EQ(L"-", ControlText(panel, IDC_MOTION_SPEED_VALUE));
    EXPECT_EQ(L"-", ControlText(panel, IDC_MOTION_FPS_VALUE));

    // Clicks, in order; each leaves its option and its radio group so.
    struct Click {
        int control;
        std::atomic<LONG>* option;
        LONG value;
        int unchecks;  // the group's button that the click clears, or 0
    } clicks[] = {
        { IDC_MOTION_CIRCLE, &MotionOptions.circle, 1, IDC_MOTION_SQUARE },
        { IDC_MOTION_LARGE, &MotionOptions.shapeSize, 192, IDC_MOTION_MEDIUM },
        { IDC_MOTION_SMALL, &MotionOptions.shapeSize, 48, IDC_MOTION_LARGE },
        { IDC_MOTION_SQUARE, &MotionOptions.circle, 0, IDC_MOTION_CIRCLE },
        { IDC_MOTION_MEDIUM, &MotionOptions.shapeSize, 96, IDC_MOTION_SMALL },
        { IDC_MOTION_HOLLOW, &MotionOptions.hollow, 1, 0 },
        { IDC_MOTION_HOLLOW, &MotionOptions.hollow, 0, 0 },
        { IDC_MOTION_INVERT, &MotionOptions.invertColors, 1, 0 },
        { IDC_MOTION_FORCE_UPDATE, &MotionOptions.forceScreenUpdate, 0, 0 },
        { IDC_MOTION_PREVENT_FLICKER, &MotionOptions.preventFlicker, 0, 0 },
        { IDC_MOTION_PREVENT_FLICKER, &MotionOptions.preventFlicker, 1, 0 },
    };
    for (const Click& click : clicks) {
        SCOPED_TRACE(testing::Message() << "click on " << click.control);
        SendDlgItemMessageW(panel, click.control, BM_CLICK, 0, 0);
        EXPECT_EQ(click.value, LoadRelaxed(*click.option));
        if (click.unchecks != 0) {
            EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(panel, click.unchecks));
        }
    }

    // The speed: dragged (the position comes with the message), then moved
    // by page and by key (read from the trackbar).
    struct Move {
        WPARAM scroll;
        int position;  // the trackbar's own position, or 0 to leave it
        LONG period;
    } moves[] = {
        { MAKEWPARAM(TB_THUMBTRACK, 1000), 500, 1000 },
        { MAKEWPARAM(TB_THUMBTRACK, 1), 0, 1000000 },
        { MAKEWPARAM(TB_THUMBTRACK, 7), 0, 142857 },
        { MAKEWPARAM(TB_THUMBTRACK, 0), 0, 1000000 },
        { MAKEWPARAM(TB_THUMBTRACK, 60), 0, 16666 },
        { MAKEWPARAM(TB_PAGEDOWN, 0), 0, 2000 },
        { MAKEWPARAM(TB_ENDTRACK, 0), 250, 4000 },
    };
    for (const Move& move : moves) {
        SCOPED_TRACE(testing::Message() << "scroll " << LOWORD(move.scroll) << ", " << HIWORD(move.scroll));
        if (move.position != 0)
            SendMessageW(speed, TBM_SETPOS, TRUE, move.position);
        SendMessageW(panel, WM_HSCROLL, move.scroll, reinterpret_cast<LPARAM>(speed));
        EXPECT_EQ(move.period, LoadRelaxed(MotionOptions.stepPeriodMicros));
    }
    SendMessageW(speed, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(1000000 / 251, LoadRelaxed(MotionOptions.stepPeriodMicros));
}

TEST_F(MotionTest, StatisticsShowInThePanelRedWhileLagging)
{
    ASSERT_TRUE(Open(1200, 400) != NULL);
    struct Case {
        LONG lagging;
        WPARAM counts;
        const WCHAR* speed;
        const WCHAR* fps;
    } cases[] = {
        { 0, MAKEWPARAM(60, 75), L"60", L"75" },
        { 1, MAKEWPARAM(58, 30), L"58", L"30 !" },
        { 0, MAKEWPARAM(65535, 0), L"65535", L"0" },
    };
    HWND fps = GetDlgItem(panel, IDC_MOTION_FPS_VALUE);
    HWND speed = GetDlgItem(panel, IDC_MOTION_SPEED_VALUE);
    HDC dc = CreateCompatibleDC(NULL);
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.fps));
        StoreRelaxed(MotionState.lagging, c.lagging);
        SendMessageW(window, WM_MOTION_STATS, c.counts, 0);
        EXPECT_EQ(c.speed, ControlText(panel, IDC_MOTION_SPEED_VALUE));
        EXPECT_EQ(c.fps, ControlText(panel, IDC_MOTION_FPS_VALUE));
        const struct {
            HWND control;
            COLORREF text;
        } colours[] = { { fps, c.lagging ? RGB(237, 28, 36) : Black }, { speed, Black } };
        for (const auto& colour : colours) {
            SetTextColor(dc, Black);
            LRESULT brush = SendMessageW(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(colour.control));
            EXPECT_EQ(colour.text, GetTextColor(dc));
            EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetBkColor(dc));
            EXPECT_EQ(reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)), brush);
        }
    }
    DeleteDC(dc);
}

// Escape sets the stop event; the window goes only once both threads have
// ended, and a second Escape changes nothing.
TEST_F(MotionTest, EscapeEndsTheTestOnceBothThreadsHaveEnded)
{
    ASSERT_TRUE(Open(640, 480) != NULL);
    ResetEvent(Gate);
    Escape();
    Escape();
    PumpMessagesFor(150);
    EXPECT_TRUE(IsWindow(window)) << "gone before its threads ended";
    EXPECT_EQ(1, AppState.motionActive);
    SetEvent(Gate);
    EXPECT_TRUE(WaitUntilGone());
    EXPECT_TRUE(Ended(Created[0]) && Ended(Created[1]));
    EXPECT_EQ(0, AppState.motionActive);
    EXPECT_EQ(NULL, AppState.motionThread);
    EXPECT_EQ(NULL, MotionState.rateThread);
    EXPECT_EQ(NULL, MotionState.stopEvent);
}

// The real threads move the shape and report to the window; however the
// window goes, no thread outlives it.
TEST_F(MotionTest, RealThreadsReportAndNeverOutliveTheWindow)
{
    RealThreads = true;
    HWND main = CreateMainWindow();
    ASSERT_TRUE(main != NULL);
    const char* ends[] = { "DestroyWindow without Escape", "the main window closed" };
    for (const char* end : ends) {
        SCOPED_TRACE(end);
        if (end == ends[0]) {
            Open(640, 480);
        } else {
            CreateCalls = 0;
            SendMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_MOTION_TEST, BN_CLICKED), 0);
            window = AppState.testWindow;
            panel = MotionState.panel;
        }
        ASSERT_TRUE(IsWindow(window));
        SendMessageW(panel, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 1000), 0);
        EXPECT_TRUE(PumpMessagesUntil(
            [this] { return ControlText(panel, IDC_MOTION_SPEED_VALUE) != L"-"; }, 5000));
        EXPECT_GT(LoadRelaxed(MotionState.shapeX), 0);
        if (end == ends[0])
            DestroyWindow(window);
        else
            SendMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_TRUE(Ended(Created[0]) && Ended(Created[1]));
        for (HANDLE& thread : Created) {
            CloseHandle(thread);
            thread = NULL;
        }
    }
    DestroyMainWindow(main);
}

// The message box of a failed start, and whether the step thread had ended
// by the time it showed.
std::vector<RecordedMessageBox> Shown;
bool StepThreadEndedAtBox;

int WINAPI RecordStartFailure(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    Shown.push_back({ owner, text, caption, type });
    StepThreadEndedAtBox = Created[0] == NULL || Ended(Created[0]);
    return IDOK;
}

TEST_F(MotionTest, FailedThreadStartsShowString110AndLeaveNothing)
{
    ObjectCounts before = CurrentObjectCounts();
    HANDLE freeHandle = NextFreeHandle();
    int threads = ThreadsOfThisProcess();
    for (int failing = 1; failing <= 2; ++failing) {
        SCOPED_TRACE(failing == 1 ? "step thread" : "rate thread");
        Shown.clear();
        PelmiraMessageBox = RecordStartFailure;
        RealThreads = true;
        FailCreateCall = failing;
        HWND created = Open(640, 480);
        RefuseMessageBoxes();
        const std::vector<RecordedMessageBox>& shown = Shown;
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(NULL, created);
        ASSERT_EQ(1u, shown.size());
        EXPECT_EQ(L"Failed to start motion test. Try again.", shown[0].text);
        EXPECT_EQ(L"Pelmira", shown[0].caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), shown[0].type);
        EXPECT_EQ(AppState.mainWindow, shown[0].owner);
        EXPECT_EQ(0, AppState.motionActive);
        EXPECT_EQ(NULL, AppState.motionThread);
        EXPECT_TRUE(StepThreadEndedAtBox);
        if (failing == 2) {
            // The step thread was resumed only to see the stop: it made no step.
            EXPECT_EQ(0u, LoadRelaxed(MotionState.stepCount));
            CloseHandle(Created[0]);
            Created[0] = NULL;
        }
    }
    EXPECT_TRUE(SameCounts(before, CurrentObjectCounts())) << DescribeCounts(CurrentObjectCounts());
    EXPECT_EQ(freeHandle, NextFreeHandle());
    EXPECT_EQ(threads, ThreadsOfThisProcess());
}

TEST_F(MotionTest, FiftyRunsLeakNothing)
{
    Open(640, 480);
    Escape();
    ASSERT_TRUE(WaitUntilGone());
    ObjectCounts before = CurrentObjectCounts();
    HANDLE freeHandle = NextFreeHandle();
    int threads = ThreadsOfThisProcess();
    for (int run = 0; run < 50; ++run) {
        ASSERT_TRUE(Open(640, 480) != NULL) << "run " << run;
        Escape();
        ASSERT_TRUE(WaitUntilGone()) << "run " << run;
    }
    EXPECT_TRUE(SameCounts(before, CurrentObjectCounts()))
        << "before: " << DescribeCounts(before) << "\nafter:  " << DescribeCounts(CurrentObjectCounts());
    EXPECT_EQ(freeHandle, NextFreeHandle());
    EXPECT_EQ(threads, ThreadsOfThisProcess());
}

// The thread routines run on the test's thread against a counter that moves
// a fixed time per read; a hook sees every read and plays the other threads.
LONGLONG FakeMicros;
LONGLONG MicrosPerRead;
int Reads;
std::function<void(int)> OnRead;

BOOL WINAPI FakeCounter(LARGE_INTEGER* value)
{
    FakeMicros += MicrosPerRead;
    ++Reads;
    OnRead(Reads);
    if (Reads > 100000)
        SetEvent(MotionState.stopEvent);  // a runaway loop ends the test, not the run
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    value->QuadPart = FakeMicros * frequency.QuadPart / 1000000;
    return TRUE;
}

class MotionThreadTest : public testing::Test {
protected:
    void SetUp() override
    {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        ASSERT_EQ(0, frequency.QuadPart % 1000000) << "the fake clock needs whole ticks per microsecond";
        MotionState.stopEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
        PelmiraQueryPerformanceCounter = FakeCounter;
        Restart();
    }

    void Restart()
    {
        ResetEvent(MotionState.stopEvent);
        FakeMicros = 0;
        Reads = 0;
        ResetMotionOptions();
        StoreRelaxed(MotionState.shapeX, 0);
        StoreRelaxed(MotionState.stepCount, 0u);
        StoreRelaxed(MotionState.paintCount, 0u);
    }

    void TearDown() override
    {
        PelmiraQueryPerformanceCounter = QueryPerformanceCounter;
        CloseHandle(MotionState.stopEvent);
        MotionState.stopEvent = NULL;
        StoreRelaxed(MotionState.reportWindow, static_cast<HWND>(NULL));
    }
};

TEST_F(MotionThreadTest, StepThreadStepsOncePerPeriodAndWraps)
{
    struct Case {
        const char* name;
        LONG period, micros, travelWidth;
        int changeAtRead;  // the panel sets the period to 1000 at this read
        ULONG stopAtSteps;
        int reads;
        std::vector<LONG> xAtSteps;
    } cases[] = {
        // Four reads of 250 us make the 1000 us period exactly; after x = 3
        // the shape starts again at 0.
        { "1000 us, travel 3", 1000, 250, 3, 0, 5, 21, { 1, 2, 3, 0, 1 } },
        // A long wait ends at the next turn after the period is shortened.
        { "1 px/s, then 1000", 1000000, 1000, 100, 3, 2, 4, { 1, 2 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Restart();
        StoreRelaxed(MotionOptions.stepPeriodMicros, c.period);
        MicrosPerRead = c.micros;
        MotionState.travelWidth = c.travelWidth;
        std::vector<LONG> xAtSteps;
        OnRead = [&](int read) {
            if (LoadRelaxed(MotionState.stepCount) > xAtSteps.size())
                xAtSteps.push_back(LoadRelaxed(MotionState.shapeX));
            if (read == c.changeAtRead)
                StoreRelaxed(MotionOptions.stepPeriodMicros, 1000);
            if (LoadRelaxed(MotionState.stepCount) == c.stopAtSteps)
                SetEvent(MotionState.stopEvent);
        };
        EXPECT_EQ(0u, MotionStepThreadProc(NULL));
        EXPECT_EQ(c.stopAtSteps, LoadRelaxed(MotionState.stepCount)) << "a step after the stop";
        EXPECT_EQ(c.reads, Reads);
        EXPECT_EQ(c.xAtSteps, xAtSteps);
    }
}

// One report at once (dropped: no window yet), one per second, one last
// when stopped; the flag compares the full counts, the report their low 16 bits.
TEST_F(MotionThreadTest, RateThreadReportsEverySecondAndOnStop)
{
    HWND target = CreateWindowExW(0, L"Static", NULL, 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    MicrosPerRead = 100000;
    StoreRelaxed(MotionState.stepCount, 3u);
    StoreRelaxed(MotionState.paintCount, 1u);
    // Reads 1, 12, 23 and 34 start the seconds; counts are set within each.
    struct Event {
        int read;
        ULONG steps, paints;
    } events[] = { { 5, 60, 61 }, { 15, 100, 65546 }, { 25, 60, 59 }, { 36, 7, 9 } };
    std::vector<LONG> laggingAtStarts;
    OnRead = [&](int read) {
        if (read == 1)
            StoreRelaxed(MotionState.reportWindow, target);
        if (read % 11 == 1)
            laggingAtStarts.push_back(LoadRelaxed(MotionState.lagging));
        for (const Event& e : events) {
            if (e.read != read)
                continue;
            StoreRelaxed(MotionState.stepCount, e.steps);
            StoreRelaxed(MotionState.paintCount, e.paints);
        }
        if (read == 36)
            SetEvent(MotionState.stopEvent);
    };
    EXPECT_EQ(0u, MotionRateThreadProc(NULL));
    EXPECT_EQ(36, Reads);
    EXPECT_EQ(std::vector<LONG>({ 1, 0, 0, 1 }), laggingAtStarts);
    EXPECT_EQ(0, LoadRelaxed(MotionState.lagging));
    std::vector<std::pair<int, int>> reports;
    MSG message;
    while (PeekMessageW(&message, target, WM_MOTION_STATS, WM_MOTION_STATS, PM_REMOVE))
        reports.push_back({ LOWORD(message.wParam), HIWORD(message.wParam) });
    std::vector<std::pair<int, int>> expected = { { 60, 61 }, { 100, 10 }, { 60, 59 }, { 7, 9 } };
    EXPECT_EQ(expected, reports);
    DestroyWindow(target);
}

}  // namespace
