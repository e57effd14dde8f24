# cmake -DBUILD_DIR=... -DPREFIX=... -DAPP_ID=... -P CheckInstall.cmake
# Installs BUILD_DIR into an empty PREFIX, checks that the installed files are there, runs the
# installed murvex-cli, and starts the installed window program for a moment.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}")
endif()

set(expected
  bin/murvex
  bin/murvex-cli
  libexec/murvex/murvex-cli-pictures
  share/murvex/help/patroonbestand.html
  share/applications/${APP_ID}.desktop
  share/metainfo/${APP_ID}.metainfo.xml
  share/mime/packages/${APP_ID}.xml
  share/icons/hicolor/32x32/apps/murvex.png
  share/icons/hicolor/scalable/apps/murvex.svg
  share/man/man1/murvex.1.gz
  share/man/man1/murvex-cli.1.gz
  share/doc/murvex/copyright
  share/doc/murvex/changelog.gz)
set(missing "")
foreach(f IN LISTS expected)
  if(NOT EXISTS "${PREFIX}/${f}")
    string(APPEND missing " ${f}")
  endif()
endforeach()
if(missing)
  message(FATAL_ERROR "not installed:${missing}")
endif()

# The desktop entry starts the installed program by name and shows the installed icon.
file(READ "${PREFIX}/share/applications/${APP_ID}.desktop" desktop)
foreach(line "Exec=murvex %f" "Icon=murvex" "MimeType=text/x-hatch-pattern;")
  string(FIND "${desktop}" "\n${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the desktop entry has no line ${line}")
  endif()
endforeach()

execute_process(COMMAND "${PREFIX}/bin/murvex-cli" bonds
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "installed murvex-cli bonds failed (${rc}): ${err}")
endif()
foreach(bond Halfsteensverband Wildverband)
  string(FIND "${out}" "${bond}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "installed murvex-cli bonds does not list ${bond}:\n${out}")
  endif()
endforeach()

# A PNG picture is the picture program's: the installed murvex-cli finds it in the installed tree.
file(WRITE "${PREFIX}/check.pat" "*streep\n0,0,0,0,10\n")
execute_process(COMMAND "${PREFIX}/bin/murvex-cli" render "${PREFIX}/check.pat" --box 0 0 100 100
                        -o "${PREFIX}/check.png" --px 50 --force
                RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS "${PREFIX}/check.png")
  message(FATAL_ERROR "installed murvex-cli render to PNG failed (${rc}): ${err}")
endif()

# The window program has no batch mode: it must still be running when it is stopped after two
# seconds (a missing library or plug-in ends it at once).
execute_process(COMMAND "${PREFIX}/bin/murvex" TIMEOUT 2
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc MATCHES "timeout")
  message(FATAL_ERROR "installed murvex ended before it was stopped (${rc}): ${err}")
endif()
