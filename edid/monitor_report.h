// The monitor report: what a monitor's EDID says of it and whether its
// current mode is the one it is built for, as "Label: value" lines.
#ifndef PELMIRA_MONITOR_REPORT_H
#define PELMIRA_MONITOR_REPORT_H

#include <stddef.h>

// A mode the display adapter offers for the monitor.
struct OfferedMode {
    int width, height;
    int hertz;                          // as Windows gives it, a whole number
};

// What Windows reports of the monitor beside its EDID.
struct MonitorCurrentMode {
    int width, height;                  // pixels of the current mode
    unsigned refreshNumerator;          // its exact vertical refresh, in Hz,
    unsigned refreshDenominator;        //   as a fraction; 0 / 0 when unknown
    int logicalDpi;                     // pixels of one logical inch (96 at 100 %)
    const OfferedMode* offered;         // the modes the adapter offers; null
    int offeredCount;                   //   and 0 when not known
};

// Writes the report of the EDID of edidSize bytes (none: edid null or
// edidSize 0) and of the current mode (null: not known, and then no line or
// note speaks of it) into text, which holds capacity characters. Lines end in
// "\r\n". Returns the number of characters written without the terminator,
// or -1 when the report does not fit or there is no memory for the decoding
// (text then holds an empty string).
int FormatMonitorReport(const unsigned char* edid, size_t edidSize, const MonitorCurrentMode* current,
                        wchar_t* text, int capacity);

#endif
