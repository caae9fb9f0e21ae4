// The motion test: the painting of every shape option, the control panel and
// the statistics, the stop, failed starts and leaks, and the two timing
// threads run on a clock of the test's own, so that no check depends on the
// machine's speed.
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

const COLORREF Black = RGB(0, 0, 0), White = RGB(255, 255, 255);

// Thread creation that fails at call FailingCall and keeps duplicates of the
// step and rate threads made. The rate thread is a stand-in that reports
// nothing (the tests set the lagging flag themselves) and ends at the stop
// once the gate is open; the real one runs on a fake clock further down.
HANDLE Gate;
int Calls, FailingCall;
HANDLE Created[2];

DWORD WINAPI GatedRateThread(LPVOID)
{
    WaitForSingleObject(MotionState.stopEvent, INFINITE);
    WaitForSingleObject(Gate, 5000);  // bounded: a fault fails, not hangs
    return 0;
}

HANDLE WINAPI CreateTestThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE routine, LPVOID,
                               DWORD flags, LPDWORD)
{
    if (++Calls == FailingCall)
        return NULL;
    bool rate = routine == MotionRateThreadProc;
    HANDLE thread = CreateThread(NULL, 0, rate ? GatedRateThread : routine, NULL, flags, NULL);
    DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &Created[rate], 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    return thread;
}

bool Ended(HANDLE thread)
{
    return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
}

// The lowest free handle slot (it moves when a handle leaks; Wine's
// GetProcessHandleCount is always 0) and the number of the process's threads.
std::pair<HANDLE, int> HandlesAndThreads()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry;
    entry.dwSize = sizeof(entry);
    int threads = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        threads += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    CloseHandle(snapshot);
    HANDLE probe = CreateEventW(NULL, TRUE, FALSE, NULL);
    CloseHandle(probe);
    return { probe, threads };
}

// The panel's checked buttons, by number.
std::string Checked()
{
    std::string checked;
    for (int control = IDC_MOTION_SQUARE; control <= IDC_MOTION_FORCE_UPDATE; ++control)
        checked += IsDlgButtonChecked(MotionState.panel, control) ? std::to_string(control) + " " : "";
    return checked;
}

// The two figures of the panel, "speed|fps".
std::wstring Figures()
{
    WCHAR speed[64], fps[64];
    GetDlgItemTextW(MotionState.panel, IDC_MOTION_SPEED_VALUE, speed, 64);
    GetDlgItemTextW(MotionState.panel, IDC_MOTION_FPS_VALUE, fps, 64);
    return std::wstring(speed) + L"|" + fps;
}

void CloseCreated()
{
    for (HANDLE& thread : Created) {
        if (thread != NULL)
            CloseHandle(thread);
        thread = NULL;
    }
}

class MotionTest : public testing::Test {
protected:
    void SetUp() override
    {
        Gate = CreateEventW(NULL, TRUE, TRUE, NULL);
        PelmiraCreateThread = CreateTestThread;
    }

    void TearDown() override
    {
        SetEvent(Gate);
        EndTestWindow();
        CloseCreated();
        CloseHandle(Gate);
        PelmiraCreateThread = CreateThread;
        RefuseMessageBoxes();
        FailingCall = 0;
    }

    // The window as the main window makes it, at the top left of the desktop.
    HWND Open()
    {
        Calls = 0;
        CloseCreated();
        window = CreateWindowExW(0, MotionTestClassName, NULL, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                 0, 1200, 400, NULL, NULL, GetModuleHandleW(NULL), NULL);
        return AppState.testWindow = window;
    }

    HWND window = NULL;
};

