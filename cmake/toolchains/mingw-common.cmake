# Shared by the MinGW-w64 toolchain files, which set KESMARO_MINGW_TRIPLE first.
set(CMAKE_C_COMPILER ${KESMARO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESMARO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KESMARO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KESMARO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -mbig-obj: test files full of GoogleTest macros can exceed the 32k sections of a plain COFF
# object, mostly in unoptimised builds.
set(CMAKE_CXX_FLAGS_INIT "-Wa,-mbig-obj")
set(CMAKE_C_FLAGS_INIT "-Wa,-mbig-obj")

# Static libgcc, libstdc++ and winpthread: the .exe needs only DLLs that come with Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Release programs are shipped as they are: without symbols they are half the size.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# Tests (and GoogleTest's discovery of them) run under Wine through the wrapper, with the Wine
# prefix in the build folder: every build has its own, and removing the build folder removes it.
# The toolchain file sets KESMARO_WINE_OPTIONS and KESMARO_WINE_PREFIX (the prefix's folder name)
# for its word size.
get_filename_component(KESMARO_WINE_RUN "${CMAKE_CURRENT_LIST_DIR}/../wine-run.sh" ABSOLUTE)
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${KESMARO_WINE_RUN}" --prefix "${CMAKE_BINARY_DIR}/${KESMARO_WINE_PREFIX}"
                                    ${KESMARO_WINE_OPTIONS})
endif()
