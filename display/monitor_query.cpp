// Reading the monitor's EDID from its device key, and the exact refresh of
// the current mode from the display configuration.
#include "display/monitor_query.h"

#include <setupapi.h>

#include <vector>

#include "app/app_state.h"
#include "display/mode_list.h"

ReadMonitorEdidFunction PelmiraReadMonitorEdid = ReadMonitorEdid;
QueryExactRefreshFunction PelmiraQueryExactRefresh = QueryExactRefresh;

// The device interface class of monitors, {E6F07B5F-EE97-4A90-B076-33F57BF4EAA7}.
static const GUID MonitorInterfaceClass = {
    0xe6f07b5f, 0xee97, 0x4a90, { 0xb0, 0x76, 0x33, 0xf5, 0x7b, 0xf4, 0xea, 0xa7 }
};

// The device interface path of the adapter's monitor 0 (in DeviceID).
static bool GetMonitorInterfaceName(const WCHAR* adapterName, DISPLAY_DEVICEW* monitor)
{
    ZeroMemory(monitor, sizeof(*monitor));
    monitor->cb = sizeof(*monitor);
    return EnumDisplayDevicesW(adapterName, 0, monitor, EDD_GET_DEVICE_INTERFACE_NAME) &&
           monitor->DeviceID[0] != L'\0';
}

// Finds, among the present monitor interfaces, the device of the one whose
// path is interfaceName (compared without regard to case).
static bool FindMonitorDevice(HDEVINFO devices, const WCHAR* interfaceName, SP_DEVINFO_DATA* device)
{
    SP_DEVICE_INTERFACE_DATA monitorInterface;
    monitorInterface.cbSize = sizeof(monitorInterface);
    for (DWORD index = 0;
         SetupDiEnumDeviceInterfaces(devices, NULL, &MonitorInterfaceClass, index, &monitorInterface);
         ++index) {
        // The path runs on past the header's one character into the rest.
        struct {
            SP_DEVICE_INTERFACE_DETAIL_DATA_W header;
            WCHAR rest[MAX_PATH];
        } detail;
        detail.header.cbSize = sizeof(detail.header);
        device->cbSize = sizeof(*device);
        if (SetupDiGetDeviceInterfaceDetailW(devices, &monitorInterface, &detail.header, sizeof(detail),
                                             NULL, device) &&
            SameDeviceName(detail.header.DevicePath, interfaceName))
            return true;
    }
    return false;
}

static size_t ReadEdidValue(HKEY key, unsigned char* edid, size_t capacity)
{
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(capacity);
    if (RegQueryValueExW(key, L"EDID", NULL, &type, edid, &size) != ERROR_SUCCESS || type != REG_BINARY)
        return 0;
    return size;
}

size_t ReadMonitorEdid(const WCHAR* adapterName, unsigned char* edid, size_t capacity)
{
    DISPLAY_DEVICEW monitor;
    if (!GetMonitorInterfaceName(adapterName, &monitor))
        return 0;
    HDEVINFO devices = SetupDiGetClassDevsW(&MonitorInterfaceClass, NULL, NULL,
                                            DIGCF_DEVICEINTERFACE | DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return 0;
    size_t size = 0;
    SP_DEVINFO_DATA device;
    if (FindMonitorDevice(devices, monitor.DeviceID, &device)) {
        HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key != INVALID_HANDLE_VALUE) {
            size = ReadEdidValue(key, edid, capacity);
            RegCloseKey(key);
        }
    }
    SetupDiDestroyDeviceInfoList(devices);
    return size;
}

// Whether the path's source is the adapter named adapterName (its GDI name).
static bool PathShowsAdapter(const DISPLAYCONFIG_PATH_INFO& path, const WCHAR* adapterName)
{
    DISPLAYCONFIG_SOURCE_DEVICE_NAME source;
    ZeroMemory(&source, sizeof(source));
    source.header.type = DISPLAYCONFIG_DEVICE_INFO_GET_SOURCE_NAME;
    source.header.size = sizeof(source);
    source.header.adapterId = path.sourceInfo.adapterId;
    source.header.id = path.sourceInfo.id;
    return DisplayConfigGetDeviceInfo(&source.header) == ERROR_SUCCESS &&
           SameDeviceName(source.viewGdiDeviceName, adapterName);
}

