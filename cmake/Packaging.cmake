# Packages made with CPack from what `cmake --install` installs:
# - Windows builds: `cpack` in the build folder makes Kesmaro-<version>-win32.zip (or -win64.zip)
#   with both programs, the guides as text files Notepad opens, and the sample series in a folder
#   of its own;
# - Linux: `cpack -G DEB` makes a Debian package of the programs, the menu entry and the icons,
#   its dependencies found by dpkg-shlibdeps.
# Included after the targets; KESMARO_INSTALL_BINDIR is set before them (see CMakeLists.txt).
set(CPACK_PACKAGE_NAME Kesmaro)
set(CPACK_PACKAGE_VENDOR Kesmaro)
set(CPACK_PACKAGE_CONTACT "Kesmaro developers <dev@kesmaro.invalid>")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_SYSTEM_NAME win32)
  else()
    set(CPACK_SYSTEM_NAME win64)
  endif()

  # The guides, English and Chinese, as Windows text files.
  set(docs)
  foreach(guide IN ITEMS README README.zh-CN)
    set(source ${PROJECT_SOURCE_DIR}/${guide}.md)
    set(text ${CMAKE_BINARY_DIR}/package/${guide}.txt)
    add_custom_command(OUTPUT ${text}
      COMMAND ${CMAKE_COMMAND} -DIN=${source} -DOUT=${text} -P ${PROJECT_SOURCE_DIR}/cmake/WindowsText.cmake
      DEPENDS ${source} ${PROJECT_SOURCE_DIR}/cmake/WindowsText.cmake
      COMMENT "Writing ${guide}.txt for Windows"
      VERBATIM)
    list(APPEND docs ${text})
  endforeach()
  add_custom_target(kesmaro_docs ALL DEPENDS ${docs})
  install(FILES ${docs} DESTINATION .)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/samples/series/ DESTINATION sample-series)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_PACKAGE_NAME kesmaro)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
