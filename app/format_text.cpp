#include "app/format_text.h"

#include <locale.h>
#include <stdarg.h>
#include <stdio.h>

// The "C" locale, made once: its decimal point is a full stop whatever the
// process or thread locale says.
static _locale_t ClassicLocale()
{
    static _locale_t classic = _create_locale(LC_ALL, "C");
    return classic;
}

int FormatTextV(WCHAR* buffer, int capacity, const WCHAR* format, va_list arguments)
{
    if (buffer == NULL || capacity <= 0)
        return -1;
    int length = _vsnwprintf_l(buffer, capacity, format, ClassicLocale(), arguments);
    if (length < 0 || length >= capacity) {
        buffer[0] = L'\0';
        return -1;
    }
    return length;
}

int FormatText(WCHAR* buffer, int capacity, const WCHAR* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    int length = FormatTextV(buffer, capacity, format, arguments);
    va_end(arguments);
    return length;
}
