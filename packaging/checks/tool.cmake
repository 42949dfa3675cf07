# need_tool(<var> <program> <package>) finds <program> into <var>. Where it
# is missing, the check that calls it is skipped, or fails when the
# environment sets TERVALIN_REQUIRE_TEST_TOOLS (scripts/test.sh, which
# installs every tool, does).
macro(need_tool var program package)
    find_program(${var} ${program})
    if(NOT ${var})
        if("$ENV{TERVALIN_REQUIRE_TEST_TOOLS}")
            message(FATAL_ERROR "${program} is not installed (package ${package}), "
                                "and TERVALIN_REQUIRE_TEST_TOOLS asks for every test tool")
        endif()
        message("SKIP: ${program} is not installed (package ${package})")
        return()
    endif()
endmacro()
