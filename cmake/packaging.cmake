# Installing and packaging Tervalin: the program, its desktop entry, icons,
# software-centre entry, manual page, copyright and changelog
# (`cmake --install`), and a Debian package (`cpack -G DEB` in the build folder).
# The Windows build has its own: cmake/windows.cmake.

include(GNUInstallDirs)

set(TERVALIN_SUMMARY ${PROJECT_DESCRIPTION})
# The software-centre entry's home page and screenshots (the two of docs/,
# published under this address). Left empty, the entry names neither.
set(TERVALIN_URL "" CACHE STRING
    "The program's home page, where docs/screenshot*.png are published (empty: none)")
if(TERVALIN_URL STREQUAL "https://tervalin.example.org")
    # The placeholder that build folders set up before kept in their cache.
    set_property(CACHE TERVALIN_URL PROPERTY VALUE "")
endif()
# Who answers for the Debian package: its Maintainer field and the signature
# of its changelog. The default names the project under a reserved domain
# that no mail reaches (RFC 6761); set a real address where one exists.
set(TERVALIN_MAINTAINER "Tervalin developers <tervalin@tervalin.invalid>" CACHE STRING
    "Name <address> of whoever answers for the Debian package")

set(_pkg_src ${PROJECT_SOURCE_DIR}/packaging)
set(_pkg_out ${PROJECT_BINARY_DIR}/packaging)
set(_icon_svg ${PROJECT_SOURCE_DIR}/src/window/pictures/tervalin.svg)

# A tiny tool that rasterises the vector icon into an opaque picture.
qt_add_executable(tervalin_icon_render ${_pkg_src}/icon_render.cpp)
target_link_libraries(tervalin_icon_render PRIVATE Qt6::Gui Qt6::Svg)

set(_icon_png ${_pkg_out}/${TERVALIN_APP_ID}.png)
add_custom_command(OUTPUT ${_icon_png}
    COMMAND tervalin_icon_render ${_icon_svg} 64 ${_icon_png}
    DEPENDS tervalin_icon_render ${_icon_svg}
    COMMENT "Rendering the 64x64 program icon"
    VERBATIM)
add_custom_target(tervalin_icon ALL DEPENDS ${_icon_png})

