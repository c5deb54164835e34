# What both MinGW-w64 toolchain files share: Debian's cross compiler for
# VORNIX_MINGW_TARGET (posix threads) and its own folder of libraries.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER   ${VORNIX_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORNIX_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER  ${VORNIX_MINGW_TARGET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VORNIX_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test programs run under Wine in the session that tests/run-windows-tests.sh
# sets up (tests/wine-run.sh starts each one there).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/wine-run.sh)
