# What desktops and software centres read besides the menu entry and the SVG icon (installed
# with the desktop program): the icon as PNG in the usual hicolor sizes, drawn from the SVG at
# build time, and the AppStream metadata.
if(NOT VORMEX_BUILD_GUI)
  return()
endif()

if(VORMEX_PACKAGE)
  find_program(RSVG_CONVERT rsvg-convert REQUIRED)
else()
  find_program(RSVG_CONVERT rsvg-convert)
endif()
if(RSVG_CONVERT)
  set(icon ${PROJECT_SOURCE_DIR}/resources/icons/vormex-setting-tool.svg)
  set(pngs)
  foreach(size 16 22 24 32 48 64 128 256)
    set(folder ${CMAKE_BINARY_DIR}/icons/${size}x${size})
    add_custom_command(OUTPUT ${folder}/vormex-setting-tool.png
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
      COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${folder}/vormex-setting-tool.png ${icon}
      DEPENDS ${icon}
      VERBATIM)
    list(APPEND pngs ${folder}/vormex-setting-tool.png)
    install(FILES ${folder}/vormex-setting-tool.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(vormex_icons ALL DEPENDS ${pngs})
else()
  message(STATUS "rsvg-convert not found: the icon is installed as SVG only")
endif()

set(VORMEX_RELEASE_VERSION ${PROJECT_VERSION})
set(metainfo com.kaldera_orn.vormex_setting_tool.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/packaging/metainfo/${metainfo}.in ${CMAKE_BINARY_DIR}/${metainfo} @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