configure_file(${_pkg_src}/tervalin.desktop.in ${_pkg_out}/${TERVALIN_APP_ID}.desktop @ONLY)
include(${_pkg_src}/make_metainfo.cmake)
tervalin_metainfo(${_pkg_src}/tervalin.metainfo.xml.in
                  ${_pkg_out}/${TERVALIN_APP_ID}.metainfo.xml "${TERVALIN_URL}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${_pkg_src}/tervalin.metainfo.xml.in)

# Reproducible packages: the packages' files, the changelog and the manual
# page carry one time, SOURCE_DATE_EPOCH (see packaging/source_date.cmake),
# and nothing else of the moment or the folder they are made in.
include(${_pkg_src}/source_date.cmake)
tervalin_source_date_epoch(TERVALIN_SOURCE_DATE_EPOCH _origin)
tervalin_source_date(${TERVALIN_SOURCE_DATE_EPOCH} "%Y-%m-%d" _date)
tervalin_source_date(${TERVALIN_SOURCE_DATE_EPOCH} "%a, %d %b %Y %H:%M:%S +0000" _date_rfc2822)
message(STATUS "Packages carry the time ${TERVALIN_SOURCE_DATE_EPOCH} (${_date_rfc2822}), "
               "from ${_origin}")

# The manual page and the changelog, dated SOURCE_DATE_EPOCH and compressed
# as Debian wants them: at the highest level, without a file name or time
# stamp in the header.
if(UNIX AND NOT APPLE)
    file(READ ${_pkg_src}/tervalin.6 _text)
    string(REGEX REPLACE "\n[.]TH ([^ ]+) ([^ ]+) [^ ]+ " "\n.TH \\1 \\2 ${_date} " _text "${_text}")
    file(CONFIGURE OUTPUT ${_pkg_out}/tervalin.6 CONTENT "${_text}" @ONLY)
    file(READ ${_pkg_src}/changelog.in _text)
    # The latest entry's signature line, " -- name <address>  date".
    string(FIND "${_text}" "\n -- " _at)
    math(EXPR _at "${_at} + 1")
    string(SUBSTRING "${_text}" 0 ${_at} _head)
    string(SUBSTRING "${_text}" ${_at} -1 _text)
    string(FIND "${_text}" "\n" _end)
    string(SUBSTRING "${_text}" 0 ${_end} _line)
    string(SUBSTRING "${_text}" ${_end} -1 _text)
    string(REGEX REPLACE "  .*" "  ${_date_rfc2822}" _line "${_line}")
    string(PREPEND _text "${_head}${_line}")
    file(CONFIGURE OUTPUT ${_pkg_out}/changelog CONTENT "${_text}" @ONLY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                 ${_pkg_src}/tervalin.6 ${_pkg_src}/changelog.in ${_pkg_src}/source-date-epoch)
    foreach(_doc tervalin.6 changelog)
        execute_process(COMMAND gzip -9n INPUT_FILE ${_pkg_out}/${_doc}
                        OUTPUT_FILE ${_pkg_out}/${_doc}.gz COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
endif()

install(TARGETS tervalin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(UNIX AND NOT APPLE)
    install(FILES ${_pkg_out}/${TERVALIN_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${_pkg_out}/${TERVALIN_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${_icon_png}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)
    install(FILES ${_icon_svg}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            RENAME ${TERVALIN_APP_ID}.svg)
    install(FILES ${_pkg_out}/tervalin.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
    install(FILES ${_pkg_src}/copyright ${_pkg_out}/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

# What every package carries.
set(CPACK_PACKAGE_NAME ${TERVALIN_PROGRAM})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tervalin")
set(CPACK_PACKAGE_CONTACT ${TERVALIN_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${TERVALIN_SUMMARY})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Tervalin")
set(CPACK_STRIP_FILES ON)
# Dated SOURCE_DATE_EPOCH, with folders open to all whatever the umask.
configure_file(${_pkg_src}/pre_pack.cmake.in ${_pkg_out}/pre_pack.cmake @ONLY)
list(APPEND CPACK_PRE_BUILD_SCRIPTS ${_pkg_out}/pre_pack.cmake)

# The Debian package (cpack -G DEB). Its library dependencies come from
# dpkg-shlibdeps (package dpkg-dev); the fonts the window asks for are named
# by hand.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(TERVALIN_URL)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TERVALIN_URL})
endif()
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, fonts-dejavu-core")
# On a Wayland desktop the program runs as a native client through this plugin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# The long description, one line of it per line; cpack puts the summary above.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "One window shows a plan view of a small road network. After START a black"
    "vehicle drives a fixed route while a tram and two cars loop; the user types"
    "how many traffic violations it committed and is told whether that is right."
    "Four minutes are allowed for the task.")
include(CPack)

if(BUILD_TESTING)
    set(_check ${_pkg_src}/checks)
    set(_prefix ${PROJECT_BINARY_DIR}/package-check/prefix)

    add_test(NAME package_install
        COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -DPREFIX=${_prefix}
                -DCONFIG=$<CONFIG> -DAPP_ID=${TERVALIN_APP_ID} -DPROGRAM=${TERVALIN_PROGRAM}
                -P ${_check}/install.cmake)
    set_tests_properties(package_install PROPERTIES
        LABELS package FIXTURES_SETUP tervalin_installed TIMEOUT 60)

    add_test(NAME package_desktop_entry_valid
        COMMAND ${CMAKE_COMMAND}
                -DDESKTOP_FILE=${_prefix}/${CMAKE_INSTALL_DATADIR}/applications/${TERVALIN_APP_ID}.desktop
                -P ${_check}/desktop_entry.cmake)
    set_tests_properties(package_desktop_entry_valid PROPERTIES
        LABELS package FIXTURES_REQUIRED tervalin_installed
        SKIP_REGULAR_EXPRESSION "SKIP: " TIMEOUT 60)

    add_test(NAME package_metainfo_valid
        COMMAND ${CMAKE_COMMAND} -DPREFIX=${_prefix} -DWORK=${PROJECT_BINARY_DIR}/package-check
                -DTEMPLATE=${_pkg_src}/tervalin.metainfo.xml.in -DAPP_ID=${TERVALIN_APP_ID}
                -DPROGRAM=${TERVALIN_PROGRAM} -DVERSION=${PROJECT_VERSION}
                -P ${_check}/metainfo.cmake)
    set_tests_properties(package_metainfo_valid PROPERTIES
        LABELS package FIXTURES_REQUIRED tervalin_installed
        SKIP_REGULAR_EXPRESSION "SKIP: " TIMEOUT 60)

    add_test(NAME package_windows_icon_current
        COMMAND ${CMAKE_COMMAND} -DRENDER=$<TARGET_FILE:tervalin_icon_render> -DSVG=${_icon_svg}
                -DICO=${_pkg_src}/tervalin.ico -DWORK=${PROJECT_BINARY_DIR}/package-check
                -P ${_check}/windows_icon.cmake)
    set_tests_properties(package_windows_icon_current PROPERTIES LABELS package TIMEOUT 60)

    add_test(NAME package_deb
        COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -DCONFIG=$<CONFIG>
                -DWORK=${PROJECT_BINARY_DIR}/package-check/deb -DAPP_ID=${TERVALIN_APP_ID}
                -DVERSION=${PROJECT_VERSION} -DEPOCH=${TERVALIN_SOURCE_DATE_EPOCH}
                -DPROGRAM_FILE=$<TARGET_FILE:tervalin> -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
                -DSANITIZE=${TERVALIN_SANITIZE} -P ${_check}/deb.cmake)
    # Two packagings: seconds each on an idle machine, minutes on a crowded one.
    set_tests_properties(package_deb PROPERTIES
        LABELS package SKIP_REGULAR_EXPRESSION "SKIP: " TIMEOUT 600 FIXTURES_SETUP tervalin_deb)

    add_test(NAME package_lintian
        COMMAND ${CMAKE_COMMAND} -DDEB_DIR=${PROJECT_BINARY_DIR}/package-check/deb
                -P ${_check}/lintian.cmake)
    set_tests_properties(package_lintian PROPERTIES
        LABELS package FIXTURES_REQUIRED tervalin_deb SKIP_REGULAR_EXPRESSION "SKIP: "
        TIMEOUT 300)
endif()
