// The motion test: the painting of every shape option, the control panel and
// the statistics, the stop, failed starts and leaks, and the two timing
// threads run on a clock of the test's own, so that no check depends on the
// machine's speed.
#include "bench/fixture.h"
#include "motion/motion_state.h"

#include <commctrl.h>
#include <tlhelp32.h>

namespace {

const COLORREF Black = RGB(0, 0, 0), White = RGB(255, 255, 255), Red = RGB(237, 28, 36);

// Each shape option painted into DIB sections that stand for the paint
// context and the back buffer: the shape box, the 10-pixel inset, the
// vertical division truncated, the colours and the ellipse's outline.
TEST(MotionPaint, PaintsEveryShapeOption)
{
    std::atomic<LONG>* const options[] = { &MotionOptions.circle, &MotionOptions.shapeSize, &MotionOptions.hollow,
                                           &MotionOptions.invertColors, &MotionOptions.preventFlicker };
    // The options circle, size, hollow, inverted and prevent flicker; the
    // client size and x; pixels that must have a colour (unused ones at 0, 0).
    struct Case {
        const char* name; LONG options[5]; int width, height, x;
        struct { int x, y; COLORREF color; } probes[5];
    } cases[] = {
        { "solid square", { 0, 96, 0, 0, 1 }, 320, 240, 10,
          { { 10, 72, White }, { 105, 167, White }, { 9, 72, Black }, { 106, 167, Black }, { 10, 71, Black } } },
        // H < s: the top is (41 - 48) / 2 = -3, truncated, so the hole starts at row 7.
        { "hollow small square taller than the client, inverted", { 0, 48, 1, 1, 0 }, 200, 41, 0,
          { { 10, 6, Black }, { 10, 7, White }, { 37, 34, White }, { 37, 35, Black }, { 48, 0, White } } },
        { "hollow large square", { 0, 192, 1, 0, 1 }, 400, 300, 50,
          { { 59, 64, White }, { 60, 64, Black }, { 231, 235, Black }, { 232, 235, White }, { 242, 245, Black } } },
        { "square at x = W", { 0, 96, 0, 0, 1 }, 200, 100, 200, { { 199, 50, Black } } },
        // The ellipse keeps the context's default pen: a one-pixel black outline.
        { "solid circle", { 1, 96, 0, 0, 0 }, 320, 240, 10,
          { { 58, 120, White }, { 58, 72, Black }, { 58, 73, White }, { 10, 72, Black }, { 11, 120, White } } },
        { "hollow small circle, inverted", { 1, 48, 1, 1, 0 }, 100, 100, 0,
          { { 5, 50, Black }, { 24, 50, White }, { 24, 26, Black }, { 24, 25, White }, { 0, 26, White } } },
    };
    const COLORREF untouched = RGB(1, 2, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < 5; ++i)
            StoreRelaxed(*options[i], c.options[i]);
        TestDib screen, buffer;
        ASSERT_TRUE(CreateTestDib(&screen, c.width, c.height) && CreateTestDib(&buffer, c.width, c.height));
        FillDib(screen, untouched);
        FillDib(buffer, untouched);
        PaintMotionFrame(screen.dc, buffer.dc, c.width, c.height, c.x);
        // Every pixel black or white, composed in the back buffer only with
        // Prevent flicker.
        RECT all = { 0, 0, c.width, c.height };
        EXPECT_EQ(c.width * c.height, CountDibPixels(screen, all, Black) + CountDibPixels(screen, all, White));
        EXPECT_EQ(c.options[4] ? DibPixel(screen, 0, 0) : untouched, DibPixel(buffer, 0, 0));
        for (const auto& p : c.probes)
            EXPECT_TRUE(p.x + p.y == 0 || p.color == DibPixel(screen, p.x, p.y)) << "at " << p.x << ", " << p.y;
        DestroyTestDib(&screen);
        DestroyTestDib(&buffer);
    }
}

// The window as the main window makes it, at the top left of the desktop.
HWND OpenMotionWindow()
{
    return AppState.testWindow = CreateWindowExW(0, MotionTestClassName, NULL, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                                 0, 0, 1200, 400, NULL, NULL, GetModuleHandleW(NULL), NULL);
}

// The panel as text: its two figures, each marked when drawn in red, then
// the numbers of its checked buttons.
std::string Panel()
{
    std::string text;
    HDC dc = CreateCompatibleDC(NULL);
    for (int figure : { IDC_MOTION_SPEED_VALUE, IDC_MOTION_FPS_VALUE }) {
        WCHAR shown[64];
        GetDlgItemTextW(MotionState.panel, figure, shown, 64);
        SendMessageW(MotionState.panel, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(GetDlgItem(MotionState.panel, figure)));
        text += Narrow(shown) + (GetTextColor(dc) == Red ? " in red|" : "|");
    }
    DeleteDC(dc);
    for (int control = IDC_MOTION_SQUARE; control <= IDC_MOTION_FORCE_UPDATE; ++control)
        text += IsDlgButtonChecked(MotionState.panel, control) ? std::to_string(control) + " " : "";
    return text;
}

