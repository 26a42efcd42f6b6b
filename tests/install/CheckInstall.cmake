# Installs the build into a temporary prefix and checks that the tree holds what a Linux desktop
# expects: both programs, the desktop entry, the file types, the icon, the AppStream file and the man page;
# the desktop entry and the AppStream file pass their validators, the file types build a MIME database,
# and the installed kazoru-cli computes.
set(prefix "${BUILD}/install-check")
file(REMOVE_RECURSE "${prefix}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${prefix}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(expected
  bin/kazoru-cli
  share/applications/kazoru.desktop
  share/mime/packages/kazoru.xml
  share/icons/hicolor/scalable/apps/kazoru.svg
  share/metainfo/io.github.kazoru.Kazoru.metainfo.xml
  share/man/man1/kazoru-cli.1)
if(WITH_UI)
  list(APPEND expected bin/kazoru)
endif()
foreach(f ${expected})
  if(NOT EXISTS "${prefix}/${f}")
    message(FATAL_ERROR "missing from the install tree: ${f}")
  endif()
endforeach()

find_program(DESKTOP_VALIDATE desktop-file-validate)
if(DESKTOP_VALIDATE)
  execute_process(COMMAND ${DESKTOP_VALIDATE} "${prefix}/share/applications/kazoru.desktop"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
endif()
find_program(APPSTREAMCLI appstreamcli)
if(APPSTREAMCLI)
  execute_process(COMMAND ${APPSTREAMCLI} validate --no-net
                          "${prefix}/share/metainfo/io.github.kazoru.Kazoru.metainfo.xml"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate: ${out}")
  endif()
endif()

# The notebook page's and the result file's types are ones shared-mime-info takes: its database, built in
# the tree, knows each type by the file name's ending, and the desktop entry opens them, several at once.
find_program(UPDATE_MIME update-mime-database)
if(UPDATE_MIME)
  execute_process(COMMAND ${UPDATE_MIME} "${prefix}/share/mime" RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "update-mime-database: ${out}")
  endif()
  file(READ "${prefix}/share/mime/globs2" globs)
  if(NOT globs MATCHES "application/x-kazoru-siki:\\*\\.siki")
    message(FATAL_ERROR "the MIME database does not know *.siki: ${globs}")
  endif()
  if(NOT globs MATCHES "application/x-kazoru-result:\\*\\.kazoru")
    message(FATAL_ERROR "the MIME database does not know *.kazoru: ${globs}")
  endif()
endif()
file(READ "${prefix}/share/applications/kazoru.desktop" entry)
if(NOT entry MATCHES "Exec=kazoru %F" OR NOT entry MATCHES "MimeType=application/x-kazoru-siki;"
   OR NOT entry MATCHES "application/x-kazoru-result;")
  message(FATAL_ERROR "the desktop entry does not open notebook pages and result files: ${entry}")
endif()

execute_process(COMMAND "${prefix}/bin/kazoru-cli" eval 2b1+3b1
                RESULT_VARIABLE rc OUTPUT_VARIABLE out)
string(STRIP "${out}" out)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "6b5")
  message(FATAL_ERROR "installed kazoru-cli eval 2b1+3b1 gave '${out}' (status ${rc})")
endif()
file(REMOVE_RECURSE "${prefix}")
