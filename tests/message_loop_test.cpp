// The message loop: Escape goes to a live test window whatever window it was
// meant for, the idle branch repaints only a live motion window, and an idle
// loop sleeps.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/app_state.h"
#include "app/startup.h"
#include "bench/bench.h"
#include "motion/motion_options.h"
#include "res/resource.h"

namespace {

// A plain window that records what reaches it.
struct ProbeLog {
    int escapes;
    LPARAM escapeLParam;
    int paints;
    int queuedPaints;  // paints taken from the queue, not sent by RedrawWindow
    int quitAfterPaints;
};

ProbeLog Log[3];
HWND Probes[3];

int ProbeIndex(HWND window)
{
    for (int i = 0; i < 3; ++i)
        if (Probes[i] == window)
            return i;
    return -1;
}

LRESULT CALLBACK ProbeWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    int index = ProbeIndex(window);
    if (index >= 0 && message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        ++Log[index].escapes;
        Log[index].escapeLParam = lParam;
        return 0;
    }
    if (index >= 0 && message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        if (++Log[index].paints == Log[index].quitAfterPaints)
            PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK CountQueuedPaints(int code, WPARAM removal, LPARAM lParam)
{
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == WM_PAINT) {
        int index = ProbeIndex(message->hwnd);
        if (index >= 0)
            ++Log[index].queuedPaints;
    }
    return CallNextHookEx(NULL, code, removal, lParam);
}

bool QuitByTimer;

void CALLBACK QuitLoop(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    QuitByTimer = true;
    PostQuitMessage(0);
}

class MessageLoopTest : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSW probeClass;
        ZeroMemory(&probeClass, sizeof(probeClass));
        probeClass.lpfnWndProc = ProbeWndProc;
        probeClass.hInstance = GetModuleHandleW(NULL);
        probeClass.lpszClassName = L"PelmiraLoopProbe";
        RegisterClassW(&probeClass);
        ZeroMemory(Log, sizeof(Log));
        for (HWND& probe : Probes)
            probe = CreateWindowExW(0, L"PelmiraLoopProbe", NULL, WS_POPUP | WS_VISIBLE, 0, 0, 200,
                                    200, NULL, NULL, GetModuleHandleW(NULL), NULL);
        mainWindow = CreateMainWindow();
        ASSERT_TRUE(mainWindow != NULL);
        PumpMessagesFor(50);
        ZeroMemory(Log, sizeof(Log));
        hook = SetWindowsHookExW(WH_GETMESSAGE, CountQueuedPaints, NULL, GetCurrentThreadId());
    }

    void TearDown() override
    {
        UnhookWindowsHookEx(hook);
        AppState.testWindow = NULL;
        AppState.motionActive = 0;
        for (HWND& probe : Probes) {
            DestroyWindow(probe);
            probe = NULL;
        }
        DestroyMainWindow(mainWindow);
    }

    // Runs the program's loop until it quits, or for at most milliseconds.
    void RunLoop(UINT milliseconds)
    {
        QuitByTimer = false;
        UINT_PTR timer = SetTimer(NULL, 0, milliseconds, QuitLoop);
        RunMessageLoop();
        KillTimer(NULL, timer);
    }

    HWND mainWindow = NULL;
    HHOOK hook = NULL;
};

TEST_F(MessageLoopTest, EscapeReachesTheTestWindowWhateverItWasMeantFor)
{
    HWND list = GetDlgItem(mainWindow, IDC_DEVICE_LIST);
    const LPARAM keyData = 0x00010001;
    HWND targets[] = { mainWindow, list, Probes[1] };
    AppState.testWindow = Probes[0];
    for (HWND target : targets) {
        SCOPED_TRACE(testing::Message() << "Escape posted to window " << target);
        ZeroMemory(Log, sizeof(Log));
        PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, keyData);
        PostQuitMessage(0);
        RunLoop(2000);
        EXPECT_EQ(1, Log[0].escapes);
        EXPECT_EQ(keyData, Log[0].escapeLParam);
        EXPECT_EQ(0, Log[1].escapes);
    }
    EXPECT_TRUE(IsWindow(mainWindow));
}

