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
