// Names of well-known screen resolutions.
#ifndef PELMIRA_RESOLUTION_NAMES_H
#define PELMIRA_RESOLUTION_NAMES_H

#include <windows.h>

// The name of a standard resolution of exactly width x height pixels, such
// as "16:9 FHD", or null. The names live as long as the program.
const WCHAR* StandardResolutionName(int width, int height);

#endif