// Thread creation that fails at call FailingCall.
int Calls, FailingCall;

HANDLE WINAPI FailingCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stack, LPTHREAD_START_ROUTINE routine,
                                  LPVOID parameter, DWORD flags, LPDWORD id)
{
    return ++Calls == FailingCall ? NULL : CreateThread(security, stack, routine, parameter, flags, id);
}

// The process's threads and open handles (Wine's GetProcessHandleCount is 0:
// the handle values are probed instead).
std::string ThreadsAndHandles()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = { sizeof(entry), 0, 0, 0, 0, 0, 0 };
    int threads = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        threads += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    CloseHandle(snapshot);
    int handles = 0;
    DWORD flags;
    for (UINT_PTR value = 4; value < 16384; value += 4)
        handles += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    return std::to_string(threads) + " threads, " + std::to_string(handles) + " handles";
}

// The message box of a failed start, with the threads and handles left at
// that moment.
std::string Shown;

int WINAPI RecordStartFailure(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    Shown = DescribeMessageBox(owner, text, caption, type) + ", " + ThreadsAndHandles();
    return IDOK;
}

// The panel: each control writes its option, the speed gives the step
// period, and the reports show, the FPS value alone in red while the screen
// lags. Then fifty runs, each ended by two Escapes (the second changes
// nothing); one destroyed other than through Escape (its owner closed),
// which waits for its threads; starts without a step or a rate thread:
// string 110 once the step thread made has ended. Nothing is left behind.
TEST(MotionWindow, PanelRunsAndFailedStarts)
{
    // Whatever the last test chose, a new one starts from the defaults.
    StoreRelaxed(MotionOptions.circle, 1);
    HWND window = OpenMotionWindow(), panel = MotionState.panel, speed = GetDlgItem(panel, IDC_MOTION_SPEED);
    // Its threads stopped: the lagging flag is the test's from here on.
    EXPECT_EQ(WAIT_OBJECT_0, SignalObjectAndWait(MotionState.stopEvent, MotionState.rateThread, 5000, FALSE));
    StoreRelaxed(MotionState.lagging, 0);
    EXPECT_EQ("-|-|1037 1040 1044 1049 ", Panel());  // square, medium, prevent flicker, force update
    EXPECT_EQ(60, SendMessageW(speed, TBM_GETPOS, 0, 0));
    // A report while the screen keeps up.
    SendMessageW(window, WM_MOTION_STATS, MAKEWPARAM(65535, 0), 0);
    EXPECT_EQ("65535|0|1037 1040 1044 1049 ", Panel());

    // Clicks in order, each writing its option; each radio group keeps one.
    MotionOptionsRecord& o = MotionOptions;
    const struct { int control; std::atomic<LONG>* option; LONG value; } clicks[] = {
        { IDC_MOTION_CIRCLE, &o.circle, 1 }, { IDC_MOTION_LARGE, &o.shapeSize, 192 },
        { IDC_MOTION_SMALL, &o.shapeSize, 48 }, { IDC_MOTION_HOLLOW, &o.hollow, 1 },
        { IDC_MOTION_INVERT, &o.invertColors, 1 }, { IDC_MOTION_PREVENT_FLICKER, &o.preventFlicker, 0 },
        { IDC_MOTION_FORCE_UPDATE, &o.forceScreenUpdate, 0 } };
    for (const auto& click : clicks) {
        SendDlgItemMessageW(panel, click.control, BM_CLICK, 0, 0);
        EXPECT_EQ(click.value, LoadRelaxed(*click.option)) << "click on " << click.control;
    }
    // The speed, 1 to 1000 pixels a second: while dragged the position comes
    // with the message (0 counts as 1); other moves read it from the trackbar
    // (here 2000, which it holds at 1000).
    const struct { WPARAM scroll; int position; LONG period; } moves[] = {
        { MAKEWPARAM(TB_THUMBTRACK, 1000), 500, 1000 }, { MAKEWPARAM(TB_THUMBTRACK, 7), 500, 142857 },
        { MAKEWPARAM(TB_THUMBTRACK, 0), 500, 1000000 }, { MAKEWPARAM(TB_PAGEDOWN, 0), 2000, 1000 } };
    for (const auto& move : moves) {
        SendMessageW(speed, TBM_SETPOS, TRUE, move.position);
        SendMessageW(panel, WM_HSCROLL, move.scroll, reinterpret_cast<LPARAM>(speed));
        EXPECT_EQ(move.period, LoadRelaxed(MotionOptions.stepPeriodMicros)) << "scroll " << move.scroll;
    }
    // A report while the screen lags: the FPS value alone in red.
    StoreRelaxed(MotionState.lagging, 1);
    SendMessageW(window, WM_MOTION_STATS, MAKEWPARAM(58, 30), 0);
    EXPECT_EQ("58|30 ! in red|1038 1039 1042 1043 ", Panel());  // circle, small, hollow, inverted
    EXPECT_TRUE(EndTestWindow());

    std::string before = DescribeCounts(CurrentObjectCounts()) + ", " + ThreadsAndHandles();
    for (int run = 0; run < 50; ++run) {
        SendMessageW(OpenMotionWindow(), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(EndTestWindow()) << "run " << run;
    }
    DestroyWindow(OpenMotionWindow());
    EXPECT_EQ(before, DescribeCounts(CurrentObjectCounts()) + ", " + ThreadsAndHandles()) << "after a destroyed run";
    PelmiraCreateThread = FailingCreateThread;
    PelmiraMessageBox = RecordStartFailure;
    for (FailingCall = 1; FailingCall <= 2; ++FailingCall) {
        Calls = 0;
        EXPECT_EQ(NULL, OpenMotionWindow()) << "thread creation " << FailingCall << " failing";
        EXPECT_EQ("Failed to start motion test. Try again. (Pelmira, error), " + ThreadsAndHandles(), Shown);
    }
    PelmiraCreateThread = CreateThread;
    RefuseMessageBoxes();
    EXPECT_TRUE(AppState.motionThread == NULL && MotionState.rateThread == NULL && MotionState.stopEvent == NULL);
    EXPECT_EQ(before, DescribeCounts(CurrentObjectCounts()) + ", " + ThreadsAndHandles());
}

// The thread routines run on the test's thread against a counter that moves
// MicrosPerRead at each read, where OnRead plays the other threads.
int Reads;
LONGLONG MicrosPerRead;
std::function<void(int)> OnRead;

BOOL WINAPI FakeCounter(LARGE_INTEGER* value)
{
    OnRead(++Reads);
    if (Reads > 1000)
        SetEvent(MotionState.stopEvent);  // a runaway loop fails the test, not the run
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    value->QuadPart = Reads * MicrosPerRead * frequency.QuadPart / 1000000;
    return TRUE;
}

TEST(MotionThreads, StepEachPeriodAndReportEachSecond)
{
    PelmiraQueryPerformanceCounter = FakeCounter;
    MotionState.stopEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
    // The shape's x at each read: a step at once, then one per period (four
    // reads of 250 us), after x = 3, the travel width, x = 0; a shorter
    // period ends a wait in progress (1 pixel a second from read 21, 2000
    // from read 24); the stop at read 25.
    StoreRelaxed(MotionOptions.stepPeriodMicros, 1000);
    StoreRelaxed(MotionState.shapeX, 0);
    MotionState.travelWidth = 3;
    std::string xAtReads;
    MicrosPerRead = 250;
    OnRead = [&](int read) {
        xAtReads += std::to_string(LoadRelaxed(MotionState.shapeX));
        if (read == 21 || read == 24)
            StoreRelaxed(MotionOptions.stepPeriodMicros, read == 21 ? 1000000 : 500);
        if (read == 25)
            SetEvent(MotionState.stopEvent);
    };
    EXPECT_EQ(0u, MotionStepThreadProc(NULL));
    EXPECT_EQ("11111" "22222" "33333" "00000" "1111" "2", xAtReads);

    // The reports (steps/paints, "!" for the lagging flag, and the read they
    // came before): one at once (dropped: no window yet), one per second, one
    // last on stop; the flag compares the full counts, the report carries 16
    // bits of each. Reads 1, 12, 23 and 34 start the seconds (100 ms a read)
    // and add each second's steps and paints; the stop comes at read 36.
    HWND target = CreateWindowExW(0, L"Static", NULL, 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, NULL, NULL);
    StoreRelaxed(MotionState.reportWindow, static_cast<HWND>(NULL));
    ResetEvent(MotionState.stopEvent);
    const ULONG counts[][2] = { { 60, 61 }, { 100, 65546 }, { 60, 59 }, { 7, 7 } };
    std::string reports;
    auto takeReports = [&] {
        for (MSG m; PeekMessageW(&m, target, WM_MOTION_STATS, WM_MOTION_STATS, PM_REMOVE);)
            reports += std::to_string(LOWORD(m.wParam)) + "/" + std::to_string(HIWORD(m.wParam)) +
                       (LoadRelaxed(MotionState.lagging) ? "! at " : " at ") + std::to_string(Reads) + ", ";
    };
    Reads = 0;
    MicrosPerRead = 100000;
    OnRead = [&](int read) {
        takeReports();
        StoreRelaxed(MotionState.reportWindow, target);
        if (read % 11 == 1) {
            StoreRelaxed(MotionState.stepCount, LoadRelaxed(MotionState.stepCount) + counts[read / 11][0]);
            StoreRelaxed(MotionState.paintCount, LoadRelaxed(MotionState.paintCount) + counts[read / 11][1]);
        }
        if (read == 36)
            SetEvent(MotionState.stopEvent);
    };
    EXPECT_EQ(0u, MotionRateThreadProc(NULL));
    takeReports();
    EXPECT_EQ("60/61 at 12, 100/10 at 23, 60/59! at 34, 7/7 at 36, ", reports);
    DestroyWindow(target);
    CloseHandle(MotionState.stopEvent);
    MotionState.stopEvent = NULL;
    PelmiraQueryPerformanceCounter = QueryPerformanceCounter;
}

}  // namespace
