# Runs lintian, Debian's package checker, on the .deb that package_deb made,
# as a distribution's reviewer would: any error or warning fails; the tags
# that are only information are shown.
#   cmake -DDEB_DIR=... -P lintian.cmake
include(${CMAKE_CURRENT_LIST_DIR}/tool.cmake)
need_tool(LINTIAN lintian lintian)
file(GLOB deb ${DEB_DIR}/*.deb)
if(NOT deb)
    message(FATAL_ERROR "no .deb in ${DEB_DIR}")
endif()
execute_process(COMMAND ${LINTIAN} --fail-on error,warning ${deb}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
message(STATUS "lintian ${deb}:\n${out}")
if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)[EW]: ")
    message(FATAL_ERROR "lintian rejects ${deb} (${rc}):\n${out}${err}\n"
                        "lintian-explain-tags <tag> says what a tag means.")
endif()
