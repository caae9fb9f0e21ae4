// Counts the GDI objects and device contexts that the test executable's own
// code creates and frees, by replacing entries of its import address table.
#include "bench/bench.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <map>
#include <mutex>
#include <sstream>
#include <string.h>

namespace {

enum ObjectKind {
    KindPen, KindBrush, KindFont, KindBitmap, KindRegion, KindMemoryDc, KindWindowDc, KindImageList, KindTheme
};

std::mutex CounterLock;
std::map<HANDLE, ObjectKind> LiveObjects;

// Creation functions may hand out stock objects (a hollow brush is the stock
// null brush); those are never freed and are not counted.
bool IsStockObject(HANDLE handle)
{
    for (int id = WHITE_BRUSH; id <= DC_PEN; ++id)
        if (GetStockObject(id) == handle)
            return true;
    return false;
}

template <typename Handle>
Handle Track(Handle handle, ObjectKind kind)
{
    if (handle != NULL && !IsStockObject(reinterpret_cast<HANDLE>(handle))) {
        std::lock_guard<std::mutex> hold(CounterLock);
        LiveObjects[reinterpret_cast<HANDLE>(handle)] = kind;
    }
    return handle;
}

void Forget(HANDLE handle)
{
    std::lock_guard<std::mutex> hold(CounterLock);
    LiveObjects.erase(handle);
}

decltype(&CreatePen) RealCreatePen;
decltype(&CreatePenIndirect) RealCreatePenIndirect;
decltype(&ExtCreatePen) RealExtCreatePen;
decltype(&CreateSolidBrush) RealCreateSolidBrush;
decltype(&CreateBrushIndirect) RealCreateBrushIndirect;
decltype(&CreateHatchBrush) RealCreateHatchBrush;
decltype(&CreatePatternBrush) RealCreatePatternBrush;
decltype(&CreateFontW) RealCreateFontW;
decltype(&CreateFontIndirectW) RealCreateFontIndirectW;
decltype(&CreateBitmap) RealCreateBitmap;
decltype(&CreateCompatibleBitmap) RealCreateCompatibleBitmap;
decltype(&CreateDIBSection) RealCreateDIBSection;
decltype(&CreateRectRgn) RealCreateRectRgn;
decltype(&CreateEllipticRgn) RealCreateEllipticRgn;
decltype(&CreateCompatibleDC) RealCreateCompatibleDC;
decltype(&CreateDCW) RealCreateDCW;
decltype(&CreateICW) RealCreateICW;
decltype(&DeleteObject) RealDeleteObject;
decltype(&DeleteDC) RealDeleteDC;
decltype(&GetDC) RealGetDC;
decltype(&GetWindowDC) RealGetWindowDC;
decltype(&GetDCEx) RealGetDCEx;
decltype(&ReleaseDC) RealReleaseDC;
decltype(&LoadBitmapW) RealLoadBitmapW;
decltype(&ImageList_Create) RealImageList_Create;
decltype(&ImageList_Destroy) RealImageList_Destroy;
decltype(&OpenThemeData) RealOpenThemeData;
decltype(&CloseThemeData) RealCloseThemeData;

HPEN WINAPI CountCreatePen(int style, int width, COLORREF color)
{
    return Track(RealCreatePen(style, width, color), KindPen);
}
HPEN WINAPI CountCreatePenIndirect(const LOGPEN* pen)
{
    return Track(RealCreatePenIndirect(pen), KindPen);
}
HPEN WINAPI CountExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD count,
                              const DWORD* styles)
{
    return Track(RealExtCreatePen(style, width, brush, count, styles), KindPen);
}
HBRUSH WINAPI CountCreateSolidBrush(COLORREF color)
{
    return Track(RealCreateSolidBrush(color), KindBrush);
}
HBRUSH WINAPI CountCreateBrushIndirect(const LOGBRUSH* brush)
{
    return Track(RealCreateBrushIndirect(brush), KindBrush);
}
HBRUSH WINAPI CountCreateHatchBrush(int hatch, COLORREF color)
{
    return Track(RealCreateHatchBrush(hatch, color), KindBrush);
}
HBRUSH WINAPI CountCreatePatternBrush(HBITMAP bitmap)
{
    return Track(RealCreatePatternBrush(bitmap), KindBrush);
}
HFONT WINAPI CountCreateFontW(int height, int width, int escapement, int orientation, int weight,
                              DWORD italic, DWORD underline, DWORD strikeOut, DWORD charSet,
                              DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                              DWORD pitchAndFamily, LPCWSTR face)
{
    return Track(RealCreateFontW(height, width, escapement, orientation, weight, italic, underline,
                                 strikeOut, charSet, outPrecision, clipPrecision, quality,
                                 pitchAndFamily, face),
                 KindFont);
}
HFONT WINAPI CountCreateFontIndirectW(const LOGFONTW* font)
{
    return Track(RealCreateFontIndirectW(font), KindFont);
}
HBITMAP WINAPI CountCreateBitmap(int width, int height, UINT planes, UINT bits, const void* data)
{
    return Track(RealCreateBitmap(width, height, planes, bits, data), KindBitmap);
}
HBITMAP WINAPI CountCreateCompatibleBitmap(HDC dc, int width, int height)
{
    return Track(RealCreateCompatibleBitmap(dc, width, height), KindBitmap);
}
HBITMAP WINAPI CountCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                     HANDLE section, DWORD offset)
{
    return Track(RealCreateDIBSection(dc, info, usage, bits, section, offset), KindBitmap);
}
HRGN WINAPI CountCreateRectRgn(int left, int top, int right, int bottom)
{
    return Track(RealCreateRectRgn(left, top, right, bottom), KindRegion);
}
HRGN WINAPI CountCreateEllipticRgn(int left, int top, int right, int bottom)
{
    return Track(RealCreateEllipticRgn(left, top, right, bottom), KindRegion);
}
HDC WINAPI CountCreateCompatibleDC(HDC dc)
{
    return Track(RealCreateCompatibleDC(dc), KindMemoryDc);
}
HDC WINAPI CountCreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const DEVMODEW* mode)
{
    return Track(RealCreateDCW(driver, device, output, mode), KindMemoryDc);
}
HDC WINAPI CountCreateICW(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const DEVMODEW* mode)
{
    return Track(RealCreateICW(driver, device, output, mode), KindMemoryDc);
}
BOOL WINAPI CountDeleteObject(HGDIOBJ object)
{
    BOOL deleted = RealDeleteObject(object);
    if (deleted)
        Forget(object);
    return deleted;
}
BOOL WINAPI CountDeleteDC(HDC dc)
{
    BOOL deleted = RealDeleteDC(dc);
    if (deleted)
        Forget(dc);
    return deleted;
}
HDC WINAPI CountGetDC(HWND window)
{
    return Track(RealGetDC(window), KindWindowDc);
}
HDC WINAPI CountGetWindowDC(HWND window)
{
    return Track(RealGetWindowDC(window), KindWindowDc);
}
HDC WINAPI CountGetDCEx(HWND window, HRGN clip, DWORD flags)
{
    return Track(RealGetDCEx(window, clip, flags), KindWindowDc);
}
int WINAPI CountReleaseDC(HWND window, HDC dc)
{
    int released = RealReleaseDC(window, dc);
    if (released)
        Forget(dc);
    return released;
}
HBITMAP WINAPI CountLoadBitmapW(HINSTANCE instance, LPCWSTR name)
{
    return Track(RealLoadBitmapW(instance, name), KindBitmap);
}

