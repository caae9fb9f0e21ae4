// The test bench: painting into DIB sections, counting GDI and USER objects,
// pumping messages for a bounded time and recording message boxes.
#ifndef PELMIRA_TEST_BENCH_H
#define PELMIRA_TEST_BENCH_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A 32-bit top-down DIB section selected into a memory DC.
struct TestDib {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previousBitmap;
    DWORD* bits;
    int width, height;
};

bool CreateTestDib(TestDib* dib, int width, int height);
void DestroyTestDib(TestDib* dib);
// The pixel at (x, y) as a COLORREF, after GdiFlush.
COLORREF DibPixel(const TestDib& dib, int x, int y);
void FillDib(const TestDib& dib, COLORREF color);
// Number of pixels in rect equal to color.
int CountDibPixels(const TestDib& dib, const RECT& rect, COLORREF color);

// Live GDI objects, theme handles, device lists and registry keys made by the
// test executable's own code, by kind, and the thread's windows. Counted by
// patching the executable's import table (GetGuiResources is always 0 under
// Wine); objects made before InstallObjectCounter are not counted.
struct ObjectCounts {
    int pens, brushes, fonts, bitmaps, regions;
    int memoryDcs;  // CreateCompatibleDC, CreateDCW
    int windowDcs;  // GetDC not yet released
    int themes;     // OpenThemeData not yet closed
    int deviceLists, registryKeys;  // SetupDiGetClassDevsW, SetupDiOpenDevRegKey
    int windows;    // windows of this thread, children included
};

void InstallObjectCounter();
ObjectCounts CurrentObjectCounts();
std::string DescribeCounts(const ObjectCounts& counts);
// The period in milliseconds that the program's last SetTimer call for
// timer id asked for, or 0 if it set none (counted from InstallObjectCounter).
UINT LastTimerPeriod(UINT_PTR id);

// Dispatches messages until done() holds or timeoutMs passes; true if done.
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs);
void PumpMessagesFor(DWORD milliseconds);
// Removes the WM_QUIT that closing a main window posts.
void DrainQuitMessages();
// Ends the running test window with Escape, as a user would, and waits at
// most 2 s for it to go; true when it went.
bool EndTestWindow();

// A message box as "text (caption, icon)", with "not over the main window"
// added when its owner is another; null texts are shown as "<null>".
std::string DescribeMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
// Outside a recording, a message box of the program fails the test.
void RefuseMessageBoxes();
void StartRecordingMessageBoxes();
// The message boxes that the program would have shown, described.
std::vector<std::string> StopRecordingMessageBoxes();

std::string Narrow(const std::wstring& text);
// "(left, top) - (right, bottom)", for messages about rectangles.
std::string RectText(const RECT& rect);

// Bytes in use on the C runtime's heap, where the program's records live.
size_t CrtHeapBytesInUse();

#endif
