# tervalin_source_date_epoch(<epoch-var> <origin-var>) sets <epoch-var> to
# the time that the package's files, its changelog and the manual page
# carry (SOURCE_DATE_EPOCH, seconds since 1970 UTC), and <origin-var> to
# where it came from, the first of:
#   1. the environment's SOURCE_DATE_EPOCH, as distributions set it;
#   2. the last commit, when the source folder is the top of a git checkout;
#   3. packaging/source-date-epoch, where `git archive` writes the last
#      commit's time into a tarball of the sources;
#   4. the date of the latest entry of packaging/changelog.in, as Debian's
#      own tools take it.
# The same sources thus give the same package, in any folder and at any time.
function(tervalin_source_date_epoch epoch_var origin_var)
    set(pkg ${PROJECT_SOURCE_DIR}/packaging)
    if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
        set(epoch "$ENV{SOURCE_DATE_EPOCH}")
        set(origin "the environment's SOURCE_DATE_EPOCH")
        if(NOT epoch MATCHES "^[0-9]+$")
            message(FATAL_ERROR "SOURCE_DATE_EPOCH is '${epoch}', not a number of seconds")
        endif()
    endif()

    find_package(Git QUIET)
    if(NOT DEFINED epoch AND GIT_EXECUTABLE)
        execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel
                        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                        RESULT_VARIABLE rc OUTPUT_VARIABLE top ERROR_QUIET
                        OUTPUT_STRIP_TRAILING_WHITESPACE)
        file(REAL_PATH "${PROJECT_SOURCE_DIR}" source)
        if(rc EQUAL 0 AND EXISTS "${top}")
            file(REAL_PATH "${top}" top)
        endif()
        if(rc EQUAL 0 AND top STREQUAL source)
            execute_process(COMMAND ${GIT_EXECUTABLE} log -1 --format=%ct
                            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                            OUTPUT_VARIABLE commit ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
            if(commit MATCHES "^[0-9]+$")
                set(epoch ${commit})
                set(origin "the last commit")
                # A new commit (or any move of HEAD) sets the time afresh.
                execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --path-format=absolute
                                        --git-path logs/HEAD --git-path HEAD
                                WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                                OUTPUT_VARIABLE heads ERROR_QUIET)
                string(REGEX MATCHALL "[^\n]+" heads "${heads}")
                foreach(head IN LISTS heads)
                    if(EXISTS "${head}")
                        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${head}")
                    endif()
                endforeach()
            endif()
        endif()
    endif()

    if(NOT DEFINED epoch)
        file(STRINGS ${pkg}/source-date-epoch archived REGEX "^[0-9]+$")
        if(archived)
            set(epoch ${archived})
            set(origin "packaging/source-date-epoch, the last commit as git archive wrote it")
        endif()
    endif()

    if(NOT DEFINED epoch)
        set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
        list(JOIN months "|" pattern)
        file(STRINGS ${pkg}/changelog.in trailer REGEX "^ -- " LIMIT_COUNT 1)
        if(NOT trailer MATCHES
           "([0-9]+) (${pattern}) ([0-9]+) ([0-9]+):([0-9]+):([0-9]+) ([+-])([0-9][0-9])([0-9][0-9])$")
            message(FATAL_ERROR "No date in the latest entry of ${pkg}/changelog.in: '${trailer}'")
        endif()
        set(d ${CMAKE_MATCH_1})
        list(FIND months ${CMAKE_MATCH_2} m)
        math(EXPR m "${m} + 1")
        set(y ${CMAKE_MATCH_3})
        math(EXPR clock "${CMAKE_MATCH_4} * 3600 + ${CMAKE_MATCH_5} * 60 + ${CMAKE_MATCH_6}
                         - (${CMAKE_MATCH_7}1) * (${CMAKE_MATCH_8} * 3600 + ${CMAKE_MATCH_9} * 60)")
        # Days since 1970-01-01 in the proleptic Gregorian calendar, counted
        # in years that begin on 1 March (so that a leap day ends its year).
        if(m LESS_EQUAL 2)
            math(EXPR y "${y} - 1")
            math(EXPR m "${m} + 9")
        else()
            math(EXPR m "${m} - 3")
        endif()
        math(EXPR days "${y} * 365 + ${y} / 4 - ${y} / 100 + ${y} / 400
                        + (153 * ${m} + 2) / 5 + ${d} - 1 - 719468")
        math(EXPR epoch "${days} * 86400 + ${clock}")
        set(origin "the date of the latest entry of packaging/changelog.in")
    endif()

    set(${epoch_var} ${epoch} PARENT_SCOPE)
    set(${origin_var} "${origin}" PARENT_SCOPE)
endfunction()

# tervalin_source_date(<epoch> <format> <out-var>): <epoch> as string(TIMESTAMP)
# writes it in <format>, in UTC.
function(tervalin_source_date epoch format out)
    if(DEFINED ENV{SOURCE_DATE_EPOCH})
        set(saved "$ENV{SOURCE_DATE_EPOCH}")
    endif()
    set(ENV{SOURCE_DATE_EPOCH} ${epoch})
    string(TIMESTAMP text "${format}" UTC)
    if(DEFINED saved)
        set(ENV{SOURCE_DATE_EPOCH} "${saved}")
    else()
        unset(ENV{SOURCE_DATE_EPOCH})
    endif()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()
