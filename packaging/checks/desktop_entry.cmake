# Validates the installed desktop entry with desktop-file-validate (package
# desktop-file-utils). Errors and warnings fail; hints are only shown.
#   cmake -DDESKTOP_FILE=... -P desktop_entry.cmake
include(${CMAKE_CURRENT_LIST_DIR}/tool.cmake)
need_tool(VALIDATE desktop-file-validate desktop-file-utils)
if(NOT EXISTS "${DESKTOP_FILE}")
    message(FATAL_ERROR "no desktop entry at ${DESKTOP_FILE}")
endif()
execute_process(COMMAND ${VALIDATE} ${DESKTOP_FILE}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR out MATCHES "(error|warning): ")
    message(FATAL_ERROR "desktop-file-validate rejects ${DESKTOP_FILE} (${rc}):\n${out}")
endif()
message(STATUS "Valid desktop entry. ${out}")
