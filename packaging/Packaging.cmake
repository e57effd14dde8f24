# Installing and packaging: `cmake --install` lays out the programs, the help page, the desktop
# entry, the AppStream metadata, the icon, the file types and the manual pages under the prefix;
# `cpack -G DEB` (or `make deb`) turns that tree into murvex_<version>_<arch>.deb.
# The help page installs itself (app/help); the window program finds it in ../share/murvex/help
# relative to its own folder, so any prefix works.
include(GNUInstallDirs)

set(MURVEX_APP_ID nl.murvex.Murvex)
set(MURVEX_PACKAGE_CONTACT "Murvex developers <murvex@example.org>"
    CACHE STRING "Maintainer of the .deb: name and e-mail address")
set(murvex_docdir ${CMAKE_INSTALL_DATADIR}/doc/murvex)
set(murvex_pack ${CMAKE_CURRENT_LIST_DIR})

foreach(program murvex murvex-cli)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
# murvex-cli starts it for render to PNG and picture (cli/PictureProgram.h).
if(TARGET murvex-cli-pictures)
  install(TARGETS murvex-cli-pictures RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/murvex)
endif()
install(FILES ${murvex_pack}/murvex-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(TARGET murvex)
  install(FILES ${murvex_pack}/${MURVEX_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${murvex_pack}/${MURVEX_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${murvex_pack}/murvex-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME ${MURVEX_APP_ID}.xml)
  install(FILES ${PROJECT_SOURCE_DIR}/app/resources/murvex.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
  install(FILES ${murvex_pack}/murvex.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${murvex_pack}/murvex.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# Debian wants the copyright file and a compressed changelog in the package's doc folder, and
# compressed manual pages; gzip -n keeps the package reproducible.
configure_file(${murvex_pack}/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
install(FILES ${murvex_pack}/copyright DESTINATION ${murvex_docdir})
install(CODE "
  set(doc \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${murvex_docdir}\")
  execute_process(COMMAND gzip -9nc \"${CMAKE_BINARY_DIR}/packaging/changelog\"
                  OUTPUT_FILE \"\${doc}/changelog.gz\" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR \"gzip of the changelog failed\")
  endif()
  foreach(name murvex murvex-cli)
    set(page \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/man1/\${name}.1\")
    if(NOT EXISTS \"\${page}\")
      continue()
    endif()
    execute_process(COMMAND gzip -9nf \"\${page}\" RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR \"gzip of \${page} failed\")
    endif()
  endforeach()
")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME murvex)
set(CPACK_PACKAGE_VENDOR "Murvex developers")
set(CPACK_PACKAGE_CONTACT "${MURVEX_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "make hatch pattern files (.pat) for CAD")
# The extended description; CPack puts the summary above it as the synopsis. No line may start
# with a dot.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Murvex writes hatch pattern files, the plain-text fill patterns that CAD
and building-modelling programs read: ten masonry brick bonds computed from
brick dimensions and a rotation, patterns typed line by line (an existing
pattern file can be read back for editing), and free figures drawn with the
mouse in a repeating tile. The command line program murvex-cli makes the
same files without the window.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from dpkg-shlibdeps. fonts-wine brings the faces the window's layout is
# measured for; xdg-utils opens the help page in the browser.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine, xdg-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
