# SPDX-License-Identifier: GPL-3.0-or-later
# Manual pages, the package documents, and the Debian package that `cpack -G DEB` makes from
# everything `cmake --install` installs. Configure with -DCMAKE_INSTALL_PREFIX=/usr for a package
# (tools/build-deb does): the package holds the tree exactly as installed under that prefix, so
# the menu entry names the launcher where the package puts it.

# Debian installs manual pages compressed; -n leaves out the time stamp so that a rebuild of the
# same sources gives the same bytes.
find_program(MFB_GZIP gzip REQUIRED)
set(MFB_MAN_PAGES mfbcalc-cli)
if(MFB_GUI)
    list(APPEND MFB_MAN_PAGES mfbcalc mfbcalc-launch)
endif()
set(MFB_MAN_OUTPUTS)
foreach(page IN LISTS MFB_MAN_PAGES)
    set(source ${PROJECT_SOURCE_DIR}/docs/man/${page}.1)
    set(copy ${PROJECT_BINARY_DIR}/man/${page}.1)
    add_custom_command(OUTPUT ${copy}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
        COMMAND ${MFB_GZIP} -9nf ${copy}
        DEPENDS ${source}
        VERBATIM)
    list(APPEND MFB_MAN_OUTPUTS ${copy}.gz)
endforeach()
add_custom_target(man-pages ALL DEPENDS ${MFB_MAN_OUTPUTS})
install(FILES ${MFB_MAN_OUTPUTS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The licence and the change log, where Debian looks for them.
set(MFB_DEB_MAINTAINER "mfbcalc maintainers <maintainers@users.noreply.c-seed-1f5a7138.example>"
    CACHE STRING "Maintainer of the Debian package, \"Name <address>\"")
# Honours SOURCE_DATE_EPOCH, again for reproducible packages.
string(TIMESTAMP MFB_DEB_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in
    ${PROJECT_BINARY_DIR}/doc/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/doc/changelog.gz
    COMMAND ${MFB_GZIP} -9nkf ${PROJECT_BINARY_DIR}/doc/changelog
    DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog
    VERBATIM)
add_custom_target(package-documents ALL DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog.gz)
install(FILES
    ${CMAKE_CURRENT_LIST_DIR}/debian/copyright
    ${PROJECT_BINARY_DIR}/doc/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mfbcalc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The mfbcalc developers")
set(CPACK_PACKAGE_CONTACT ${MFB_DEB_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "motor, battery and ducted-fan calculator for model aircraft")
set(CPACK_PACKAGE_DESCRIPTION
"mfbcalc compares the electric power trains of ducted-fan model aircraft: pick
a motor and a battery cell type from two text catalogues, one of five fans and
the number of cells in series and in parallel, for up to four options side by
side. It finds the operating point where the fan absorbs the motor's shaft
power and shows pack weight, voltages, current, rpm, power and efficiency, with
charts.

The package holds the window program, the command-line calculator mfbcalc-cli
(one combination, or every combination of the catalogues ranked), and sample
catalogues.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# The installed tree as it is, under its prefix; the install rules write the menu entry with the
# launcher's full path.
set(CPACK_SET_DESTDIR ON)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${MFB_DEB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Qt loads its platform plugins at run time, so no library dependency names them; without one
# the window cannot open.
if(MFB_GUI)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
endif()
include(CPack)