HIMAGELIST WINAPI CountImageList_Create(int cx, int cy, UINT flags, int initial, int grow)
{
    return Track(RealImageList_Create(cx, cy, flags, initial, grow), KindImageList);
}
BOOL WINAPI CountImageList_Destroy(HIMAGELIST list)
{
    BOOL destroyed = RealImageList_Destroy(list);
    if (destroyed)
        Forget(reinterpret_cast<HANDLE>(list));
    return destroyed;
}
HTHEME WINAPI CountOpenThemeData(HWND window, LPCWSTR classes)
{
    return Track(RealOpenThemeData(window, classes), KindTheme);
}
HRESULT WINAPI CountCloseThemeData(HTHEME theme)
{
    HRESULT result = RealCloseThemeData(theme);
    if (SUCCEEDED(result))
        Forget(theme);
    return result;
}

// The import address table slot of function in dll, or null.
void** FindImportSlot(const char* dll, const char* function)
{
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleW(NULL));
    IMAGE_DOS_HEADER* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    IMAGE_NT_HEADERS* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    IMAGE_IMPORT_DESCRIPTOR* import =
        reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
    for (; import->Name != 0; ++import) {
        if (lstrcmpiA(reinterpret_cast<char*>(base + import->Name), dll) != 0)
            continue;
        DWORD namesRva = import->OriginalFirstThunk ? import->OriginalFirstThunk : import->FirstThunk;
        IMAGE_THUNK_DATA* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + namesRva);
        IMAGE_THUNK_DATA* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            IMAGE_IMPORT_BY_NAME* byName =
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return NULL;
}

