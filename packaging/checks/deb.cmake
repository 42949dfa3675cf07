# Builds the Debian package with cpack and checks its name, version,
# dependencies, contents and changelog, and that it is reproducible: a second
# packaging gives the same bytes, every time in it is EPOCH, the build's
# SOURCE_DATE_EPOCH (whatever the environment says), and the built program
# PROGRAM_FILE names neither SOURCE_DIR nor BUILD_DIR.
#   cmake -DBUILD_DIR=... -DCONFIG=... -DWORK=... -DAPP_ID=... -DVERSION=... -DEPOCH=...
#         -DPROGRAM_FILE=... -DSOURCE_DIR=... -DSANITIZE=... -P deb.cmake
include(${CMAKE_CURRENT_LIST_DIR}/tool.cmake)
need_tool(DPKG_DEB dpkg-deb dpkg)
need_tool(DPKG_SHLIBDEPS dpkg-shlibdeps dpkg-dev)
need_tool(FILE_PROGRAM file file)

file(REMOVE_RECURSE ${WORK})
set(config)
if(CONFIG)
    set(config -C ${CONFIG})
endif()
foreach(dir ${WORK} ${WORK}/again)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=SOURCE_DATE_EPOCH
                            ${CMAKE_CPACK_COMMAND} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake
                            -B ${dir} ${config}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "cpack failed (${rc}):\n${out}")
    endif()
endforeach()
file(GLOB debs ${WORK}/*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "cpack made ${count} packages: ${debs}")
endif()

execute_process(COMMAND dpkg-deb -f ${debs} Package Version Depends Recommends
                OUTPUT_VARIABLE fields RESULT_VARIABLE rc)
execute_process(COMMAND dpkg-deb -c ${debs} OUTPUT_VARIABLE contents)
message(STATUS "${debs}\n${fields}")

set(problems)
get_filename_component(name ${debs} NAME)
if(NOT name MATCHES "^tervalin_${VERSION}_[a-z0-9]+\\.deb$")
    list(APPEND problems "file name ${name}")
endif()
if(NOT fields MATCHES "Package: tervalin\n")
    list(APPEND problems "the package is not named tervalin")
endif()
if(NOT fields MATCHES "Version: ${VERSION}\n")
    list(APPEND problems "the version is not ${VERSION}")
endif()
# The Qt libraries come from dpkg-shlibdeps, the fonts are named by hand.
foreach(dep libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6 libc6 fonts-liberation2
            fonts-dejavu-core)
    if(NOT fields MATCHES "Depends: (.*[ ,])?${dep}[ ,(\n]")
        list(APPEND problems "no dependency on ${dep}")
    endif()
endforeach()
# The Wayland platform plugin, for native Wayland desktops.
if(NOT fields MATCHES "Recommends: (.*[ ,])?qt6-wayland[ ,(\n]")
    list(APPEND problems "it does not recommend qt6-wayland")
endif()
foreach(f ./usr/bin/tervalin ./usr/share/applications/${APP_ID}.desktop
          ./usr/share/metainfo/${APP_ID}.metainfo.xml
          ./usr/share/icons/hicolor/64x64/apps/${APP_ID}.png
          ./usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg
          ./usr/share/man/man6/tervalin.6.gz ./usr/share/doc/tervalin/changelog.gz
          ./usr/share/doc/tervalin/copyright)
    string(REPLACE "." "\\." pattern "${f}")
    if(NOT contents MATCHES " ${pattern}\n")
        list(APPEND problems "${f} is not in the package")
    endif()
endforeach()
# The changelog's latest entry is this version (lintian does not compare them).
execute_process(COMMAND dpkg-deb --fsys-tarfile ${debs}
                COMMAND tar -xOf - ./usr/share/doc/tervalin/changelog.gz
                COMMAND gzip -dc
                OUTPUT_VARIABLE changelog)
if(NOT changelog MATCHES "^tervalin \\(${VERSION}\\) ")
    list(APPEND problems "the changelog's latest entry is not version ${VERSION}")
endif()

# Reproducible: the same bytes again, and EPOCH as the changelog's and the
# manual page's date and as the time of every file in the package.
set(again ${WORK}/again/${name})
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${debs} ${again} RESULT_VARIABLE differs)
if(differs)
    list(APPEND problems "a second packaging of the same build differs: ${again}")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/../source_date.cmake)
tervalin_source_date(${EPOCH} "%a, %d %b %Y %H:%M:%S +0000" signed)
tervalin_source_date(${EPOCH} "%Y-%m-%d" day)
tervalin_source_date(${EPOCH} "%Y-%m-%d %H:%M:%S" stamp)
string(REGEX MATCH "\n -- [^\n]*" signature "${changelog}")
string(REGEX REPLACE ".*  " "" signature "${signature}")
if(NOT signature STREQUAL signed)
    list(APPEND problems "the changelog's latest entry is dated '${signature}', not '${signed}'")
endif()
execute_process(COMMAND dpkg-deb --fsys-tarfile ${debs}
                COMMAND tar -xOf - ./usr/share/man/man6/tervalin.6.gz
                COMMAND gzip -dc
                OUTPUT_VARIABLE page)
if(NOT page MATCHES "\n[.]TH TERVALIN 6 ${day} ")
    list(APPEND problems "the manual page is not dated ${day}")
endif()
# The build id that the package's stripped program keeps hashes the debug
# information, which therefore names no folder of the build. (A sanitizer
# build writes the source paths into the program for its reports.)
if(NOT SANITIZE)
    file(STRINGS ${PROGRAM_FILE} paths REGEX "^/")
    list(JOIN paths "\n" paths)
    foreach(folder IN ITEMS ${SOURCE_DIR} ${BUILD_DIR})
        string(FIND "\n${paths}" "\n${folder}" at)
        if(at GREATER -1)
            list(APPEND problems "${PROGRAM_FILE} names the folder ${folder}")
        endif()
    endforeach()
endif()
set(ENV{TZ} UTC)
foreach(part --ctrl-tarfile --fsys-tarfile)
    execute_process(COMMAND dpkg-deb ${part} ${debs} COMMAND tar -tv --full-time -f -
                    OUTPUT_VARIABLE listing)
    string(REGEX MATCHALL "[^\n]+" entries "${listing}")
    foreach(entry IN LISTS entries)
        if(NOT entry MATCHES " ${stamp} ")
            list(APPEND problems "not dated ${stamp}: ${entry}")
        endif()
    endforeach()
endforeach()
# Only the program and its desktop files: no test or build tool.
string(REGEX MATCHALL "\\./usr/bin/[^\n]+" programs "${contents}")
if(NOT programs STREQUAL "./usr/bin/tervalin")
    list(APPEND problems "programs in the package: ${programs}")
endif()

if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "The package ${debs} is wrong:\n  ${text}\n${contents}")
endif()
