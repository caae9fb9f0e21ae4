// What the two halves of the monitor report share: the text as it grows,
// and the formats of a rate and a mode.
#ifndef PELMIRA_REPORT_TEXT_H
#define PELMIRA_REPORT_TEXT_H

#include <stdint.h>

#include "edid/edid.h"
#include "edid/monitor_report.h"

// The report as it grows in the caller's buffer.
struct ReportText {
    wchar_t* text;
    int capacity;
    int length;
    bool full;      // a line did not fit
};

void AddLine(ReportText* report, const wchar_t* format, ...);

enum { RATE_CAPACITY = 32 };

// "59.951 Hz", or "" when the rate is not known (negative).
const wchar_t* RateText(int64_t millihertz, wchar_t* text);

// "2560 x 1440 at 59.951 Hz", "1920 x 1080 interlaced at 60.000 Hz".
const wchar_t* ModeText(int width, int height, bool interlaced, int64_t millihertz, wchar_t* text);
enum { MODE_CAPACITY = 64 };

// The exact rate of the current mode in millihertz, -1 when not known.
int64_t CurrentMillihertz(const MonitorCurrentMode* current);

// Whether a mode is of the given size, upright or turned a quarter (a
// monitor on its side reports its mode with width and height swapped).
bool IsOfSize(int modeWidth, int modeHeight, int width, int height);

// The fastest progressive mode listed of the given size, either way round,
// in millihertz, of those the adapter could run at up to limitHertz (which
// Windows gives in whole hertz, sometimes rounded down: 59 for 59.940); no
// limit when limitHertz is negative. -1 when none.
int64_t HighestListedMillihertz(const EdidFacts& facts, int width, int height, int limitHertz);

// The fastest rate the adapter offers at the given size, either way round;
// -1 when it offers none there or its modes are not known.
int HighestOfferedHertz(const MonitorCurrentMode* current, int width, int height);

// The lines from "Highest refresh" to "HDR".
void AddCapabilities(ReportText* report, const EdidFacts& facts);

// The note when the adapter offers no mode as fast as the monitor's
// fastest at its native size.
void AddAdapterNote(ReportText* report, const EdidFacts& facts, const MonitorCurrentMode* current);

// "Modes the monitor lists (N):" and a line per mode, marked "(native)"
// and, with a current mode, "(current)".
void AddModeList(ReportText* report, const EdidFacts& facts, const MonitorCurrentMode* current);

#endif
