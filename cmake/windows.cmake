# The Windows build: tervalin.exe carries its icon and version block, and
# `cpack` makes tervalin-<version>-windows-x64.zip holding it with the
# licence texts of everything linked into it, and the Windows Installer
# package tervalin-<version>-windows-x64.msi that installs them
# (scripts/windows.sh builds and packs them). The same sources give the same
# bytes of all three, in any folder and at any time.

set(_pkg_src ${PROJECT_SOURCE_DIR}/packaging)
set(_pkg_out ${PROJECT_BINARY_DIR}/packaging)

# A window program: no console window opens behind it. The .ico is kept in
# the source tree, rendered from the vector icon by the Linux build's
# tervalin_icon_render, so that this build runs no tool of its own; a test
# of the Linux build keeps it in step with the picture.
enable_language(RC)
set_target_properties(tervalin PROPERTIES WIN32_EXECUTABLE ON)
math(EXPR _major "${PROJECT_VERSION_MAJOR}")
math(EXPR _minor "${PROJECT_VERSION_MINOR}")
set(TERVALIN_VERSION_COMMAS "${_major},${_minor},0,0")
set(TERVALIN_SUMMARY ${PROJECT_DESCRIPTION})
set(TERVALIN_ICO ${_pkg_src}/tervalin.ico)
configure_file(${_pkg_src}/tervalin.rc.in ${_pkg_out}/tervalin.rc @ONLY)
target_sources(tervalin PRIVATE ${_pkg_out}/tervalin.rc)
set_source_files_properties(${_pkg_out}/tervalin.rc PROPERTIES OBJECT_DEPENDS ${TERVALIN_ICO})

# No time of the link in the executable's header, so that the same sources
# link the same bytes (nor does it name a folder of the build: see the debug
# prefix maps in CMakeLists.txt).
target_link_options(tervalin PRIVATE -Wl,--no-insert-timestamp)

# The licence texts: Tervalin's, and those that scripts/windows.sh keeps
# beside the Qt it builds (Qt's LGPL-3.0 and the notices of the code that Qt
# and the MinGW-w64 runtime put into the executable).
set(_licences ${QT6_INSTALL_PREFIX}/licenses)
if(NOT EXISTS ${_licences}/THIRD-PARTY-NOTICES.txt)
    message(WARNING "${_licences} holds no licence notices: the ZIP will lack them. "
                    "A Qt built by scripts/windows.sh has them.")
endif()
set(TERVALIN_QT_VERSION ${Qt6_VERSION})
configure_file(${_pkg_src}/windows-readme.txt.in ${_pkg_out}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${_pkg_out}/LICENSE.txt NEWLINE_STYLE CRLF)

# The packages' program is stripped as cpack installs it, and strip writes
# the time into the executable's header unless SOURCE_DATE_EPOCH names one:
# here none, as the linker writes it.
install(CODE "set(ENV{SOURCE_DATE_EPOCH} 0)")
install(TARGETS tervalin RUNTIME DESTINATION .)
install(FILES ${_pkg_out}/README.txt ${_pkg_out}/LICENSE.txt DESTINATION .)
install(DIRECTORY ${_licences}/ DESTINATION licenses OPTIONAL)

# The installed-apps entry's help link: the program's home page, as for the
# software-centre entry of the Linux build. Left empty, the entry has none.
set(TERVALIN_URL "" CACHE STRING "The program's home page (empty: none)")

# Both packages carry one time, SOURCE_DATE_EPOCH, found as for the Debian
# package (packaging/source_date.cmake): the ZIP's members and the MSI's
# files and summary information.
include(${_pkg_src}/source_date.cmake)
tervalin_source_date_epoch(TERVALIN_SOURCE_DATE_EPOCH _origin)
message(STATUS "The Windows packages carry the time ${TERVALIN_SOURCE_DATE_EPOCH}, from ${_origin}")

# cpack stages the files once and packaging/windows_packages.cmake packs
# both: the ZIP, and the MSI, which wixl (Debian package wixl) builds from
# packaging/tervalin.wxs and msitools' library, through Debian's Python,
# dates. The upgrade code stays the same for every version.
find_program(TERVALIN_WIXL wixl)
set(CPACK_EXTERNAL_ENABLE_STAGING ON)
set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${_pkg_src}/windows_packages.cmake)
set(CPACK_TERVALIN_WIXL ${TERVALIN_WIXL})
set(CPACK_TERVALIN_MSI_SOURCE ${_pkg_src}/tervalin.wxs)
set(CPACK_TERVALIN_MSI_ICON ${TERVALIN_ICO})
set(CPACK_TERVALIN_MSI_UPGRADE_CODE 9ADE5DF5-7192-40D5-BF00-061987E73A3C)
set(CPACK_TERVALIN_MSI_PYTHON /usr/bin/python3)
set(CPACK_TERVALIN_MSI_SUMMARY ${_pkg_src}/msi_summary.py)
set(CPACK_TERVALIN_SOURCE_DATE_EPOCH ${TERVALIN_SOURCE_DATE_EPOCH})
set(CPACK_TERVALIN_URL ${TERVALIN_URL})

set(CPACK_GENERATOR External)
set(CPACK_PACKAGE_NAME ${TERVALIN_PROGRAM})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The publisher, as the copyright file names who holds the copyright.
set(CPACK_PACKAGE_VENDOR "Tervalin developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${PROJECT_DESCRIPTION})
set(CPACK_PACKAGE_FILE_NAME ${TERVALIN_PROGRAM}-${PROJECT_VERSION}-windows-x64)
set(CPACK_STRIP_FILES ON)
include(CPack)

if(BUILD_TESTING)
    add_test(NAME package_windows_imports
        COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DEXE=$<TARGET_FILE:tervalin>
                -DWINE_RUN=${PROJECT_SOURCE_DIR}/scripts/wine-run.sh
                -DPREFIX=${PROJECT_BINARY_DIR}/wine-prefix
                -P ${_pkg_src}/checks/windows_imports.cmake)
    set_tests_properties(package_windows_imports PROPERTIES LABELS package TIMEOUT 120)

    # The ZIP and the MSI, packed twice, and an MSI of a higher version for
    # the install tests under Wine (tests/e2e/test_msi.py), which take the
    # packages from package-check/msi.
    math(EXPR _higher "${PROJECT_VERSION_MAJOR} + 1")
    add_test(NAME package_msi
        COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR}
                -DWORK=${PROJECT_BINARY_DIR}/package-check/msi -DVERSION=${PROJECT_VERSION}
                -DHIGHER=${_higher}.00 -DEPOCH=${TERVALIN_SOURCE_DATE_EPOCH}
                -DEXE=$<TARGET_FILE:tervalin> -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
                -DOBJDUMP=${CMAKE_OBJDUMP} -DURL=${TERVALIN_URL} -P ${_pkg_src}/checks/msi.cmake)
    # Four packings: a minute on an idle machine, minutes on a crowded one.
    set_tests_properties(package_msi PROPERTIES
        LABELS package SKIP_REGULAR_EXPRESSION "SKIP: " TIMEOUT 900 FIXTURES_SETUP tervalin_msi)
endif()
