# The program's icon, drawn at build time by ui/icon/make-icon.py (Python 3, standard library
# only): kesmaro.ico for Windows and kesmaro-16.png ... kesmaro-256.png for a Linux desktop, all
# in ${CMAKE_BINARY_DIR}/icon/. Redrawn whenever the script changes.
#   kesmaro_generate_icon(KESMARO_ICO)         # KESMARO_ICO = path of kesmaro.ico
#   kesmaro_generate_icon(KESMARO_ICO PNGS)    # PNGS = the PNG paths too, smallest first
# The target kesmaro_icon builds them. The custom command belongs to the directory that calls
# this function; a target elsewhere that uses the files needs add_dependencies(... kesmaro_icon).
# The sizes of the PNGs, as the desktop's hicolor theme has folders for them.
set(KESMARO_ICON_SIZES 16 24 32 48 64 128 256)

function(kesmaro_generate_icon out_var)
  set(dir ${CMAKE_BINARY_DIR}/icon)
  set(ico ${dir}/kesmaro.ico)
  set(pngs)
  foreach(size IN ITEMS ${KESMARO_ICON_SIZES})
    list(APPEND pngs ${dir}/kesmaro-${size}.png)
  endforeach()
  set(${out_var} ${ico} PARENT_SCOPE)
  if(ARGC GREATER 1)
    set(${ARGV1} ${pngs} PARENT_SCOPE)
  endif()
  if(TARGET kesmaro_icon)
    return() # a second call must not add a second rule for the same files
  endif()

  # A host program, also when cross-compiling (the toolchains search programs on the host).
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(script ${PROJECT_SOURCE_DIR}/ui/icon/make-icon.py)

  add_custom_command(
    OUTPUT ${ico} ${pngs}
    COMMAND ${Python3_EXECUTABLE} ${script} --ico ${ico} --png-dir ${dir}
    DEPENDS ${script}
    COMMENT "Drawing the icon"
    VERBATIM)
  add_custom_target(kesmaro_icon DEPENDS ${ico} ${pngs})
endfunction()
