# Installs the build into PREFIX and checks that the installed tree is complete and that the
# installed tool finds its data beside itself (../share/vorpane).
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE _result OUTPUT_QUIET)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${_result}")
endif()

set(_expected
    bin/vorpane bin/vorpane-cli
    share/vorpane/default.rul share/vorpane/clasica.vis share/vorpane/examples/detective_1890.inv
    share/applications/vorpane.desktop
    share/mime/packages/vorpane.xml
    share/metainfo/com.merrin.Vorpane.metainfo.xml
    share/icons/hicolor/scalable/apps/vorpane.svg
    share/vorpane/guide/index.html share/vorpane/guide/guia.css
    share/man/man1/vorpane.1.gz share/man/man1/vorpane-cli.1.gz
    share/doc/vorpane/copyright share/doc/vorpane/changelog.Debian.gz)
foreach(_size ${ICON_SIZES})
  list(APPEND _expected share/icons/hicolor/${_size}x${_size}/apps/vorpane.png)
  foreach(_icon ${MIME_ICONS})
    list(APPEND _expected share/icons/hicolor/${_size}x${_size}/mimetypes/${_icon}.png)
  endforeach()
endforeach()
foreach(_icon ${MIME_ICONS})
  list(APPEND _expected share/icons/hicolor/scalable/mimetypes/${_icon}.svg)
endforeach()
foreach(_file ${_expected})
  if(NOT EXISTS ${PREFIX}/${_file})
    message(FATAL_ERROR "not installed: ${_file}")
  endif()
endforeach()

# The program folder of the installed tool is share/vorpane.
unset(ENV{VORPANE_DATA})
# An empty user data folder: a user's own files would hide the installed ones.
set(ENV{XDG_DATA_HOME} ${PREFIX}/user-data)
execute_process(COMMAND ${PREFIX}/bin/vorpane-cli rules default.rul
                RESULT_VARIABLE _result OUTPUT_VARIABLE _output ERROR_VARIABLE _output)
if(NOT _result EQUAL 0)
  message(FATAL_ERROR "the installed vorpane-cli does not find its data:\n${_output}")
endif()
file(REMOVE_RECURSE ${PREFIX})
