# Programs whose entry point is wmain (wide-character arguments) on Windows.
# MinGW's startup code calls main() unless the program is linked with -municode; MSVC picks
# wmain by itself. Elsewhere there is nothing to do, so callers need no platform checks:
#   kesmaro_use_wmain(kesmaro-cli)
function(kesmaro_use_wmain target)
  if(WIN32 AND MINGW)
    # Link option only: at compile time -municode would also define UNICODE for this target's
    # sources and switch every unsuffixed Win32 macro to its W form.
    target_link_options(${target} PRIVATE -municode)
  endif()
endfunction()
