# Builds the Debian package with cpack and checks its name, version,
# dependencies, contents and changelog.
#   cmake -DBUILD_DIR=... -DCONFIG=... -DWORK=... -DAPP_ID=... -DVERSION=... -P deb.cmake
foreach(tool dpkg-deb dpkg-shlibdeps)
    find_program(have_${tool} ${tool})
    if(NOT have_${tool})
        message("SKIP: ${tool} is not installed (package dpkg-dev)")
        return()
    endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
set(config)
if(CONFIG)
    set(config -C ${CONFIG})
endif()
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake
                        -B ${WORK} ${config}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cpack failed (${rc}):\n${out}")
endif()
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
          ./usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg)
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
# Only the program and its desktop files: no test or build tool.
string(REGEX MATCHALL "\\./usr/bin/[^\n]+" programs "${contents}")
if(NOT programs STREQUAL "./usr/bin/tervalin")
    list(APPEND problems "programs in the package: ${programs}")
endif()

if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "The package ${debs} is wrong:\n  ${text}\n${contents}")
endif()
