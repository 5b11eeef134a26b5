# One interface target carries the project's warning flags (and, when asked for, the sanitizers),
# so every target of ours links it and nothing else has to repeat them.
add_library(kesmaro_warnings INTERFACE)
add_library(kesmaro::warnings ALIAS kesmaro_warnings)

target_compile_options(kesmaro_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wnon-virtual-dtor
  -Wold-style-cast -Wcast-align -Woverloaded-virtual -Wdouble-promotion -Wimplicit-fallthrough
  -Wformat=2)
# Not -Wnull-dereference: with GCC 12 at -O2 it fires inside libstdc++'s own stream code
# (std::istreambuf_iterator) wherever that is inlined; the sanitizer build checks the real thing.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # 32-bit x86 without SSE passes 16-byte vectors differently; GCC notes it wherever a function
  # takes or returns one. Ours that do are always inlined into their callers, so no call passes a
  # vector by value: the searches' SSE2 copies (byte_lanes::EntryPoints) call functions compiled
  # without SSE2 with no vector at all (KeyedWindow::OtherFitting reads its line again) or with
  # vectors by reference (KeyedWindow::KeyLine).
  target_compile_options(kesmaro_warnings INTERFACE -Wno-psabi)
endif()
if(KESMARO_WARNINGS_AS_ERRORS)
  target_compile_options(kesmaro_warnings INTERFACE -Werror)
endif()

# KESMARO_SANITIZE names a set of sanitizers; each set is one line of flags here.
set(kesmaro_sanitize_address address,undefined)
set(kesmaro_sanitize_thread thread)
set(kesmaro_sanitize_fuzzer fuzzer-no-link,address,undefined)
if(KESMARO_SANITIZE)
  if(NOT DEFINED kesmaro_sanitize_${KESMARO_SANITIZE})
    message(FATAL_ERROR "KESMARO_SANITIZE: '${KESMARO_SANITIZE}' is none of: address, thread, fuzzer")
  endif()
  if(WIN32)
    message(FATAL_ERROR "KESMARO_SANITIZE: MinGW has no sanitizer runtimes")
  endif()
  set(sanitizers ${kesmaro_sanitize_${KESMARO_SANITIZE}})
  target_compile_options(kesmaro_warnings INTERFACE -fsanitize=${sanitizers} -fno-omit-frame-pointer
                                                    -fno-sanitize-recover=all)
  target_link_options(kesmaro_warnings INTERFACE -fsanitize=${sanitizers})
endif()
