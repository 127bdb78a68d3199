# Installation as a desktop application, with GNUInstallDirs: the programs, the desktop entry,
# the AppStream metainfo, the icon in the hicolor theme, manual pages and bash completion: the
# component "desktop", the Debian package tavimor. The Python package is the component
# "python" (python/CMakeLists.txt), the Debian package python3-tavimor.
# Nothing installed reads a file of the source or build tree at run time: the pictures are
# compiled into the programs.
include(GNUInstallDirs)

# The one id of the desktop entry, the metainfo and the icon; src/app/main.cpp gives it to
# QGuiApplication::setDesktopFileName, which Wayland desktops match. X11 desktops match the
# window class instead, the program name: StartupWMClass of the desktop entry.
set(TAVIMOR_APP_ID org.tavimor.Tavimor)
set(TAVIMOR_HOMEPAGE "https://tavimor.org" CACHE STRING "Home page named by the metainfo and the package")
set(TAVIMOR_SCREENSHOT_URL "${TAVIMOR_HOMEPAGE}/docs" CACHE STRING
    "Where the screenshots of docs/ are published, for the metainfo")
set(TAVIMOR_MAINTAINER "The Tavimor developers <developers@tavimor.org>" CACHE STRING
    "Maintainer of the Debian package and its changelog")

set(tavimor_resources ${PROJECT_SOURCE_DIR}/resources)
set(tavimor_generated ${PROJECT_BINARY_DIR}/install)

install(TARGETS tavimor-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)
install(FILES ${tavimor_resources}/completion/tavimor-convert
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT desktop)

# Manual pages: roff with the version and release date filled in, compressed the way Debian
# ships them (no name or time stamp in the gzip header, so the build is reproducible).
set(tavimor_man_pages tavimor-convert)
if(TARGET tavimor)
  list(APPEND tavimor_man_pages tavimor)
endif()
set(tavimor_man_outputs)
foreach(page ${tavimor_man_pages})
  set(roff ${tavimor_generated}/man/${page}.1)
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page}.1.in ${roff} @ONLY)
  add_custom_command(OUTPUT ${roff}.gz
                     COMMAND gzip -9nkf ${roff}
                     DEPENDS ${roff}
                     VERBATIM)
  list(APPEND tavimor_man_outputs ${roff}.gz)
  install(FILES ${roff}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT desktop)
endforeach()
add_custom_target(tavimor_man_pages ALL DEPENDS ${tavimor_man_outputs})

if(TARGET tavimor)
  install(TARGETS tavimor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT desktop)
  install(FILES ${tavimor_resources}/desktop/${TAVIMOR_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT desktop)
  configure_file(${tavimor_resources}/desktop/${TAVIMOR_APP_ID}.metainfo.xml.in
                 ${tavimor_generated}/${TAVIMOR_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${tavimor_generated}/${TAVIMOR_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT desktop)
  # Drawn by resources/make_pictures.py: NxN/apps/<id>.png and scalable/apps/<id>.svg.
  install(DIRECTORY ${tavimor_resources}/desktop/hicolor
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons COMPONENT desktop)
endif()

# The copyright file and a changelog in Debian's format, as every Debian package has them.
execute_process(COMMAND date -u -R -d "${TAVIMOR_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE TAVIMOR_RELEASE_DATE_RFC2822
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(${tavimor_resources}/debian/changelog.in ${tavimor_generated}/changelog @ONLY)
add_custom_command(OUTPUT ${tavimor_generated}/changelog.gz
                   COMMAND gzip -9nkf ${tavimor_generated}/changelog
                   DEPENDS ${tavimor_generated}/changelog
                   VERBATIM)
add_custom_target(tavimor_changelog ALL DEPENDS ${tavimor_generated}/changelog.gz)
# The Python package's metadata beside it, as Python's importlib.metadata reads it: in the
# build tree too, so that the tests see what is installed.
if(TAVIMOR_PYTHON)
  set(dist_info ${PROJECT_BINARY_DIR}/python/tavimor-${PROJECT_VERSION}.dist-info)
  configure_file(${tavimor_resources}/python/METADATA.in ${dist_info}/METADATA @ONLY)
  install(DIRECTORY ${dist_info} DESTINATION ${TAVIMOR_PYTHON_INSTALL_DIR} COMPONENT python)
endif()

# Each package's copyright file and changelog, in its own folder of the documentation.
foreach(component_package desktop:tavimor python:python3-tavimor)
  string(REPLACE ":" ";" pair ${component_package})
  list(GET pair 0 component)
  list(GET pair 1 package)
  if(component STREQUAL "python" AND NOT TAVIMOR_PYTHON)
    continue()
  endif()
  install(FILES ${tavimor_resources}/debian/copyright ${tavimor_generated}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()
