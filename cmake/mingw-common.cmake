# Shared part of the mingw-w64 cross toolchains. The including file sets
# PELMIRA_MINGW_TRIPLE (i686-w64-mingw32 or x86_64-w64-mingw32) and
# PELMIRA_WINE_LOADER (the Wine loader that can run that architecture).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_VERSION 6.1)

# The -posix variants use the POSIX thread model: std::mutex and
# std::condition_variable exist there, and GoogleTest needs them.
set(CMAKE_C_COMPILER   ${PELMIRA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PELMIRA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${PELMIRA_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PELMIRA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest runs the cross-built test executables through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh ${PELMIRA_WINE_LOADER})