TEST_F(MessageLoopTest, WithoutLiveTestWindowEscapeIsDispatched)
{
    HWND dead = CreateWindowExW(0, L"PelmiraLoopProbe", NULL, WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                GetModuleHandleW(NULL), NULL);
    DestroyWindow(dead);
    HWND testWindows[] = { NULL, dead };
    for (HWND testWindow : testWindows) {
        SCOPED_TRACE(testing::Message() << "test window " << testWindow);
        AppState.testWindow = testWindow;
        ZeroMemory(Log, sizeof(Log));
        PostMessageW(Probes[1], WM_KEYDOWN, VK_ESCAPE, 1);
        // Escape in the main window goes through the dialog manager: IDCANCEL,
        // which the main window ignores.
        PostMessageW(GetDlgItem(mainWindow, IDC_DEVICE_LIST), WM_KEYDOWN, VK_ESCAPE, 1);
        PostQuitMessage(0);
        RunLoop(2000);
        EXPECT_EQ(1, Log[1].escapes);
        EXPECT_EQ(0, Log[0].escapes);
        EXPECT_TRUE(IsWindow(mainWindow));
    }
}

TEST_F(MessageLoopTest, IdleRepaintsOnlyALiveMotionWindow)
{
    AppState.testWindow = Probes[0];
    ValidateRect(Probes[0], NULL);

    // Force screen update off: invalidated on every empty queue, painted
    // through WM_PAINT taken from the queue.
    AppState.motionActive = 1;
    StoreRelaxed(MotionOptions.forceScreenUpdate, 0);
    Log[0].quitAfterPaints = 20;
    RunLoop(5000);
    EXPECT_EQ(20, Log[0].paints);
    EXPECT_EQ(20, Log[0].queuedPaints);

    // Force screen update on: painted inside RedrawWindow itself.
    ZeroMemory(Log, sizeof(Log));
    StoreRelaxed(MotionOptions.forceScreenUpdate, 1);
    Log[0].quitAfterPaints = 20;
    RunLoop(5000);
    EXPECT_EQ(20, Log[0].paints);
    EXPECT_EQ(0, Log[0].queuedPaints);

    // A pattern window (motion flag clear) is left alone.
    ZeroMemory(Log, sizeof(Log));
    AppState.motionActive = 0;
    RunLoop(300);
    EXPECT_EQ(0, Log[0].paints);

    // So is a motion window that has died.
    HWND dead = CreateWindowExW(0, L"PelmiraLoopProbe", NULL, WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                GetModuleHandleW(NULL), NULL);
    DestroyWindow(dead);
    AppState.testWindow = dead;
    AppState.motionActive = 1;
    RunLoop(300);
    EXPECT_EQ(0, Log[0].paints);
}

ULONGLONG ThreadCpuMicroseconds()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    ULARGE_INTEGER k, u;
    k.LowPart = kernel.dwLowDateTime;
    k.HighPart = kernel.dwHighDateTime;
    u.LowPart = user.dwLowDateTime;
    u.HighPart = user.dwHighDateTime;
    return (k.QuadPart + u.QuadPart) / 10;
}

TEST_F(MessageLoopTest, IdleLoopSleepsUntilTheNextMessage)
{
    // With no motion test the loop waits for messages instead of polling: one
    // idle second costs next to no processor time (a polling loop takes the
    // whole second).
    ULONGLONG before = ThreadCpuMicroseconds();
    RunLoop(1000);
    ULONGLONG used = ThreadCpuMicroseconds() - before;
    ASSERT_TRUE(QuitByTimer) << "the loop ended before its idle second";
    EXPECT_LT(used, 200000u) << "the idle loop used " << used << " us of processor time in one second";
}

}  // namespace