// Each shape option painted into DIB sections that stand for the paint
// context and the back buffer.
TEST_F(MotionTest, PaintsEveryShapeOption)
{
    struct Case {
        const char* name;
        LONG circle, size, hollow, inverted, preventFlicker;
        int width, height, x;
        int shapePixels;  // in the shape's colour; -1: not counted
        struct { int x, y; COLORREF color; } probes[5];  // unused ones at (0, 0)
    } cases[] = {
        { "solid square", 0, 96, 0, 0, 1, 320, 240, 10, 96 * 96,
          { { 10, 72, White }, { 105, 167, White }, { 9, 72, Black }, { 106, 167, Black }, { 10, 71, Black } } },
        // H < s: the top is (41 - 48) / 2 = -3, truncated, so the hole starts at row 7.
        { "hollow small square taller than the client, inverted", 0, 48, 1, 1, 0, 200, 41, 0,
          41 * 48 - 28 * 28, { { 10, 6, Black }, { 10, 7, White }, { 37, 34, White }, { 37, 35, Black }, { 48, 0, White } } },
        { "hollow large square", 0, 192, 1, 0, 1, 400, 300, 50, 192 * 192 - 172 * 172,
          { { 59, 64, White }, { 60, 64, Black }, { 231, 235, Black }, { 232, 235, White }, { 242, 245, Black } } },
        { "square at x = W", 0, 96, 0, 0, 1, 200, 100, 200, 0, {} },
        // The ellipse keeps the context's default pen: a one-pixel black outline.
        { "solid circle", 1, 96, 0, 0, 0, 320, 240, 10, -1,
          { { 58, 120, White }, { 58, 72, Black }, { 58, 73, White }, { 10, 72, Black }, { 11, 120, White } } },
        { "hollow small circle, inverted", 1, 48, 1, 1, 0, 100, 100, 0, -1,
          { { 5, 50, Black }, { 24, 50, White }, { 24, 26, Black }, { 24, 25, White }, { 0, 26, White } } },
    };
    const COLORREF untouched = RGB(1, 2, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StoreRelaxed(MotionOptions.circle, c.circle);
        StoreRelaxed(MotionOptions.shapeSize, c.size);
        StoreRelaxed(MotionOptions.hollow, c.hollow);
        StoreRelaxed(MotionOptions.invertColors, c.inverted);
        StoreRelaxed(MotionOptions.preventFlicker, c.preventFlicker);
        TestDib screen, buffer;
        ASSERT_TRUE(CreateTestDib(&screen, c.width, c.height) && CreateTestDib(&buffer, c.width, c.height));
        FillDib(screen, untouched);
        FillDib(buffer, untouched);
        HGDIOBJ brush = GetCurrentObject(screen.dc, OBJ_BRUSH);
        ObjectCounts before = CurrentObjectCounts();
        PaintMotionFrame(screen.dc, buffer.dc, c.width, c.height, c.x);
        EXPECT_TRUE(SameCounts(before, CurrentObjectCounts())) << DescribeCounts(CurrentObjectCounts());
        EXPECT_EQ(brush, GetCurrentObject(screen.dc, OBJ_BRUSH));
        // Every pixel in the shape's colour or the background's, composed in
        // the back buffer only with Prevent flicker.
        RECT all = { 0, 0, c.width, c.height };
        int shape = CountDibPixels(screen, all, c.inverted ? Black : White);
        EXPECT_EQ(c.width * c.height, shape + CountDibPixels(screen, all, c.inverted ? White : Black));
        EXPECT_TRUE(c.shapePixels < 0 || c.shapePixels == shape) << shape << " pixels of the shape";
        EXPECT_EQ(c.preventFlicker ? DibPixel(screen, 0, 0) : untouched, DibPixel(buffer, 0, 0));
        for (const auto& p : c.probes)
            EXPECT_TRUE(p.x + p.y == 0 || p.color == DibPixel(screen, p.x, p.y)) << "at " << p.x << ", " << p.y;
        DestroyTestDib(&screen);
        DestroyTestDib(&buffer);
    }
}

