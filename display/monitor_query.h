// What the system reports of one adapter's monitor beyond its device caps:
// the EDID that the monitor sent, and the exact refresh of the current mode.
#ifndef PELMIRA_MONITOR_QUERY_H
#define PELMIRA_MONITOR_QUERY_H

#include <windows.h>

#include "edid/monitor_report.h"

// A base block and at most 255 extension blocks of 128 bytes.
const size_t MonitorEdidCapacity = 256 * 128;

// The report with a line for each of the most modes an EDID can list.
const int MonitorReportCapacity = 96 * 1024;

// Reads the EDID of the adapter's monitor 0 into edid (capacity bytes) and
// returns its size in bytes; 0 when the monitor reports none.
typedef size_t (*ReadMonitorEdidFunction)(const WCHAR* adapterName, unsigned char* edid, size_t capacity);
size_t ReadMonitorEdid(const WCHAR* adapterName, unsigned char* edid, size_t capacity);

// The exact vertical refresh of the adapter's current mode, in Hz as a
// fraction; false when the display configuration does not tell it.
typedef bool (*QueryExactRefreshFunction)(const WCHAR* adapterName, DISPLAYCONFIG_RATIONAL* refresh);
bool QueryExactRefresh(const WCHAR* adapterName, DISPLAYCONFIG_RATIONAL* refresh);

// The two queries behind the report; tests replace them to offer any EDID
// and any refresh.
extern ReadMonitorEdidFunction PelmiraReadMonitorEdid;
extern QueryExactRefreshFunction PelmiraQueryExactRefresh;

// The adapter's current mode: its size (EnumDisplaySettingsExW), its exact
// refresh (0 / 0 when unknown) and the logical dots per inch of its monitor;
// no offered modes. False when the current mode cannot be read.
bool QueryCurrentMode(const WCHAR* adapterName, MonitorCurrentMode* mode);

// Writes the report of the adapter's monitor into text (capacity
// characters), as FormatMonitorReport does; returns its length or -1.
int BuildMonitorReport(const WCHAR* adapterName, WCHAR* text, int capacity);

#endif
