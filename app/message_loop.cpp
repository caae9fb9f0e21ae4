// The program's one message loop. Besides dispatching, it sends Escape to a
// running test window whatever window has the focus, and keeps repainting the
// motion window while the queue is empty.
#include "app/startup.h"

#include "app/app_state.h"
#include "motion/motion_options.h"

static bool IsMotionWindowLive()
{
    return AppState.motionActive != 0 && IsTestWindowAlive();
}

static void RepaintMotionWindow()
{
    UINT flags = RDW_INVALIDATE | RDW_NOINTERNALPAINT | RDW_NOERASE | RDW_NOCHILDREN | RDW_NOFRAME;
    if (LoadRelaxed(MotionOptions.forceScreenUpdate) != 0)
        flags |= RDW_UPDATENOW;
    RedrawWindow(AppState.testWindow, NULL, NULL, flags);
}

// An empty queue: repaint the live motion window and look again at once, or,
// with no motion test running, sleep until the next message arrives.
static void HandleEmptyQueue()
{
    if (IsMotionWindowLive())
        RepaintMotionWindow();
    else
        WaitMessage();
}

static bool ForwardEscapeToTest(const MSG* message)
{
    if (message->message != WM_KEYDOWN || message->wParam != VK_ESCAPE || !IsTestWindowAlive())
        return false;
    SendMessageW(AppState.testWindow, WM_KEYDOWN, VK_ESCAPE, message->lParam);
    return true;
}

static void DispatchToWindow(MSG* message)
{
    if (AppState.mainWindow != NULL && IsDialogMessageW(AppState.mainWindow, message))
        return;
    TranslateMessage(message);
    DispatchMessageW(message);
}

void RunMessageLoop()
{
    MSG message;
    for (;;) {
        if (!PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
            HandleEmptyQueue();
            continue;
        }
        if (message.message == WM_QUIT)
            return;
        if (!ForwardEscapeToTest(&message))
            DispatchToWindow(&message);
    }
}
