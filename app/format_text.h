// Formatting of the program's texts.
#ifndef PELMIRA_FORMAT_TEXT_H
#define PELMIRA_FORMAT_TEXT_H

#include <windows.h>

#include <stdarg.h>

// Wide-character printf into buffer, which holds capacity characters. The
// text is always terminated. Returns the number of characters written without
// the terminator, or -1 when formatting fails or the text does not fit (the
// buffer then holds an empty string). Numbers print with a full stop as
// decimal point whatever the user's regional settings. Strings are passed
// with %ls.
int FormatText(WCHAR* buffer, int capacity, const WCHAR* format, ...);

// The same with the values in a va_list.
int FormatTextV(WCHAR* buffer, int capacity, const WCHAR* format, va_list arguments);

#endif
