# Cross build for 64-bit Windows with Debian's MinGW-w64 toolchain.
# The -posix compilers use the winpthreads thread model, which std::thread, std::mutex and
# std::jthread need. Executables are linked statically so they run with no DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KESMARO_MINGW_TRIPLE x86_64-w64-mingw32)
set(KESMARO_WINE_OPTIONS "")
set(KESMARO_WINE_PREFIX wineprefix)

include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