TEST_F(MotionTest, PanelWritesTheOptionsAndShowsTheStatistics)
{
    // Whatever the last test chose, a new one starts from the defaults.
    StoreRelaxed(MotionOptions.circle, 1);
    StoreRelaxed(MotionOptions.stepPeriodMicros, 1000);
    ASSERT_TRUE(Open() != NULL);
    HWND panel = MotionState.panel, speed = GetDlgItem(panel, IDC_MOTION_SPEED);
    EXPECT_EQ("1037 1040 1044 1049 ", Checked());  // square, medium, prevent flicker, force update
    EXPECT_EQ(60, SendMessageW(speed, TBM_GETPOS, 0, 0));
    EXPECT_EQ(16666, LoadRelaxed(MotionOptions.stepPeriodMicros));
    EXPECT_EQ(L"-|-", Figures());

    // Clicks in order, each writing its option.
    const struct { int control; std::atomic<LONG>* option; LONG value; } clicks[] = {
        { IDC_MOTION_CIRCLE, &MotionOptions.circle, 1 }, { IDC_MOTION_LARGE, &MotionOptions.shapeSize, 192 },
        { IDC_MOTION_SMALL, &MotionOptions.shapeSize, 48 }, { IDC_MOTION_HOLLOW, &MotionOptions.hollow, 1 },
        { IDC_MOTION_HOLLOW, &MotionOptions.hollow, 0 }, { IDC_MOTION_INVERT, &MotionOptions.invertColors, 1 },
        { IDC_MOTION_FORCE_UPDATE, &MotionOptions.forceScreenUpdate, 0 },
        { IDC_MOTION_PREVENT_FLICKER, &MotionOptions.preventFlicker, 0 } };
    for (const auto& click : clicks) {
        SendDlgItemMessageW(panel, click.control, BM_CLICK, 0, 0);
        EXPECT_EQ(click.value, LoadRelaxed(*click.option)) << "click on " << click.control;
    }
    EXPECT_EQ("1038 1039 1043 ", Checked());  // each radio group keeps one: circle, small
    // The speed: dragged (the position comes with the message), then moved by
    // page, end of drag and key (read from the trackbar).
    const struct { WPARAM scroll; int position; LONG period; } moves[] = {
        { MAKEWPARAM(TB_THUMBTRACK, 1000), 500, 1000 }, { MAKEWPARAM(TB_THUMBTRACK, 1), 0, 1000000 },
        { MAKEWPARAM(TB_THUMBTRACK, 7), 0, 142857 }, { MAKEWPARAM(TB_THUMBTRACK, 0), 0, 1000000 },
        { MAKEWPARAM(TB_PAGEDOWN, 0), 0, 2000 }, { MAKEWPARAM(TB_ENDTRACK, 0), 250, 4000 } };
    for (const auto& move : moves) {
        if (move.position != 0)
            SendMessageW(speed, TBM_SETPOS, TRUE, move.position);
        SendMessageW(panel, WM_HSCROLL, move.scroll, reinterpret_cast<LPARAM>(speed));
        EXPECT_EQ(move.period, LoadRelaxed(MotionOptions.stepPeriodMicros)) << "scroll " << move.scroll;
    }

    // The reports, and the FPS value alone in red while the screen lags.
    const struct { LONG lagging; WPARAM counts; const WCHAR* shown; } reports[] = {
        { 1, MAKEWPARAM(58, 30), L"58|30 !" }, { 0, MAKEWPARAM(65535, 0), L"65535|0" } };
    HDC dc = CreateCompatibleDC(NULL);
    for (const auto& r : reports) {
        StoreRelaxed(MotionState.lagging, r.lagging);
        SendMessageW(window, WM_MOTION_STATS, r.counts, 0);
        EXPECT_EQ(r.shown, Figures());
        for (int control : { IDC_MOTION_FPS_VALUE, IDC_MOTION_SPEED_VALUE }) {
            SetTextColor(dc, Black);
            LRESULT brush = SendMessageW(panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(GetDlgItem(panel, control)));
            bool red = r.lagging && control == IDC_MOTION_FPS_VALUE;
            EXPECT_EQ(red ? RGB(237, 28, 36) : Black, GetTextColor(dc)) << Narrow(r.shown) << ", " << control;
            EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), reinterpret_cast<HBRUSH>(brush));
        }
    }
    DeleteDC(dc);
}

