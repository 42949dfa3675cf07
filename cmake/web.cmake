# The web build (Qt for WebAssembly): tervalin.html, the page, beside
# tervalin.js and tervalin.wasm, the program, with the icon it shows; and
# `cpack` makes tervalin-<version>-web.zip, the site as it goes onto a web
# server, with the licence texts and a read-me on publishing it
# (scripts/web.sh does both).

set(_pkg_src ${PROJECT_SOURCE_DIR}/packaging)
set(_pkg_out ${PROJECT_BINARY_DIR}/packaging)

# The page: Qt's variables from its address, the window scaled to fit a small
# screen, the program's end. It replaces the page that Qt writes for a
# program, in the same place, as src/ is configured first.
math(EXPR TERVALIN_CLIENT_WIDTH "11310 / 15")
math(EXPR TERVALIN_CLIENT_HEIGHT "8520 / 15")
set(_site ${PROJECT_BINARY_DIR})
configure_file(${_pkg_src}/web/tervalin.html ${_site}/tervalin.html @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/src/window/pictures/tervalin.svg ${_site}/tervalin.svg COPYONLY)
configure_file(${_pkg_src}/tervalin.ico ${_site}/tervalin.ico COPYONLY)
# Emscripten's download cache would open a database in the browser: the page
# stores nothing.
target_link_options(tervalin PRIVATE -sENVIRONMENT=web -sFETCH_SUPPORT_INDEXEDDB=0)

# The licence texts: Tervalin's, and those that scripts/web.sh keeps beside
# the Qt it builds (Qt's LGPL-3.0 and the notices of the code that Qt and
# Emscripten put into the program, and of the fonts it carries).
set(_licences ${QT6_INSTALL_PREFIX}/licenses)
if(NOT EXISTS ${_licences}/THIRD-PARTY-NOTICES.txt)
    message(WARNING "${_licences} holds no licence notices: the ZIP will lack them. "
                    "A Qt built by scripts/web.sh has them.")
endif()
set(TERVALIN_QT_VERSION ${Qt6_VERSION})
configure_file(${_pkg_src}/web/readme.txt.in ${_pkg_out}/README.txt @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${_pkg_out}/LICENSE.txt COPYONLY)

install(FILES ${_site}/tervalin.html ${_site}/tervalin.js ${_site}/tervalin.wasm
              ${_site}/tervalin.svg ${_site}/tervalin.ico
              ${_pkg_out}/README.txt ${_pkg_out}/LICENSE.txt
        DESTINATION .)
install(DIRECTORY ${_licences}/ DESTINATION licenses OPTIONAL)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${TERVALIN_PROGRAM})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME ${TERVALIN_PROGRAM}-${PROJECT_VERSION}-web)
include(CPack)
