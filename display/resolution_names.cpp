#include "display/resolution_names.h"

struct NamedResolution {
    int width;
    int height;
    const WCHAR* name;
};

static const NamedResolution StandardResolutions[] = {
    { 320, 200, L"8:5 CGA" },      { 320, 240, L"4:3 QVGA" },    { 352, 288, L"CIF" },
    { 384, 288, L"4:3 SIF" },      { 480, 320, L"3:2 HVGA" },    { 640, 480, L"4:3 VGA" },
    { 720, 480, L"3:2" },          { 720, 576, L"5:4" },         { 768, 576, L"4:3 PAL" },
    { 800, 480, L"5:3 WVGA" },     { 800, 600, L"4:3 SVGA" },    { 854, 480, L"16:9 WVGA" },
    { 1024, 576, L"16:9 PAL" },    { 1024, 600, L"WSVGA" },      { 1024, 768, L"4:3 XGA" },
    { 1152, 768, L"3:2" },         { 1152, 864, L"4:3 XGA+" },   { 1280, 720, L"16:9 HD" },
    { 1280, 768, L"5:3 WXGA" },    { 1280, 800, L"8:5 WXGA" },   { 1280, 854, L"3:2" },
    { 1280, 960, L"4:3" },         { 1280, 1024, L"5:4 SXGA" },  { 1366, 768, L"16:9" },
    { 1400, 1050, L"4:3 SXGA+" },  { 1440, 900, L"8:5" },        { 1440, 960, L"3:2" },
    { 1440, 1080, L"4:3" },        { 1600, 900, L"16:9" },       { 1600, 1200, L"4:3 UXGA" },
    { 1680, 1050, L"8:5 WSXGA+" }, { 1920, 1080, L"16:9 FHD" },  { 1920, 1200, L"8:5 WUXGA" },
    { 2048, 1080, L"17:9 2K" },    { 2048, 1536, L"4:3 QXGA" },  { 2560, 1080, L"21:9 UWHD" },
    { 2560, 1440, L"16:9 WQHD" },  { 2560, 1600, L"8:5 WQXGA" }, { 2560, 2048, L"5:4 QSXGA" },
    { 3440, 1440, L"21:9 UWQHD" }, { 3840, 2160, L"16:9 UHD-1" }, { 4096, 2160, L"17:9 4K" },
};

const WCHAR* StandardResolutionName(int width, int height)
{
    for (const NamedResolution& entry : StandardResolutions)
        if (entry.width == width && entry.height == height)
            return entry.name;
    return NULL;
}
