# Packs the Windows build with cpack into its ZIP and its MSI twice, the
# second time in another folder, another time zone and with another
# SOURCE_DATE_EPOCH in the environment, and checks:
#  - both packings give the same bytes, and every ZIP member and the MSI's
#    summary are dated EPOCH, the build's SOURCE_DATE_EPOCH;
#  - tervalin.exe, as built and as packed, has no link time and names
#    neither SOURCE_DIR nor BUILD_DIR;
#  - the MSI has a help link exactly when a home page is given, and nothing
#    that the install tests under Wine cannot see: no table of registry
#    values, services, file types, environment variables, custom actions and
#    the like has a row.
# It also packs the MSI as version HIGHER, for the upgrade tests (WORK/higher).
#   cmake -DBUILD_DIR=... -DWORK=... -DVERSION=... -DHIGHER=... -DEPOCH=... -DEXE=...
#         -DSOURCE_DIR=... -DOBJDUMP=... -DURL=... -P msi.cmake
include(${CMAKE_CURRENT_LIST_DIR}/tool.cmake)
need_tool(MSIINFO msiinfo msitools)
need_tool(ZIPINFO zipinfo unzip)
set(ENV{TZ} UTC)
set(name tervalin-${VERSION}-windows-x64)

function(pack dir)
    execute_process(COMMAND ${CMAKE_CPACK_COMMAND} --config ${BUILD_DIR}/CPackConfig.cmake
                            -B ${dir} ${ARGN}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "cpack failed (${rc}):\n${out}")
    endif()
endfunction()
# The rows of a table of the MSI, one a line, without the lines of column
# names, column types and keys that lead them.
function(table msi name var)
    execute_process(COMMAND ${MSIINFO} export ${msi} ${name} OUTPUT_VARIABLE rows
                    COMMAND_ERROR_IS_FATAL ANY)
    string(REPLACE "\r" "" rows "${rows}")
    foreach(header names types keys)
        string(FIND "${rows}" "\n" end)
        math(EXPR end "${end} + 1")
        string(SUBSTRING "${rows}" ${end} -1 rows)
    endforeach()
    set(${var} "${rows}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
pack(${WORK})
set(ENV{SOURCE_DATE_EPOCH} 1)
set(ENV{TZ} Asia/Tokyo)
pack(${WORK}/again)
set(ENV{TZ} UTC)
unset(ENV{SOURCE_DATE_EPOCH})
set(link ${URL})
if(NOT URL)
    set(link https://tervalin.example.org)
    pack(${WORK}/linked -D CPACK_TERVALIN_URL=${link})
endif()
pack(${WORK}/higher -D CPACK_PACKAGE_VERSION=${HIGHER}
     -D CPACK_PACKAGE_FILE_NAME=tervalin-${HIGHER}-windows-x64)

set(problems)
set(msi ${WORK}/${name}.msi)
set(zip ${WORK}/${name}.zip)
foreach(file ${name}.zip ${name}.msi)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/${file}
                            ${WORK}/again/${file}
                    RESULT_VARIABLE differs)
    if(differs)
        list(APPEND problems "a second packing differs: ${WORK}/again/${file}")
    endif()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/../source_date.cmake)
tervalin_source_date(${EPOCH} "%Y%m%d.%H%M%S" stamp)
execute_process(COMMAND ${ZIPINFO} -T ${zip} OUTPUT_VARIABLE listing)
string(REGEX MATCHALL "\n-[^\n]+" members "${listing}")
foreach(member IN LISTS members)
    if(NOT member MATCHES " ${stamp} ")
        list(APPEND problems "ZIP member not dated ${stamp}: ${member}")
    endif()
endforeach()
execute_process(COMMAND date -u -d @${EPOCH} "+%a %b %e %H:%M:%S %Y" OUTPUT_VARIABLE moment
                OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${MSIINFO} suminfo ${msi} OUTPUT_VARIABLE summary)
foreach(field Created "Last saved")
    if(NOT summary MATCHES "\n${field}: ${moment}\n")
        list(APPEND problems "the MSI's summary is not '${field}: ${moment}':\n${summary}")
    endif()
endforeach()

file(ARCHIVE_EXTRACT INPUT ${zip} DESTINATION ${WORK}/unpacked PATTERNS ${name}/tervalin.exe)
foreach(exe ${EXE} ${WORK}/unpacked/${name}/tervalin.exe)
    execute_process(COMMAND ${OBJDUMP} -p ${exe} OUTPUT_VARIABLE dump)
    if(NOT dump MATCHES "\nTime/Date[ \t]+Thu Jan  1 00:00:00 1970\n")
        string(REGEX MATCH "\nTime/Date[^\n]+" stamped "${dump}")
        list(APPEND problems "${exe} carries the time of its link:${stamped}")
    endif()
    file(STRINGS ${exe} texts)
    foreach(folder ${SOURCE_DIR} ${BUILD_DIR})
        string(FIND "${texts}" "${folder}" at)
        if(at GREATER -1)
            list(APPEND problems "${exe} names the folder ${folder}")
        endif()
    endforeach()
endforeach()

table(${msi} Property properties)
if(NOT URL AND properties MATCHES "\nARPHELPLINK\t")
    list(APPEND problems "the MSI has a help link, but no home page is given")
endif()
if(NOT URL)
    table(${WORK}/linked/${name}.msi Property properties)
endif()
if(NOT properties MATCHES "\nARPHELPLINK\t${link}\n")
    list(APPEND problems "the MSI packed with the home page ${link} has no help link to it")
endif()
execute_process(COMMAND ${MSIINFO} tables ${msi} OUTPUT_VARIABLE tables)
string(REGEX MATCHALL "[^\n]+" tables "${tables}")
list(REMOVE_ITEM tables _SummaryInformation _ForceCodepage Property Directory Component File
     Feature FeatureComponents Media MsiFileHash Icon Shortcut Upgrade LaunchCondition
     InstallExecuteSequence InstallUISequence AdminExecuteSequence AdminUISequence
     AdvtExecuteSequence)
foreach(other IN LISTS tables)
    table(${msi} ${other} rows)
    if(NOT rows STREQUAL "")
        list(APPEND problems "the MSI's table ${other} has rows:\n${rows}")
    endif()
endforeach()

if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "The Windows packages in ${WORK} are wrong:\n  ${text}")
endif()
