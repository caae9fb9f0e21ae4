// Numbers of the program's resources and of the controls in its dialog
// templates. Shared by the resource script and the C++ code.
#ifndef PELMIRA_RESOURCE_H
#define PELMIRA_RESOURCE_H

// Main window (dialog 129)
#define IDD_MAIN                    129
#define IDC_DEVICE_LIST             1000
#define IDC_BITS_PER_PIXEL          1002
#define IDC_HORZ_RESOLUTION         1003
#define IDC_VERT_RESOLUTION         1004
#define IDC_DPI_X                   1005
#define IDC_DPI_Y                   1006
#define IDC_PLANES                  1007
#define IDC_PIXEL_ASPECT            1008
#define IDC_SCREEN_ASPECT           1009
#define IDC_PIXEL_DIAGONAL          1010
#define IDC_NUMBER_OF_COLORS        1011
#define IDC_REFRESH_RATE            1012
#define IDC_MODE_LIST               1013
#define IDC_PATTERN_TEST            1015
#define IDC_VIRTUAL_SCREEN          1018
#define IDC_MONITOR_RECT            1020
#define IDC_ABOUT                   1021
#define IDC_USE_TEST_MODE           1022
#define IDC_HYPOTENUSE              1029
#define IDC_MOTION_TEST             1030
#define IDC_BANNER_PLACE            1046
#define IDC_QUICK_HELP              110
#define IDC_MONITOR_DETAILS         1050

// About dialog (dialog 100); its logo is IDB_LOGO
#define IDD_ABOUT                   100
#define IDC_ABOUT_PRODUCT           1000
#define IDC_ABOUT_VERSION           1001
#define IDC_ABOUT_RIGHTS            1002
#define IDC_ABOUT_LICENCE           1003
#define IDC_ABOUT_MAIL              1004

// Terms of Use dialog (dialog 102)
#define IDD_TERMS                   102
#define IDC_TERMS_TEXT              1006

// Pattern name popup (dialog 130); its toolbar's pictures are IDB_CROSS,
// IDB_ARROW_LEFT and IDB_ARROW_RIGHT, and its commands are not in the template
#define IDD_PATTERN_POPUP           130
#define IDC_PATTERN_NAME            1027
#define IDC_POPUP_CLOSE             110
#define IDC_POPUP_PREVIOUS          111
#define IDC_POPUP_NEXT              112

// Motion control panel (dialog 131)
#define IDD_MOTION_PANEL            131
#define IDC_MOTION_SPEED            1031
#define IDC_MOTION_SPEED_VALUE      1033
#define IDC_MOTION_SQUARE           1037
#define IDC_MOTION_CIRCLE           1038
#define IDC_MOTION_SMALL            1039
#define IDC_MOTION_MEDIUM           1040
#define IDC_MOTION_LARGE            1041
#define IDC_MOTION_HOLLOW           1042
#define IDC_MOTION_INVERT           1043
#define IDC_MOTION_PREVENT_FLICKER  1044
#define IDC_MOTION_FPS_VALUE        1045
#define IDC_MOTION_LOW              1048
#define IDC_MOTION_FORCE_UPDATE     1049

// Monitor details dialog (dialog 132)
#define IDD_MONITOR                 132
#define IDC_MONITOR_REPORT          1051
#define IDC_MONITOR_COPY            1052

// String table
#define IDS_APP_TITLE               103
#define IDS_DEVICE_INFO_FAILED      104
#define IDS_NO_MONITOR_ATTACHED     105
#define IDS_NO_MONITOR_FOUND        106
#define IDS_INVALID_MONITOR_RECT    107
#define IDS_MODE_CHANGE_FAILED      108
#define IDS_MOTION_START_FAILED     110
#define IDS_QUICK_HELP              111

// Pictures
#define IDB_LOGO                    101
#define IDB_ADAPTER                 130
#define IDB_MONITOR                 131
#define IDB_CROSS                   136
#define IDB_ARROW_RIGHT             137
#define IDB_ARROW_LEFT              138
#define IDI_APP                     107

#endif
