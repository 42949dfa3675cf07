# The executable's icon for Windows builds is kept in the source tree. This
# renders it afresh from the vector icon and checks that the kept file is
# the same, and that it is one opaque 64x64 picture with 8 bits per pixel.
#   cmake -DRENDER=<tervalin_icon_render> -DSVG=... -DICO=... -DWORK=... -P windows_icon.cmake
file(MAKE_DIRECTORY ${WORK})
set(fresh ${WORK}/tervalin.ico)
execute_process(COMMAND ${RENDER} ${SVG} 64 ${fresh} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "rendering the icon failed (${rc}): ${err}")
endif()

# Directory (6 bytes), then the one entry: width, height, colour count,
# reserved, planes (2 bytes), bits per pixel (2 bytes).
file(READ ${ICO} hex HEX LIMIT 22)
string(SUBSTRING "${hex}" 0 12 directory)
string(SUBSTRING "${hex}" 12 4 size)
string(SUBSTRING "${hex}" 24 4 bits)
if(NOT directory STREQUAL "000001000100")
    message(FATAL_ERROR "${ICO} is not an icon file with one picture (${directory})")
endif()
if(NOT size STREQUAL "4040" OR NOT bits STREQUAL "0800")
    message(FATAL_ERROR "${ICO} is not 64x64 at 8 bits per pixel (size ${size}, bits ${bits})")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${ICO} ${fresh} RESULT_VARIABLE differs)
if(differs)
    message(FATAL_ERROR "${ICO} no longer matches ${SVG}; refresh it with\n"
                        "  ${RENDER} ${SVG} 64 ${ICO}")
endif()