// Escape (twice: the second changes nothing) sets the stop event, and the
// window goes once both threads have ended, not before. Destroyed other than
// through Escape (its owner closed), it waits for them to end.
TEST_F(MotionTest, TheWindowGoesOnlyAfterItsThreads)
{
    ASSERT_TRUE(Open() != NULL);
    ResetEvent(Gate);
    SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    PumpMessagesFor(150);
    EXPECT_TRUE(IsWindow(window)) << "gone before its rate thread ended";
    SetEvent(Gate);
    EXPECT_TRUE(PumpMessagesUntil([this] { return !IsWindow(window); }, 5000));
    EXPECT_TRUE(Ended(Created[0]) && Ended(Created[1]));
    EXPECT_EQ(0, AppState.motionActive);
    EXPECT_TRUE(AppState.motionThread == NULL && MotionState.rateThread == NULL && MotionState.stopEvent == NULL);

    ASSERT_TRUE(Open() != NULL);
    DestroyWindow(window);
    EXPECT_TRUE(Ended(Created[0]) && Ended(Created[1])) << "a thread outlived the window";
}

// The message box of a failed start, and whether the step thread had ended by then.
RecordedMessageBox Shown;
bool StepThreadEndedAtBox;

int WINAPI RecordStartFailure(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    Shown = { owner, text, caption, type };
    StepThreadEndedAtBox = Created[0] == NULL || Ended(Created[0]);
    return IDOK;
}

// Fifty runs, then a step thread and a rate thread that cannot be made:
// string 110 once the step thread made has ended, and nothing left behind.
TEST_F(MotionTest, RunsAndFailedStartsLeaveNothingBehind)
{
    Open();
    EndTestWindow();
    ObjectCounts objects = CurrentObjectCounts();
    std::pair<HANDLE, int> handlesAndThreads = HandlesAndThreads();
    for (int run = 0; run < 50; ++run) {
        ASSERT_TRUE(Open() != NULL) << "run " << run;
        ASSERT_TRUE(EndTestWindow()) << "run " << run;
    }
    PelmiraMessageBox = RecordStartFailure;
    for (FailingCall = 1; FailingCall <= 2; ++FailingCall) {
        SCOPED_TRACE(FailingCall == 1 ? "no step thread" : "no rate thread");
        Shown = {};
        EXPECT_EQ(NULL, Open());
        EXPECT_EQ(L"Failed to start motion test. Try again.|Pelmira", Shown.text + L"|" + Shown.caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), Shown.type);
        EXPECT_EQ(AppState.mainWindow, Shown.owner);
        EXPECT_TRUE(StepThreadEndedAtBox);
        EXPECT_EQ(0u, LoadRelaxed(MotionState.stepCount)) << "the step thread stepped";
        EXPECT_TRUE(AppState.motionActive == 0 && AppState.motionThread == NULL);
    }
    CloseCreated();
    EXPECT_TRUE(SameCounts(objects, CurrentObjectCounts())) << DescribeCounts(CurrentObjectCounts());
    EXPECT_EQ(handlesAndThreads, HandlesAndThreads());
}

// The thread routines run on the test's thread against a counter that moves
// a fixed time per read; at each read a hook plays the other threads.
LONGLONG Micros, MicrosPerRead;
int Reads;
std::function<void(int)> OnRead;

