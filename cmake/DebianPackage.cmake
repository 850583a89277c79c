# The Debian package (scripts/package): bash completion and the package's documents installed in
# their usual places, CPack's DEB generator, and with VORMEX_PACKAGE the checks of the package
# that scripts/test runs (ctest in the package's build folder).
set(VORMEX_PACKAGE_NAME vormex-setting-tool)
set(VORMEX_DOC_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/doc/${VORMEX_PACKAGE_NAME})

# One completion script for both programs; bash-completion loads it by the program's name.
set(completions ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/bash-completion/vormexctl DESTINATION ${completions})
install(CODE "file(CREATE_LINK vormexctl \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${completions}/vormex-printer-sim\" SYMBOLIC)")

set(changelog_gz ${CMAKE_BINARY_DIR}/changelog.Debian.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND gzip --best --no-name --stdout ${VORMEX_CHANGELOG} > ${changelog_gz}
  DEPENDS ${VORMEX_CHANGELOG})
add_custom_target(vormex_changelog ALL DEPENDS ${changelog_gz})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${changelog_gz} DESTINATION ${VORMEX_DOC_INSTALL_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${VORMEX_PACKAGE_NAME})
set(CPACK_PACKAGE_VENDOR "KALDERA ORN")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VORMEX_DEB_REVISION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "VORMEX Setting Tool maintainers <maintainers@vormex-setting-tool.example>"
  CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "settings, parameter files and downloads for VORMEX label printers")
set(CPACK_PACKAGE_DESCRIPTION [=[
The VORMEX Setting Tool sets up label printers that run the VORMEX emulation:
pick a printer model and its interface (LAN, serial, parallel or USB), edit
the system parameters and the initial values and tables, keep them in text or
XML files, read them back from the printer, and download firmware, BASIC
programs, the memory allocation, the parameter files and test files.

This package holds the desktop program vormex-setting-tool, the command-line
tool vormexctl, which does the same from scripts for one printer or many at
once, and the printer simulator vormex-printer-sim.]=])
# Libraries from dpkg-shlibdeps; besides them Qt's Japanese translations (its dialogs speak the
# program's language) and a font with Japanese glyphs. Wayland sessions want Qt's Wayland plugin.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-noto-cjk | fonts-ipafont-gothic | fonts-vlgothic")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)

if(NOT VORMEX_PACKAGE)
  return()
endif()

execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE architecture OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(VORMEX_DEB_FILE ${CMAKE_BINARY_DIR}/${VORMEX_PACKAGE_NAME}_${VORMEX_DEB_VERSION}_${architecture}.deb)

# The checks of the package: lintian and a dpkg install on the package itself, the others on its
# contents unpacked into a scratch root.
enable_testing()
set(checks ${PROJECT_SOURCE_DIR}/tests/package)
set(root ${CMAKE_BINARY_DIR}/package-root)
add_test(NAME package_unpack COMMAND ${checks}/unpack-package ${VORMEX_DEB_FILE} ${root})
set_tests_properties(package_unpack PROPERTIES FIXTURES_SETUP package_root)
add_test(NAME package_lintian COMMAND ${checks}/check-lintian ${VORMEX_DEB_FILE} ${PROJECT_SOURCE_DIR}/packaging/debian/lintian-allowed-tags)
add_test(NAME package_desktop_files COMMAND ${checks}/check-desktop-files ${root})
add_test(NAME package_man_pages COMMAND ${checks}/check-man-pages ${root})
add_test(NAME package_completion COMMAND ${checks}/test-completion ${root})
add_test(NAME package_programs COMMAND ${checks}/test-unpacked-programs ${VORMEX_DEB_FILE} ${root})
add_test(NAME package_install_remove COMMAND ${checks}/test-install-remove ${VORMEX_DEB_FILE})
set_tests_properties(package_install_remove PROPERTIES SKIP_RETURN_CODE 77)
set_tests_properties(package_desktop_files package_man_pages package_completion package_programs
  PROPERTIES FIXTURES_REQUIRED package_root)
