// pelmira_with_edid EDID_FILE: Pelmira as it runs, but with the EDID in the
// file as what every monitor reports (through the seam the tests use).
// tools/screenshots.sh shows a real monitor's Monitor details with it.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "app/startup.h"
#include "display/monitor_query.h"

namespace {

unsigned char Edid[MonitorEdidCapacity];
size_t EdidSize;

size_t ReadEdidFromFile(const WCHAR*, unsigned char* edid, size_t capacity)
{
    size_t size = EdidSize < capacity ? EdidSize : capacity;
    memcpy(edid, Edid, size);
    return size;
}

}  // namespace

int main(int argc, char** argv)
{
    FILE* file = argc == 2 ? fopen(argv[1], "rb") : NULL;
    if (file == NULL) {
        fprintf(stderr, "usage: pelmira_with_edid EDID_FILE\n");
        return 2;
    }
    EdidSize = fread(Edid, 1, sizeof Edid, file);
    fclose(file);
    PelmiraReadMonitorEdid = ReadEdidFromFile;
    return RunPelmira(GetModuleHandleW(NULL));
}
