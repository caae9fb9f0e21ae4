// Counts the GDI objects, device contexts, theme handles, device lists and
// registry keys that the test executable's own code creates and frees, and
// keeps the periods of the timers it sets, by replacing entries of its import
// address table. Objects are made and freed, and timers set, on the
// user-interface thread only.
#include "bench/bench.h"

#include <setupapi.h>
#include <uxtheme.h>

#include <map>
#include <sstream>
#include <string.h>

namespace {

enum ObjectKind {
    KindPen, KindBrush, KindFont, KindBitmap, KindRegion, KindMemoryDc, KindWindowDc, KindTheme, KindDeviceList, KindKey
};

std::map<HANDLE, ObjectKind> LiveObjects;
std::map<UINT_PTR, UINT> TimerPeriods;

// Creation functions may hand out stock objects (a hollow brush is the stock
// null brush); those are never freed and are not counted.
template <typename Handle>
Handle Track(Handle handle, ObjectKind kind)
{
    for (int id = WHITE_BRUSH; id <= DC_PEN; ++id)
        if (GetStockObject(id) == handle)
            return handle;
    if (handle != NULL && handle != INVALID_HANDLE_VALUE)
        LiveObjects[handle] = kind;
    return handle;
}

template <typename Result>
Result Forget(HANDLE handle, Result done)
{
    if (done)
        LiveObjects.erase(handle);
    return done;
}

// The counting stand-in of a function that makes objects of one kind; Id
// tells apart functions of the same type.
template <int Id, ObjectKind Kind, typename Result, typename... Args>
struct Creator {
    static Result(WINAPI* real)(Args...);
    static Result WINAPI Count(Args... args) { return Track(real(args...), Kind); }
};
template <int Id, ObjectKind Kind, typename Result, typename... Args>
Result(WINAPI* Creator<Id, Kind, Result, Args...>::real)(Args...);

decltype(&DeleteObject) RealDeleteObject;
decltype(&DeleteDC) RealDeleteDC;
decltype(&ReleaseDC) RealReleaseDC;
BOOL WINAPI CountDeleteObject(HGDIOBJ object) { return Forget(object, RealDeleteObject(object)); }
BOOL WINAPI CountDeleteDC(HDC dc) { return Forget(dc, RealDeleteDC(dc)); }
int WINAPI CountReleaseDC(HWND window, HDC dc) { return Forget(dc, RealReleaseDC(window, dc)); }
decltype(&SetupDiDestroyDeviceInfoList) RealSetupDiDestroyDeviceInfoList;
decltype(&RegCloseKey) RealRegCloseKey;
BOOL WINAPI CountSetupDiDestroyDeviceInfoList(HDEVINFO list) { return Forget(list, RealSetupDiDestroyDeviceInfoList(list)); }
LONG WINAPI CountRegCloseKey(HKEY key) { LONG result = RealRegCloseKey(key); Forget(key, result == ERROR_SUCCESS); return result; }

decltype(&CloseThemeData) RealCloseThemeData;
HRESULT WINAPI CountCloseThemeData(HTHEME theme)
{
    return Forget(theme, SUCCEEDED(RealCloseThemeData(theme))) ? S_OK : E_HANDLE;
}

decltype(&SetTimer) RealSetTimer;
UINT_PTR WINAPI CountSetTimer(HWND window, UINT_PTR id, UINT period, TIMERPROC callback)
{
    TimerPeriods[id] = period;
    return RealSetTimer(window, id, period, callback);
}

// Puts replacement in the import address table slot of function in dll and
// keeps the system's function in *real. A function that is not imported is
// one the program does not call.
template <typename Function>
void Hook(const char* dll, const char* function, Function* real, Function replacement)
{
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleW(NULL));
    IMAGE_NT_HEADERS* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    DWORD importsRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + importsRva); import->Name; ++import) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + import->Name), dll) != 0)
            continue;
        auto names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (import->OriginalFirstThunk ? import->OriginalFirstThunk : import->FirstThunk));
        auto slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) ||
                strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name, function) != 0)
                continue;
            DWORD protection;
            VirtualProtect(&slot->u1.Function, sizeof(void*), PAGE_READWRITE, &protection);
            *real = reinterpret_cast<Function>(slot->u1.Function);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slot->u1.Function, sizeof(void*), protection, &protection);
        }
    }
}

