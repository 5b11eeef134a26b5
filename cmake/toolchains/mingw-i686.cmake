# Cross build for 32-bit Windows with Debian's MinGW-w64 toolchain; see mingw-x86_64.cmake.
# Its programs run under wine64 in Wine's WoW64 mode, with Wine's 32-bit DLLs that
# scripts/install-deps.sh unpacks from Debian's libwine:i386 (see cmake/wine-run.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(KESMARO_MINGW_TRIPLE i686-w64-mingw32)
set(KESMARO_WINE_OPTIONS --32)

include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
