# Installs the build into a scratch prefix and checks that a Linux desktop finds what it needs:
# the two programs on PATH, a valid menu entry, and the icon in the hicolor theme.
#   cmake -DBUILD_DIR=... -DPREFIX=... [-DVALIDATE=desktop-file-validate] -P install_test.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc})")
endif()

foreach(file IN ITEMS bin/kesmaro bin/kesmaro-cli share/applications/kesmaro.desktop
                      share/icons/hicolor/16x16/apps/kesmaro.png share/icons/hicolor/48x48/apps/kesmaro.png
                      share/icons/hicolor/256x256/apps/kesmaro.png)
  if(NOT EXISTS ${PREFIX}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

file(READ ${PREFIX}/share/applications/kesmaro.desktop entry)
foreach(line IN ITEMS "Exec=kesmaro" "Icon=kesmaro")
  string(FIND "${entry}" "\n${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "kesmaro.desktop lacks ${line}")
  endif()
endforeach()
if(VALIDATE)
  execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/kesmaro.desktop
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
endif()
message(STATUS "installed into ${PREFIX}")