template <int Id, ObjectKind Kind, typename Result, typename... Args>
void HookCreator(const char* dll, const char* name, Result(WINAPI*)(Args...))
{
    Hook(dll, name, &Creator<Id, Kind, Result, Args...>::real, &Creator<Id, Kind, Result, Args...>::Count);
}

// Counts a window and, for a top-level one, its children (all levels).
BOOL CALLBACK CountWindow(HWND window, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    if (GetAncestor(window, GA_PARENT) == GetDesktopWindow())
        EnumChildWindows(window, CountWindow, count);
    return TRUE;
}

}  // namespace

#define PELMIRA_COUNT(dll, function, kind) HookCreator<__LINE__, kind>(dll, #function, function)
#define PELMIRA_HOOK(dll, function) Hook(dll, #function, &Real##function, Count##function)

void InstallObjectCounter()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    PELMIRA_COUNT("gdi32.dll", CreatePen, KindPen);
    PELMIRA_COUNT("gdi32.dll", ExtCreatePen, KindPen);
    PELMIRA_COUNT("gdi32.dll", CreateSolidBrush, KindBrush);
    PELMIRA_COUNT("gdi32.dll", CreateBrushIndirect, KindBrush);
    PELMIRA_COUNT("gdi32.dll", CreatePatternBrush, KindBrush);
    PELMIRA_COUNT("gdi32.dll", CreateFontW, KindFont);
    PELMIRA_COUNT("gdi32.dll", CreateFontIndirectW, KindFont);
    PELMIRA_COUNT("gdi32.dll", CreateBitmap, KindBitmap);
    PELMIRA_COUNT("gdi32.dll", CreateCompatibleBitmap, KindBitmap);
    PELMIRA_COUNT("gdi32.dll", CreateDIBSection, KindBitmap);
    PELMIRA_COUNT("user32.dll", LoadBitmapW, KindBitmap);
    PELMIRA_COUNT("gdi32.dll", CreateRectRgn, KindRegion);
    PELMIRA_COUNT("gdi32.dll", CreateEllipticRgn, KindRegion);
    PELMIRA_COUNT("gdi32.dll", CreateCompatibleDC, KindMemoryDc);
    PELMIRA_COUNT("gdi32.dll", CreateDCW, KindMemoryDc);
    PELMIRA_COUNT("user32.dll", GetDC, KindWindowDc);
    PELMIRA_COUNT("uxtheme.dll", OpenThemeData, KindTheme);
    PELMIRA_HOOK("gdi32.dll", DeleteObject);
    PELMIRA_HOOK("gdi32.dll", DeleteDC);
    PELMIRA_HOOK("user32.dll", ReleaseDC);
    PELMIRA_HOOK("uxtheme.dll", CloseThemeData);
    PELMIRA_HOOK("user32.dll", SetTimer);
    PELMIRA_COUNT("setupapi.dll", SetupDiGetClassDevsW, KindDeviceList);
    PELMIRA_COUNT("setupapi.dll", SetupDiOpenDevRegKey, KindKey);
    PELMIRA_HOOK("setupapi.dll", SetupDiDestroyDeviceInfoList);
    PELMIRA_HOOK("advapi32.dll", RegCloseKey);
}

ObjectCounts CurrentObjectCounts()
{
    static int ObjectCounts::*const Field[] = { &ObjectCounts::pens,      &ObjectCounts::brushes,     &ObjectCounts::fonts,
                                                &ObjectCounts::bitmaps,   &ObjectCounts::regions,     &ObjectCounts::memoryDcs,
                                                &ObjectCounts::windowDcs, &ObjectCounts::themes,      &ObjectCounts::deviceLists,
                                                &ObjectCounts::registryKeys };
    ObjectCounts counts = {};
    for (const auto& entry : LiveObjects)
        ++(counts.*Field[entry.second]);
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&counts.windows));
    return counts;
}

std::string DescribeCounts(const ObjectCounts& counts)
{
    std::ostringstream text;
    text << "pens " << counts.pens << ", brushes " << counts.brushes << ", fonts " << counts.fonts << ", bitmaps "
         << counts.bitmaps << ", regions " << counts.regions << ", memory DCs " << counts.memoryDcs
         << ", window DCs " << counts.windowDcs << ", themes " << counts.themes << ", device lists "
         << counts.deviceLists << ", registry keys " << counts.registryKeys << ", windows " << counts.windows;
    return text.str();
}

UINT LastTimerPeriod(UINT_PTR id)
{
    auto timer = TimerPeriods.find(id);
    return timer != TimerPeriods.end() ? timer->second : 0;
}