BOOL WINAPI FakeCounter(LARGE_INTEGER* value)
{
    Micros += MicrosPerRead;
    OnRead(++Reads);
    if (Reads > 100000)
        SetEvent(MotionState.stopEvent);  // a runaway loop fails the test, not the run
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    value->QuadPart = Micros * frequency.QuadPart / 1000000;
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
    }

    void TearDown() override
    {
        PelmiraQueryPerformanceCounter = QueryPerformanceCounter;
        CloseHandle(MotionState.stopEvent);
        MotionState.stopEvent = NULL;
        StoreRelaxed(MotionState.reportWindow, static_cast<HWND>(NULL));
    }

    void Start(LONGLONG microsPerRead, ULONG steps, ULONG paints)
    {
        ResetEvent(MotionState.stopEvent);
        Micros = Reads = 0;
        MicrosPerRead = microsPerRead;
        StoreRelaxed(MotionState.shapeX, 0);
        StoreRelaxed(MotionState.stepCount, steps);
        StoreRelaxed(MotionState.paintCount, paints);
    }
};

TEST_F(MotionThreadTest, StepThreadStepsOncePerPeriodAndWraps)
{
    const struct {
        const char* name;
        LONG period, micros, travelWidth;
        int shortenAtRead;  // the panel sets the period to 1000 at this read
        ULONG stopAtSteps;
        int reads;
        std::vector<LONG> xAtSteps;
    } cases[] = {
        // Four reads of 250 us make 1000 us exactly; after x = 3 comes 0.
        { "1000 us, travel 3", 1000, 250, 3, 0, 5, 21, { 1, 2, 3, 0, 1 } },
        // A long wait ends at its next turn once the period is shortened.
        { "1 px/s, then 1000", 1000000, 1000, 100, 3, 2, 4, { 1, 2 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.micros, 0, 0);
        StoreRelaxed(MotionOptions.stepPeriodMicros, c.period);
        MotionState.travelWidth = c.travelWidth;
        std::vector<LONG> xAtSteps;
        OnRead = [&](int read) {
            if (LoadRelaxed(MotionState.stepCount) > xAtSteps.size())
                xAtSteps.push_back(LoadRelaxed(MotionState.shapeX));
            if (read == c.shortenAtRead)
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

// A report at once (dropped: no window yet), one per second, one last on
// stop; the flag compares the full counts, the report carries 16 bits of each.
TEST_F(MotionThreadTest, RateThreadReportsEverySecondAndOnStop)
{
    HWND target = CreateWindowExW(0, L"Static", NULL, 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    Start(100000, 3, 1);
    // Reads 1, 12, 23 and 34 start the seconds; the counts are set within each.
    const struct { int read; ULONG steps, paints; } counts[] = {
        { 5, 60, 61 }, { 15, 100, 65546 }, { 25, 60, 59 }, { 36, 7, 9 } };
    std::vector<LONG> laggingAtStarts;
    OnRead = [&](int read) {
        StoreRelaxed(MotionState.reportWindow, target);
        if (read % 11 == 1)
            laggingAtStarts.push_back(LoadRelaxed(MotionState.lagging));
        for (const auto& c : counts) {
            if (c.read == read) {
                StoreRelaxed(MotionState.stepCount, c.steps);
                StoreRelaxed(MotionState.paintCount, c.paints);
            }
        }
        if (read == 36)
            SetEvent(MotionState.stopEvent);
    };
    EXPECT_EQ(0u, MotionRateThreadProc(NULL));
    EXPECT_EQ(36, Reads);
    EXPECT_EQ(std::vector<LONG>({ 1, 0, 0, 1 }), laggingAtStarts);
    std::vector<std::pair<int, int>> reports;
    for (MSG m; PeekMessageW(&m, target, WM_MOTION_STATS, WM_MOTION_STATS, PM_REMOVE);)
        reports.push_back({ LOWORD(m.wParam), HIWORD(m.wParam) });
    EXPECT_EQ((std::vector<std::pair<int, int>>{ { 60, 61 }, { 100, 10 }, { 60, 59 }, { 7, 9 } }), reports);
    DestroyWindow(target);
}

}  // namespace
