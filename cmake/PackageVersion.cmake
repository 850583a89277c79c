# The package's version and release date. The version is the project's in Debian's form
# (1.5.0-1: the programs show 001.005); the newest entry of packaging/debian/changelog must name
# it, and its date is the release date.
set(VORMEX_DEB_REVISION 1)
set(VORMEX_DEB_VERSION ${PROJECT_VERSION}-${VORMEX_DEB_REVISION})
set(VORMEX_CHANGELOG ${PROJECT_SOURCE_DIR}/packaging/debian/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VORMEX_CHANGELOG})

file(STRINGS ${VORMEX_CHANGELOG} changelog_head LIMIT_COUNT 1)
file(STRINGS ${VORMEX_CHANGELOG} changelog_signature REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX MATCH "\\(([^)]+)\\)" _ "${changelog_head}")
set(changelog_version ${CMAKE_MATCH_1})
if(NOT changelog_version STREQUAL VORMEX_DEB_VERSION)
  set(problem "packaging/debian/changelog: its newest entry is ${changelog_version}, the package is ${VORMEX_DEB_VERSION}: add an entry")
  if(VORMEX_PACKAGE)
    message(FATAL_ERROR "${problem}")
  endif()
  message(WARNING "${problem}")
endif()

# " -- NAME <MAIL>  Thu, 10 Dec 2026 19:03:25 +0000" gives 2026-12-10.
string(REGEX MATCH ", ([0-9]+) ([A-Z][a-z][a-z]) ([0-9]+) " _ "${changelog_signature}")
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months "${CMAKE_MATCH_2}" month)
math(EXPR month "${month} + 101")
math(EXPR day "${CMAKE_MATCH_1} + 100")
string(SUBSTRING ${month} 1 2 month)
string(SUBSTRING ${day} 1 2 day)
set(VORMEX_RELEASE_DATE ${CMAKE_MATCH_3}-${month}-${day})

# The version as the programs show it ("001.005"), for the one program without --version.
math(EXPR major "${PROJECT_VERSION_MAJOR} + 1000")
math(EXPR minor "${PROJECT_VERSION_MINOR} + 1000")
string(SUBSTRING ${major} 1 3 major)
string(SUBSTRING ${minor} 1 3 minor)
set(VORMEX_SHOWN_VERSION ${major}.${minor})
