#include "bench/bench.h"

#include <malloc.h>

#include "app/app_state.h"

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // Keep the quit for whoever waits for it.
                PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done())
            return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, NULL, FALSE, timeoutMs - elapsed < 10 ? timeoutMs - elapsed : 10,
                                  QS_ALLINPUT);
    }
}

void PumpMessagesFor(DWORD milliseconds) { PumpMessagesUntil([] { return false; }, milliseconds); }

void DrainQuitMessages()
{
    for (MSG message; PeekMessageW(&message, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);) {
    }
}

bool EndTestWindow()
{
    HWND test = AppState.testWindow;
    if (IsWindow(test))
        SendMessageW(test, WM_KEYDOWN, VK_ESCAPE, 0);
    return PumpMessagesUntil([test] { return !IsWindow(test); }, 2000);
}

std::string RectText(const RECT& rect)
{
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ") - (" + std::to_string(rect.right) +
           ", " + std::to_string(rect.bottom) + ")";
}

std::string Narrow(const std::wstring& text)
{
    std::string result;
    for (wchar_t c : text)
        result += (c >= 32 && c < 127) || c == '\n' ? static_cast<char>(c) : '?';
    return result;
}

size_t CrtHeapBytesInUse()
{
    HANDLE heap = reinterpret_cast<HANDLE>(_get_heap_handle());
    size_t total = 0;
    HeapLock(heap);
    PROCESS_HEAP_ENTRY entry;
    entry.lpData = NULL;
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            total += entry.cbData;
    HeapUnlock(heap);
    return total;
}
