# Man pages of the three programs, made at build time from their own --help by help2man, so
# that no command or option can be missing from them. What the help does not say (exit statuses,
# files, environment, examples) comes from packaging/man/PROGRAM.h2m.
if(VORMEX_PACKAGE)
  find_program(HELP2MAN help2man REQUIRED)
else()
  find_program(HELP2MAN help2man)
endif()
if(NOT HELP2MAN)
  message(STATUS "help2man not found: no man pages")
  return()
endif()

set(VORMEX_MAN_SOURCE_DIR ${PROJECT_SOURCE_DIR}/packaging/man)
set(VORMEX_MAN_DIR ${CMAKE_BINARY_DIR}/man)
file(MAKE_DIRECTORY ${VORMEX_MAN_DIR})

# PROGRAM.1.gz from the program's help and packaging/man/PROGRAM.h2m (with INCLUDES before it).
function(vormex_man_page program)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "INCLUDES;OPTIONS")
  set(page ${VORMEX_MAN_DIR}/${program}.1)
  set(includes ${ARG_INCLUDES} ${VORMEX_MAN_SOURCE_DIR}/${program}.h2m)
  list(TRANSFORM includes PREPEND --include=)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${HELP2MAN} --no-info ${ARG_OPTIONS} ${includes} --output=${page} $<TARGET_FILE:${program}>
    COMMAND gzip --best --no-name --force ${page}
    DEPENDS ${program} ${ARG_INCLUDES} ${VORMEX_MAN_SOURCE_DIR}/${program}.h2m
    COMMENT "Man page ${program}(1)"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY VORMEX_MAN_PAGES ${page}.gz)
endfunction()

# vormexctl's global options and every command's synopsis, text and options.
set(vormexctl_sections ${VORMEX_MAN_DIR}/vormexctl-sections.h2m)
add_custom_command(OUTPUT ${vormexctl_sections}
  COMMAND ${VORMEX_MAN_SOURCE_DIR}/vormexctl-sections $<TARGET_FILE:vormexctl> ${vormexctl_sections}
  DEPENDS vormexctl ${VORMEX_MAN_SOURCE_DIR}/vormexctl-sections ${VORMEX_MAN_SOURCE_DIR}/help-to-roff.awk
  VERBATIM)

vormex_man_page(vormexctl INCLUDES ${vormexctl_sections})
vormex_man_page(vormex-printer-sim OPTIONS --version-string=${VORMEX_SHOWN_VERSION})
if(VORMEX_BUILD_GUI)
  vormex_man_page(vormex-setting-tool)
endif()

get_property(pages GLOBAL PROPERTY VORMEX_MAN_PAGES)
add_custom_target(vormex_man_pages ALL DEPENDS ${pages})
install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