// The refresh of the path's target mode, or of the path itself when it
// names no target mode.
static DISPLAYCONFIG_RATIONAL PathRefresh(const DISPLAYCONFIG_PATH_INFO& path,
                                          const std::vector<DISPLAYCONFIG_MODE_INFO>& modes)
{
    UINT32 index = path.targetInfo.modeInfoIdx;
    if (index < modes.size() && modes[index].infoType == DISPLAYCONFIG_MODE_INFO_TYPE_TARGET)
        return modes[index].targetMode.targetVideoSignalInfo.vSyncFreq;
    return path.targetInfo.refreshRate;
}

bool QueryExactRefresh(const WCHAR* adapterName, DISPLAYCONFIG_RATIONAL* refresh)
{
    UINT32 pathCount = 0, modeCount = 0;
    if (GetDisplayConfigBufferSizes(QDC_ONLY_ACTIVE_PATHS, &pathCount, &modeCount) != ERROR_SUCCESS)
        return false;
    std::vector<DISPLAYCONFIG_PATH_INFO> paths(pathCount);
    std::vector<DISPLAYCONFIG_MODE_INFO> modes(modeCount);
    if (QueryDisplayConfig(QDC_ONLY_ACTIVE_PATHS, &pathCount, paths.data(), &modeCount, modes.data(),
                           NULL) != ERROR_SUCCESS)
        return false;
    modes.resize(modeCount);
    for (UINT32 i = 0; i < pathCount; ++i) {
        if (!PathShowsAdapter(paths[i], adapterName))
            continue;
        *refresh = PathRefresh(paths[i], modes);
        return refresh->Denominator != 0;
    }
    return false;
}

// LOGPIXELSX of an information context of the adapter; 0 when it cannot be opened.
static int LogicalDpi(const WCHAR* adapterName)
{
    HDC dc = CreateDCW(NULL, adapterName, NULL, NULL);
    if (dc == NULL)
        return 0;
    int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    DeleteDC(dc);
    return dpi;
}

// Every mode the adapter offers, by size and rate.
static std::vector<OfferedMode> QueryOfferedModes(const WCHAR* adapterName)
{
    std::vector<OfferedMode> offered;
    DEVMODEW mode;
    ClearDevMode(&mode);
    for (DWORD number = 0; PelmiraEnumDisplaySettings(adapterName, number, &mode, 0); ++number) {
        OfferedMode entry = { static_cast<int>(mode.dmPelsWidth), static_cast<int>(mode.dmPelsHeight),
                              static_cast<int>(mode.dmDisplayFrequency) };
        offered.push_back(entry);
        ClearDevMode(&mode);
    }
    return offered;
}

bool QueryCurrentMode(const WCHAR* adapterName, MonitorCurrentMode* mode)
{
    DEVMODEW settings;
    ClearDevMode(&settings);
    if (!PelmiraEnumDisplaySettings(adapterName, ENUM_CURRENT_SETTINGS, &settings, 0))
        return false;
    mode->width = static_cast<int>(settings.dmPelsWidth);
    mode->height = static_cast<int>(settings.dmPelsHeight);
    DISPLAYCONFIG_RATIONAL refresh = { 0, 0 };
    if (!PelmiraQueryExactRefresh(adapterName, &refresh) || refresh.Denominator == 0)
        refresh.Numerator = refresh.Denominator = 0;
    mode->refreshNumerator = refresh.Numerator;
    mode->refreshDenominator = refresh.Denominator;
    mode->logicalDpi = LogicalDpi(adapterName);
    mode->offered = NULL;
    mode->offeredCount = 0;
    return true;
}

int BuildMonitorReport(const WCHAR* adapterName, WCHAR* text, int capacity)
{
    std::vector<unsigned char> edid(MonitorEdidCapacity);
    size_t edidSize = PelmiraReadMonitorEdid(adapterName, edid.data(), edid.size());
    MonitorCurrentMode current;
    bool currentKnown = QueryCurrentMode(adapterName, &current);
    std::vector<OfferedMode> offered = QueryOfferedModes(adapterName);
    current.offered = offered.data();
    current.offeredCount = static_cast<int>(offered.size());
    return FormatMonitorReport(edidSize != 0 ? edid.data() : NULL, edidSize,
                               currentKnown ? &current : NULL, text, capacity);
}
