// edid_report FILE...: for each EDID file, a line "== FILE" and then the
// monitor report of its bytes, without a current mode. The comparison with
// edid-decode reads this output.
#include <stdio.h>

#include "edid/monitor_report.h"

int main(int argc, char** argv)
{
    static unsigned char edid[65536];  // an EDID has 256 blocks of 128 bytes at most
    static wchar_t report[96 * 1024];
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        printf("== %s\n", argv[i]);
        FILE* file = fopen(argv[i], "rb");
        if (file == NULL) {
            printf("cannot open the file\n");
            status = 1;
            continue;
        }
        size_t size = fread(edid, 1, sizeof edid, file);
        fclose(file);
        int length = FormatMonitorReport(edid, size, NULL, report, sizeof report / sizeof report[0]);
        for (int c = 0; c < length; ++c)  // UTF-8; the report's characters are below U+0800
            if (report[c] >= 0x80) {
                putchar(0xC0 | report[c] >> 6);
                putchar(0x80 | (report[c] & 0x3F));
            } else if (report[c] != L'\r') {
                putchar(static_cast<char>(report[c]));
            }
    }
    return status;
}
