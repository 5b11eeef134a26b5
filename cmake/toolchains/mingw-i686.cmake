# Cross build for 32-bit Windows with Debian's MinGW-w64 toolchain; see mingw-x86_64.cmake.
# Running its programs needs 32-bit Wine (wine32:i386). The wrapper picks it when it is
# installed and says so plainly when it is not, so this build can be compiled anywhere.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(KESMARO_MINGW_TRIPLE i686-w64-mingw32)
set(KESMARO_WINE_OPTIONS --32)

include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
