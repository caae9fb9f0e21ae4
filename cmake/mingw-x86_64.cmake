# 64-bit Windows build of the same sources. The test command uses it on
# machines whose kernel cannot run 32-bit processes (32-bit Wine needs them).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PELMIRA_MINGW_TRIPLE x86_64-w64-mingw32)
set(PELMIRA_WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
