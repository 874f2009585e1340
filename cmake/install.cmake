# Installing like a Linux program: the two programs, the data files in share/vorpane (the
# program-folder rule finds them from bin/), the desktop entry, the MIME types of the five document
# types, the icons of the hicolor theme (SVG, and PNG rendered from it at build time) and the
# AppStream metadata. CPack makes a Debian package from the same rules.
include(GNUInstallDirs)

set(_linux ${PROJECT_SOURCE_DIR}/res/linux)
set(VORPANE_ICON_SIZES 16 32 48 64 128 256)
set(VORPANE_APP_ICON vorpane)
set(VORPANE_MIME_ICONS
    application-x-zhaldor-investigator application-x-zhaldor-handout
    text-x-vorpane-sheet-script text-x-vorpane-handout-script text-x-vorpane-script)

install(TARGETS vorpane vorpane-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vorpane
        PATTERN ".*" EXCLUDE)
# The guide lives beside the data: the help window finds it through the program folder.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/doc/guide/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vorpane/guide)
install(FILES ${_linux}/vorpane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_linux}/vorpane-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME vorpane.xml)
install(FILES ${_linux}/com.merrin.Vorpane.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Icons: the SVG as drawn, and PNGs rendered by a small Qt tool.
find_package(Qt6 REQUIRED COMPONENTS Svg)
add_executable(render_icon ${_linux}/render_icon.cpp)
target_link_libraries(render_icon PRIVATE Qt6::Gui Qt6::Svg)
set_target_properties(render_icon PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(_icons ${CMAKE_BINARY_DIR}/icons)
set(_pngs)
function(vorpane_icon name context svg)
  set(_svg ${svg})
  set(_outputs)
  foreach(_size ${VORPANE_ICON_SIZES})
    list(APPEND _outputs ${_icons}/${context}/${_size}x${_size}/${name}.png)
    install(FILES ${_icons}/${context}/${_size}x${_size}/${name}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/${context})
  endforeach()
  add_custom_command(OUTPUT ${_outputs}
    COMMAND $<TARGET_FILE:render_icon> ${_svg} ${_icons}/${context} ${name} ${VORPANE_ICON_SIZES}
    DEPENDS render_icon ${_svg}
    COMMENT "Rendering icon ${name}")
  install(FILES ${_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/${context}
          RENAME ${name}.svg)
  set(_pngs ${_pngs} ${_outputs} PARENT_SCOPE)
endfunction()
# The application's icon is the one its windows show.
vorpane_icon(${VORPANE_APP_ICON} apps ${PROJECT_SOURCE_DIR}/res/icons/vorpane.svg)
foreach(_icon ${VORPANE_MIME_ICONS})
  vorpane_icon(${_icon} mimetypes ${_linux}/icons/${_icon}.svg)
endforeach()
add_custom_target(vorpane_icons ALL DEPENDS ${_pngs})

# The manual pages, and the package's changelog, compressed as Debian wants them: gzip -9n, with
# neither a name nor a time stamp inside, so that the same source gives the same bytes.
find_program(GZIP gzip REQUIRED)
set(_docs ${CMAKE_BINARY_DIR}/docs)
set(_gzipped)
function(vorpane_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_docs}
    COMMAND sh -c "exec \"$0\" -9n -c \"$1\" > \"$2\"" ${GZIP} ${source} ${output}
    DEPENDS ${source}
    COMMENT "Compressing ${source}"
    VERBATIM)
  set(_gzipped ${_gzipped} ${output} PARENT_SCOPE)
endfunction()
foreach(_page vorpane vorpane-cli)
  vorpane_gzip(${PROJECT_SOURCE_DIR}/doc/man/${_page}.1 ${_docs}/${_page}.1.gz)
  install(FILES ${_docs}/${_page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
vorpane_gzip(${PROJECT_SOURCE_DIR}/res/debian/changelog ${_docs}/changelog.Debian.gz)
add_custom_target(vorpane_docs ALL DEPENDS ${_gzipped})
install(FILES ${_docs}/changelog.Debian.gz ${PROJECT_SOURCE_DIR}/res/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vorpane)
install(FILES ${PROJECT_SOURCE_DIR}/res/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME vorpane)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorpane)
set(CPACK_PACKAGE_VENDOR Merrin)
set(CPACK_PACKAGE_CONTACT "Merrin <vorpane@merrin.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor of Zhaldor investigator sheets")
# Lines of at most 80 characters: the package's description shows them as they are (CPack puts
# the summary before them).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Creates investigators of the Zhaldor horror role-playing game with a
rule-driven wizard, shows, edits and prints them on sheets drawn by sheet
scripts, lays out handouts, rolls dice and runs the user's own scripts.
.
Includes vorpane-cli, the headless tool, a guide in Spanish and the manual
pages.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A Debian revision: the package is not native, so its changelog is changelog.Debian.gz.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
# It edits documents (investigators, handouts, scripts) as word processors do: not a game itself.
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: the SVG icon engine, the fonts the sheets ask for, Qt's Spanish dialogs.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-liberation, fonts-comic-neue, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, shared-mime-info, hicolor-icon-theme")
include(CPack)

# The install tree, and the validators of the desktop metadata when they are installed.
add_test(NAME install_tree
  COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DPREFIX=${CMAKE_BINARY_DIR}/install-test
          "-DICON_SIZES=${VORPANE_ICON_SIZES}" "-DMIME_ICONS=${VORPANE_MIME_ICONS}"
          -P ${PROJECT_SOURCE_DIR}/cmake/check_install.cmake)
set_tests_properties(install_tree PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(DESKTOP_FILE_VALIDATE AND APPSTREAMCLI)
  add_test(NAME desktop_metadata
    COMMAND sh -c "\"$0\" \"$2\" && \"$1\" validate --no-net \"$3\""
            ${DESKTOP_FILE_VALIDATE} ${APPSTREAMCLI} ${_linux}/vorpane.desktop
            ${_linux}/com.merrin.Vorpane.metainfo.xml)
else()
  message(STATUS "desktop-file-validate or appstreamcli missing: the desktop metadata test is not run")
endif()

# The manual pages format without a warning and name every option and command of the usage texts.
find_program(MAN_PROGRAM man)
if(MAN_PROGRAM)
  add_test(NAME man_pages
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-man-pages.sh ${PROJECT_SOURCE_DIR}/doc/man ${VORPANE_BIN_DIR})
else()
  message(STATUS "man missing: the manual pages test is not run")
endif()
