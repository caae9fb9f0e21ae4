// Start-up and the message loop: the exit code without a main window, Escape sent
// to a live test window whatever window it was meant for, idle repaints of a
// live motion window only, and an idle loop that sleeps.
#include "bench/fixture.h"
#include "motion/motion_options.h"

namespace {

// The exit code of a run that ends by closing the main window, 0, is the
// end-to-end check's; here the main window cannot be made.
TEST(Startup, ExitCodeIsOneWithoutAMainWindow)
{
    ShutdownApplication();
    EXPECT_EQ(1, RunPelmira(GetModuleHandleW(L"kernel32.dll")));  // no template there
    InitializeApplication(GetModuleHandleW(NULL));
}

TEST(Startup, SharedFontsFollowTheDotsPerInch)
{
    EXPECT_EQ(-16, FontHeightForDpi(8, 144));  // the banner's 8 points at 144 dots per inch
}

// Windows that note what reaches them: probe 0 plays the test window, probe
// 1 any other. An Escape counts only with the key data the test posts it
// with. Twenty paints of one end the loop.
const LPARAM KeyData = 0x00010001;
struct ProbeLog {
    int escapes, paints;
    int queuedPaints;  // WM_PAINT taken from the queue, not sent by RedrawWindow
} Log[2];
HWND Probes[2];

int ProbeIndex(HWND window)
{
    return window == Probes[0] ? 0 : window == Probes[1] ? 1 : -1;
}

LRESULT CALLBACK ProbeWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ProbeLog* log = ProbeIndex(window) >= 0 ? &Log[ProbeIndex(window)] : NULL;
    if (log != NULL && message == WM_KEYDOWN && wParam == VK_ESCAPE && lParam == KeyData) {
        ++log->escapes;
    } else if (log != NULL && message == WM_PAINT) {
        ValidateRect(window, NULL);
        if (++log->paints == 20)
            PostQuitMessage(0);
    } else {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return 0;
}

LRESULT CALLBACK CountQueuedPaints(int code, WPARAM removal, LPARAM lParam)
{
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == WM_PAINT && ProbeIndex(message->hwnd) >= 0)
        ++Log[ProbeIndex(message->hwnd)].queuedPaints;
    return CallNextHookEx(NULL, code, removal, lParam);
}

void CALLBACK QuitLoop(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    PostQuitMessage(0);
}

ULONGLONG ThreadCpuMicroseconds()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return ((ULONGLONG(kernel.dwHighDateTime) << 32 | kernel.dwLowDateTime) +
            (ULONGLONG(user.dwHighDateTime) << 32 | user.dwLowDateTime)) / 10;
}

class MessageLoopTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        WNDCLASSW probeClass = {};
        probeClass.lpfnWndProc = ProbeWndProc;
        probeClass.lpszClassName = L"PelmiraLoopProbe";
        RegisterClassW(&probeClass);
        for (HWND* probe : { &Probes[0], &Probes[1], &dead })
            *probe = CreateWindowExW(0, L"PelmiraLoopProbe", NULL, WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, NULL, NULL,
                                     NULL, NULL);
        DestroyWindow(dead);
        PumpMessagesFor(50);
        hook = SetWindowsHookExW(WH_GETMESSAGE, CountQueuedPaints, NULL, GetCurrentThreadId());
    }

    void TearDown() override
    {
        UnhookWindowsHookEx(hook);
        AppState.testWindow = NULL;
        AppState.motionActive = 0;
        for (HWND probe : Probes)
            DestroyWindow(probe);
        MainWindowTest::TearDown();
    }

    // Runs the program's loop, from a clean log, until it quits or for at
    // most milliseconds; returns the processor time it took, in microseconds.
    ULONGLONG RunLoop(HWND testWindow, LONG motion, UINT milliseconds)
    {
        AppState.testWindow = testWindow;
        AppState.motionActive = motion;
        ZeroMemory(Log, sizeof(Log));
        UINT_PTR timer = SetTimer(NULL, 0, milliseconds, QuitLoop);
        ULONGLONG before = ThreadCpuMicroseconds();
        RunMessageLoop();
        KillTimer(NULL, timer);
        return ThreadCpuMicroseconds() - before;
    }

    HWND dead = NULL;  // a window that has been destroyed
    HHOOK hook = NULL;
};

TEST_F(MessageLoopTest, EscapeGoesToALiveTestWindowWhateverItWasMeantFor)
{
    struct Case {
        HWND testWindow, target;
        int toTest, toOther;
    } cases[] = { { Probes[0], main, 1, 0 }, { Probes[0], list, 1, 0 }, { Probes[0], Probes[1], 1, 0 },
                  { NULL, Probes[1], 0, 1 }, { dead, Probes[1], 0, 1 },
                  { NULL, list, 0, 0 } };  // IDCANCEL from the dialog manager, which the main window ignores
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "test window " << c.testWindow << ", Escape posted to " << c.target);
        PostMessageW(c.target, WM_KEYDOWN, VK_ESCAPE, KeyData);
        PostQuitMessage(0);
        RunLoop(c.testWindow, 0, 2000);
        EXPECT_EQ(c.toTest, Log[0].escapes) << "Escapes with the posted key data at the test window";
        EXPECT_EQ(c.toOther, Log[1].escapes);
        EXPECT_TRUE(IsWindow(main));
    }
}

TEST_F(MessageLoopTest, IdleRepaintsOnlyALiveMotionWindowAndSleepsOtherwise)
{
    // A live motion window is invalidated on every empty queue and painted
    // from the queue, or inside RedrawWindow when updates are forced. A
    // pattern window, a dead motion window or none: no repaints, and idle
    // time costs next to no processor time (polling would take it all).
    struct Case {
        HWND testWindow;
        LONG motion, force;
        int paints, queuedPaints;
    } cases[] = { { Probes[0], 1, 0, 20, 20 }, { Probes[0], 1, 1, 20, 0 }, { Probes[0], 0, 1, 0, 0 },
                  { dead, 1, 1, 0, 0 }, { NULL, 0, 1, 0, 0 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "test window " << c.testWindow << ", motion " << c.motion << ", force "
                                        << c.force);
        StoreRelaxed(MotionOptions.forceScreenUpdate, c.force);
        ValidateRect(Probes[0], NULL);
        ULONGLONG used = RunLoop(c.testWindow, c.motion, c.paints ? 5000 : 500);
        EXPECT_EQ(c.paints, Log[0].paints);
        EXPECT_EQ(c.queuedPaints, Log[0].queuedPaints);
        EXPECT_TRUE(c.paints > 0 || used < 150000) << "the idle loop used " << used << " us of processor time in 0.5 s";
    }
}

}  // namespace
