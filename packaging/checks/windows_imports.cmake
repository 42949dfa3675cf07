# tervalin.exe needs no DLL beside it: every DLL it imports is Windows' own,
# one of the system folder's (here Wine's, which has the same) or an API set
# (api-ms-win-*), which Windows maps to its own DLLs.
#   cmake -DOBJDUMP=... -DEXE=... -DWINE_RUN=... -DPREFIX=<Wine prefix> -P windows_imports.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${PREFIX} ${WINE_RUN}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "making the Wine prefix ${PREFIX} failed (${rc})")
endif()
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${dump}")
if(NOT rc EQUAL 0 OR NOT imports)
    message(FATAL_ERROR "${OBJDUMP} -p ${EXE} listed no imports (${rc})")
endif()

file(GLOB system RELATIVE ${PREFIX}/drive_c/windows/system32
     ${PREFIX}/drive_c/windows/system32/*.dll)
string(TOLOWER "${system}" system)
set(foreign)
foreach(import IN LISTS imports)
    string(REPLACE "DLL Name: " "" dll "${import}")
    string(TOLOWER "${dll}" dll)
    if(NOT dll IN_LIST system AND NOT dll MATCHES "^api-ms-win-")
        list(APPEND foreign ${dll})
    endif()
endforeach()
if(foreign)
    message(FATAL_ERROR "${EXE} imports DLLs that Windows does not have: ${foreign}")
endif()
