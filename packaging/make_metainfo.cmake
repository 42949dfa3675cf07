# tervalin_metainfo(<template> <output> <url>) writes the software-centre
# entry from its template, with the @...@ names of the caller's scope
# (TERVALIN_APP_ID, TERVALIN_PROGRAM, PROJECT_VERSION). The home page and the
# screenshots are published under <url>; without one the entry names neither,
# rather than pointing at an address that does not exist.
function(tervalin_metainfo template output url)
    file(READ ${template} text)
    string(REGEX REPLACE "/+$" "" url "${url}")
    if(url STREQUAL "")
        string(REGEX REPLACE "  <url type=\"homepage\">.*</screenshots>\n" "" text "${text}")
    endif()
    set(TERVALIN_URL ${url})
    file(CONFIGURE OUTPUT ${output} CONTENT "${text}" @ONLY)
endfunction()
