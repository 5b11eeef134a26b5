# Makes the build's package with CPack, unpacks it and checks what a user gets: on Windows the zip
# with the programs, the guides as Windows text and the sample series; on Linux the .deb with
# the programs, the menu entry and the icons, and control fields that name its dependencies.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DSOURCE_DIR=... -P package_test.cmake
cmake_minimum_required(VERSION 3.25)
include(${BUILD_DIR}/CPackConfig.cmake) # the generator, the package's name and version

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    list(JOIN ARGN " " command)
    message(FATAL_ERROR "${command} failed (${rc}):\n${out}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

function(expect_files root)
  foreach(file IN LISTS ARGN)
    if(NOT EXISTS ${root}/${file})
      message(FATAL_ERROR "the package lacks ${file}")
    endif()
  endforeach()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/unpacked)
run(${CMAKE_CPACK_COMMAND} --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR})
file(GLOB packages ${WORK_DIR}/*.zip ${WORK_DIR}/*.deb)
list(LENGTH packages count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one package in ${WORK_DIR}, found: ${packages}")
endif()
set(unpacked ${WORK_DIR}/unpacked)

if(CPACK_GENERATOR STREQUAL "ZIP")
  set(name ${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-${CPACK_SYSTEM_NAME})
  if(NOT packages STREQUAL "${WORK_DIR}/${name}.zip")
    message(FATAL_ERROR "unexpected package name: ${packages}")
  endif()
  run(${CMAKE_COMMAND} -E chdir ${unpacked} ${CMAKE_COMMAND} -E tar xf ${packages})
  set(guides README.txt README.zh-CN.txt)
  file(GLOB samples RELATIVE ${SOURCE_DIR}/samples/series ${SOURCE_DIR}/samples/series/*)
  list(TRANSFORM samples PREPEND sample-series/)
  expect_files(${unpacked}/${name} Kesmaro.exe KesmaroTable.exe kesmaro-cli.exe ${guides} ${samples})
  foreach(guide IN LISTS guides)
    # In hex, a byte a word: file(READ) as text would drop the CRs.
    file(READ ${unpacked}/${name}/${guide} bytes HEX)
    string(REGEX REPLACE "(..)" "\\1 " bytes "${bytes}")
    string(REPLACE "0d 0a " "" bytes "${bytes}")
    if(NOT bytes MATCHES "^ef bb bf " OR bytes MATCHES "(^| )0a ")
      message(FATAL_ERROR "${guide} is not UTF-8 text with a byte-order mark and CR LF line ends")
    endif()
  endforeach()
  # Programs made for the package's word size: the PE machine field, i386 or x86-64.
  foreach(program IN ITEMS Kesmaro.exe KesmaroTable.exe)
    execute_process(COMMAND file ${unpacked}/${name}/${program} OUTPUT_VARIABLE kind)
    if(CPACK_SYSTEM_NAME STREQUAL "win32" AND NOT kind MATCHES "PE32 executable.*Intel 80386" OR
       CPACK_SYSTEM_NAME STREQUAL "win64" AND NOT kind MATCHES "PE32\\+ executable.*x86-64")
      message(FATAL_ERROR "${program} in ${name}.zip is: ${kind}")
    endif()
  endforeach()
else()
  run(dpkg-deb -x ${packages} ${unpacked})
  expect_files(${unpacked} usr/bin/kesmaro usr/bin/kesmaro-table usr/bin/kesmaro-cli
               usr/share/applications/kesmaro.desktop usr/share/applications/kesmaro-table.desktop
               usr/share/icons/hicolor/48x48/apps/kesmaro.png usr/share/icons/hicolor/256x256/apps/kesmaro.png
               usr/share/icons/hicolor/48x48/apps/kesmaro-table.png
               usr/share/icons/hicolor/256x256/apps/kesmaro-table.png)
  run(dpkg --print-architecture)
  string(STRIP "${output}" architecture)
  run(dpkg-deb -I ${packages})
  set(control "${output}")
  foreach(field IN ITEMS "Package: kesmaro" "Version: ${CPACK_PACKAGE_VERSION}" "Architecture: ${architecture}"
                         "Maintainer: ${CPACK_PACKAGE_CONTACT}")
    string(FIND "${control}" " ${field}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "the control fields lack \"${field}\":\n${control}")
    endif()
  endforeach()
  # Found by dpkg-shlibdeps in the programs themselves: the C library and Qt's widgets.
  if(NOT control MATCHES "\n Depends: [^\n]*libc6 \\(>= [^\n]*libqt6widgets6")
    message(FATAL_ERROR "the dependencies do not come from the programs' libraries:\n${control}")
  endif()
endif()
message(STATUS "${packages}: contents as expected")
