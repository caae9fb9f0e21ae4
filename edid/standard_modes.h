// The modes that an EDID names by a code rather than by its timing: VESA DMT
// modes (by ID, or by a standard timing code), the established timings,
// CTA-861 video codes and HDMI VICs.
#ifndef PELMIRA_STANDARD_MODES_H
#define PELMIRA_STANDARD_MODES_H

#include <stdint.h>

// A mode of a table; width 0 where a code names none.
struct StandardMode {
    uint16_t width, height;     // an interlaced height counts both fields
    uint8_t interlaced;
    uint32_t millihertz;        // the vertical refresh (of the fields when
                                //   interlaced), rounded to 0.001 Hz
};

// A standard timing code and the DMT ID of the mode it stands for.
struct StandardCode {
    uint16_t code;
    uint8_t dmtId;
};

enum {
    EDID_DMT_IDS = 89,
    EDID_DMT_STANDARD_CODES = 49,
    EDID_ESTABLISHED_BITS = 17,
    EDID_ESTABLISHED_III_BITS = 44,
    EDID_VICS = 256,
    EDID_HDMI_VICS = 5
};

extern const StandardMode DmtModes[EDID_DMT_IDS];
extern const StandardCode DmtStandardCodes[EDID_DMT_STANDARD_CODES];
extern const StandardMode EstablishedModes[EDID_ESTABLISHED_BITS];
extern const unsigned char EstablishedIIIIds[EDID_ESTABLISHED_III_BITS];
extern const StandardMode VicModes[EDID_VICS];
extern const StandardMode HdmiVicModes[EDID_HDMI_VICS];

#endif
