# Cross build for 64-bit Windows with Debian's MinGW-w64 toolchain.
# The -posix compilers use the winpthreads thread model, which std::thread, std::mutex and
# std::jthread need. Executables are linked statically so they run with no DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KESMARO_MINGW_TRIPLE x86_64-w64-mingw32)

include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Tests (and GoogleTest's discovery of them) run under Wine. The Wine prefix lives in the
# build folder, so every build has its own and removing the build folder removes it.
get_filename_component(KESMARO_WINE_RUN "${CMAKE_CURRENT_LIST_DIR}/../wine-run.sh" ABSOLUTE)
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      "${KESMARO_WINE_RUN};--prefix;${CMAKE_BINARY_DIR}/wineprefix")
endif()
