// edid_report FILE...: for each EDID file, a line "== FILE" and then the
// monitor report of its bytes, without a current mode. The comparison with
// edid-decode reads this output.
#include <stdio.h>

#include "display/monitor_report.h"

int main(int argc, char** argv)
{
    static unsigned char edid[65536];  // an EDID has 256 blocks of 128 bytes at most
    static wchar_t report[32768];
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
        for (int c = 0; c < length; ++c) {
            if (report[c] != L'\r')
                putchar(report[c] < 0x80 ? static_cast<char>(report[c]) : '?');
        }
    }
    return status;
}
