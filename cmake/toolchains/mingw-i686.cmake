# Cross build for 32-bit Windows with Debian's MinGW-w64 toolchain; see mingw-x86_64.cmake.
# Its programs and tests run on Debian's 32-bit Wine (wine32:i386) under QEMU's user-mode
# emulator, in a win32 prefix of their own (see cmake/wine-run.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(KESMARO_MINGW_TRIPLE i686-w64-mingw32)
set(KESMARO_WINE_OPTIONS --32)
set(KESMARO_WINE_PREFIX wineprefix-win32)

include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
