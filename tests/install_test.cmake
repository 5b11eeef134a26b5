# Installs the build into a scratch prefix and checks that a Linux desktop finds what it needs:
# the three programs on PATH, a valid menu entry for each window, and their icons in the hicolor theme.
#   cmake -DBUILD_DIR=... -DPREFIX=... [-DVALIDATE=desktop-file-validate] -P install_test.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc})")
endif()

if(NOT EXISTS ${PREFIX}/bin/kesmaro-cli)
  message(FATAL_ERROR "not installed: bin/kesmaro-cli")
endif()
foreach(program IN ITEMS kesmaro kesmaro-table)
  foreach(file IN ITEMS bin/${program} share/applications/${program}.desktop
                        share/icons/hicolor/16x16/apps/${program}.png share/icons/hicolor/48x48/apps/${program}.png
                        share/icons/hicolor/256x256/apps/${program}.png)
    if(NOT EXISTS ${PREFIX}/${file})
      message(FATAL_ERROR "not installed: ${file}")
    endif()
  endforeach()

  file(READ ${PREFIX}/share/applications/${program}.desktop entry)
  foreach(line IN ITEMS "Exec=${program}" "Icon=${program}")
    string(FIND "${entry}" "\n${line}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${program}.desktop lacks ${line}")
    endif()
  endforeach()
  if(VALIDATE)
    execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/${program}.desktop
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
      message(FATAL_ERROR "desktop-file-validate ${program}.desktop: ${out}")
    endif()
  endif()
endforeach()
string(FIND "${entry}" "\nName=Kesmaro 多值提取\n" at)
if(at EQUAL -1)
  message(FATAL_ERROR "kesmaro-table.desktop is not named Kesmaro 多值提取")
endif()
message(STATUS "installed into ${PREFIX}")