template <typename Function>
void Hook(const char* dll, const char* name, Function* real, Function replacement)
{
    void** slot = FindImportSlot(dll, name);
    if (slot == NULL)
        return;  // not imported: the program does not call it
    DWORD protection;
    VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection);
    *real = reinterpret_cast<Function>(*slot);
    *slot = reinterpret_cast<void*>(replacement);
    VirtualProtect(slot, sizeof(*slot), protection, &protection);
}

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(window, CountChild, count);
    return TRUE;
}

}  // namespace

#define PELMIRA_HOOK(dll, function) Hook(dll, #function, &Real##function, Count##function)

void InstallObjectCounter()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    PELMIRA_HOOK("gdi32.dll", CreatePen);
    PELMIRA_HOOK("gdi32.dll", CreatePenIndirect);
    PELMIRA_HOOK("gdi32.dll", ExtCreatePen);
    PELMIRA_HOOK("gdi32.dll", CreateSolidBrush);
    PELMIRA_HOOK("gdi32.dll", CreateBrushIndirect);
    PELMIRA_HOOK("gdi32.dll", CreateHatchBrush);
    PELMIRA_HOOK("gdi32.dll", CreatePatternBrush);
    PELMIRA_HOOK("gdi32.dll", CreateFontW);
    PELMIRA_HOOK("gdi32.dll", CreateFontIndirectW);
    PELMIRA_HOOK("gdi32.dll", CreateBitmap);
    PELMIRA_HOOK("gdi32.dll", CreateCompatibleBitmap);
    PELMIRA_HOOK("gdi32.dll", CreateDIBSection);
    PELMIRA_HOOK("gdi32.dll", CreateRectRgn);
    PELMIRA_HOOK("gdi32.dll", CreateEllipticRgn);
    PELMIRA_HOOK("gdi32.dll", CreateCompatibleDC);
    PELMIRA_HOOK("gdi32.dll", CreateDCW);
    PELMIRA_HOOK("gdi32.dll", CreateICW);
    PELMIRA_HOOK("gdi32.dll", DeleteObject);
    PELMIRA_HOOK("gdi32.dll", DeleteDC);
    PELMIRA_HOOK("user32.dll", GetDC);
    PELMIRA_HOOK("user32.dll", GetWindowDC);
    PELMIRA_HOOK("user32.dll", GetDCEx);
    PELMIRA_HOOK("user32.dll", ReleaseDC);
    PELMIRA_HOOK("user32.dll", LoadBitmapW);
    PELMIRA_HOOK("comctl32.dll", ImageList_Create);
    PELMIRA_HOOK("comctl32.dll", ImageList_Destroy);
    PELMIRA_HOOK("uxtheme.dll", OpenThemeData);
    PELMIRA_HOOK("uxtheme.dll", CloseThemeData);
}

ObjectCounts CurrentObjectCounts()
{
    ObjectCounts counts;
    ZeroMemory(&counts, sizeof(counts));
    {
        std::lock_guard<std::mutex> hold(CounterLock);
        for (const auto& entry : LiveObjects) {
            switch (entry.second) {
            case KindPen: ++counts.pens; break;
            case KindBrush: ++counts.brushes; break;
            case KindFont: ++counts.fonts; break;
            case KindBitmap: ++counts.bitmaps; break;
            case KindRegion: ++counts.regions; break;
            case KindMemoryDc: ++counts.memoryDcs; break;
            case KindWindowDc: ++counts.windowDcs; break;
            case KindImageList: ++counts.imageLists; break;
            case KindTheme: ++counts.themes; break;
            }
        }
    }
    EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&counts.windows));
    return counts;
}

bool SameCounts(const ObjectCounts& a, const ObjectCounts& b)
{
    return memcmp(&a, &b, sizeof(a)) == 0;
}

std::string DescribeCounts(const ObjectCounts& counts)
{
    std::ostringstream text;
    text << "pens " << counts.pens << ", brushes " << counts.brushes << ", fonts " << counts.fonts
         << ", bitmaps " << counts.bitmaps << ", regions " << counts.regions << ", memory DCs "
         << counts.memoryDcs << ", window DCs " << counts.windowDcs << ", image lists "
         << counts.imageLists << ", themes " << counts.themes << ", windows " << counts.windows;
    return text.str();
}
