# Checks the software-centre entry. appstreamcli (package appstream)
# validates the installed entry together with the desktop entry it launches,
# and the entry as the build writes it without and with TERVALIN_URL: the home
# page and the screenshots are there exactly when an address is given. The id
# and launchable name the installed desktop entry. Errors and warnings fail;
# hints are only shown.
#   cmake -DPREFIX=... -DWORK=... -DTEMPLATE=... -DAPP_ID=... -DPROGRAM=... -DVERSION=...
#         -P metainfo.cmake
include(${CMAKE_CURRENT_LIST_DIR}/tool.cmake)
need_tool(APPSTREAMCLI appstreamcli appstream)
set(metainfo ${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml)
if(NOT EXISTS ${metainfo})
    message(FATAL_ERROR "no software-centre entry at ${metainfo}")
endif()

set(problems)
function(validate what target)
    execute_process(COMMAND ${APPSTREAMCLI} ${what} --no-net --no-color ${target}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    message(STATUS "appstreamcli ${what} ${target}:\n${out}")
    if(NOT rc EQUAL 0 OR out MATCHES "(^|\n)[EW]: ")
        list(APPEND problems "appstreamcli ${what} rejects ${target} (${rc})")
        set(problems ${problems} PARENT_SCOPE)
    endif()
endfunction()

validate(validate ${metainfo})
validate(validate-tree ${PREFIX})

# The entry as written with each setting of TERVALIN_URL (an address that
# no network resolves stands for a real one).
include(${CMAKE_CURRENT_LIST_DIR}/../make_metainfo.cmake)
set(TERVALIN_APP_ID ${APP_ID})
set(TERVALIN_PROGRAM ${PROGRAM})
set(PROJECT_VERSION ${VERSION})
foreach(url IN ITEMS "" "https://tervalin.invalid")
    if(url)
        set(row with-url)
    else()
        set(row without-url)
    endif()
    set(written ${WORK}/${row}/${APP_ID}.metainfo.xml)
    tervalin_metainfo(${TEMPLATE} ${written} "${url}")
    validate(validate ${written})
    file(READ ${written} text)
    if(text MATCHES "@[A-Z_]+@")
        list(APPEND problems "${row}: a name is left unreplaced: ${CMAKE_MATCH_0}")
    endif()
    if(url)
        foreach(tag "<url type=\"homepage\">${url}</url>" "<screenshots>"
                    "<image type=\"source\"[^>]*>${url}/screenshot.png</image>")
            if(NOT text MATCHES "${tag}")
                list(APPEND problems "${row}: no ${tag}")
            endif()
        endforeach()
    elseif(text MATCHES "<url type=|<screenshots>|<image ")
        list(APPEND problems "${row}: a home page or a screenshot, but no address")
    endif()
endforeach()

file(READ ${metainfo} text)
if(NOT text MATCHES "<id>${APP_ID}</id>")
    list(APPEND problems "its id is not ${APP_ID}")
endif()
if(NOT text MATCHES "<launchable type=\"desktop-id\">${APP_ID}\\.desktop</launchable>")
    list(APPEND problems "it launches no ${APP_ID}.desktop")
endif()
if(NOT EXISTS ${PREFIX}/share/applications/${APP_ID}.desktop)
    list(APPEND problems "the desktop entry it launches is not installed")
endif()
if(NOT text MATCHES "<release version=\"1\\.00\"")
    list(APPEND problems "no release 1.00")
endif()
if(NOT text MATCHES "<summary xml:lang=\"ru\">")
    list(APPEND problems "no Russian summary")
endif()

if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "The software-centre entry ${metainfo} is wrong:\n  ${text}")
endif()
