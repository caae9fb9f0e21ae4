# 32-bit Windows build: the program as it ships.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(PELMIRA_MINGW_TRIPLE i686-w64-mingw32)
set(PELMIRA_WINE_LOADER /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
