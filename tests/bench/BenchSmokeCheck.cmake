# Runs tavik-bench briefly and checks the form of what it reports: the renderer line, one table
# row per case with positive figures and ordered percentiles, no heap allocation in the demo's
# own per-frame code, and a bad option refused.
# Usage: cmake -DBENCH=<tavik-bench> -DFONT=<font.bmp> -P BenchSmokeCheck.cmake
set(cases default tess50 help points hyperspace)

execute_process(COMMAND ${BENCH} --xvfb --font ${FONT} --size 160x120 --frames 5 --warmup 2
                        --preset all
                RESULT_VARIABLE status OUTPUT_VARIABLE table ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "tavik-bench failed (${status}):\n${errors}")
endif()
message("${table}")

if(NOT table MATCHES "renderer: +[^\n]+, [0-9]+ samples per pixel\n")
    message(FATAL_ERROR "no renderer line in the table")
endif()
set(counted NO)
if(table MATCHES "allocations: per frame, counted")
    set(counted YES)
endif()
set(number "([0-9]+\\.[0-9]+)")
foreach(case ${cases})
    # fps, median, p95, p99, empty median, ratio, own and other allocations per frame
    set(row "\n160x120 +${case}")
    foreach(column RANGE 1 8)
        string(APPEND row " +${number}")
    endforeach()
    if(NOT table MATCHES "${row}\n")
        message(FATAL_ERROR "no table row for ${case} at 160x120 with eight figures")
    endif()
    foreach(column RANGE 1 6)
        if(NOT CMAKE_MATCH_${column} GREATER 0)
            message(FATAL_ERROR "${case}: figure ${column} is ${CMAKE_MATCH_${column}}")
        endif()
    endforeach()
    if(CMAKE_MATCH_2 GREATER CMAKE_MATCH_3 OR CMAKE_MATCH_3 GREATER CMAKE_MATCH_4)
        message(FATAL_ERROR "${case}: percentiles out of order: "
                            "${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4}")
    endif()
    if(counted AND NOT CMAKE_MATCH_7 EQUAL 0)
        message(FATAL_ERROR "${case}: the demo's own code allocated ${CMAKE_MATCH_7} times per frame")
    endif()
endforeach()

execute_process(COMMAND ${BENCH} --preset nosuchcase
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 2 OR NOT errors MATCHES "nosuchcase")
    message(FATAL_ERROR "a bad preset gave status ${status}: ${errors}")
endif()
message("tavik-bench smoke test passed")
