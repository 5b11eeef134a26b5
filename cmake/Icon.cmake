# The program's icon, drawn at build time by ui/icon/make-icon.py (Python 3, standard library
# only): kesmaro.ico for Windows and kesmaro-16.png ... kesmaro-256.png for a Linux desktop, all
# in ${CMAKE_BINARY_DIR}/icon/. Redrawn whenever the script changes.
#   kesmaro_generate_icon(KESMARO_ICO)         # KESMARO_ICO = path of kesmaro.ico
#   kesmaro_generate_icon(KESMARO_ICO PNGS)    # PNGS = the PNG paths too, smallest first
# The target kesmaro_icon builds them. The custom command belongs to the directory that calls
# this function; a target elsewhere that uses the files needs add_dependencies(... kesmaro_icon).
# KESMARO_ICON_SIZES: the sizes of the PNGs, as the script draws them for the desktop's hicolor
# theme, which has folders for them. Asked of the script, which holds them; it changing makes
# CMake run again.
# A host program, also when cross-compiling (the toolchains search programs on the host).
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(KESMARO_ICON_SCRIPT ${PROJECT_SOURCE_DIR}/ui/icon/make-icon.py)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KESMARO_ICON_SCRIPT})
execute_process(COMMAND ${Python3_EXECUTABLE} ${KESMARO_ICON_SCRIPT} --list-png-sizes
                OUTPUT_VARIABLE KESMARO_ICON_SIZES OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
separate_arguments(KESMARO_ICON_SIZES)

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

  set(script ${KESMARO_ICON_SCRIPT})

  add_custom_command(
    OUTPUT ${ico} ${pngs}
    COMMAND ${Python3_EXECUTABLE} ${script} --ico ${ico} --png-dir ${dir}
    DEPENDS ${script}
    COMMENT "Drawing the icon"
    VERBATIM)
  add_custom_target(kesmaro_icon DEPENDS ${ico} ${pngs})
endfunction()
