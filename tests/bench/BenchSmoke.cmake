# Smoke test of tavik-bench: a few frames of every case on a private Xvfb, judged by the
# form of its table (BenchSmokeCheck.cmake), never by its times.
if(NOT TAVIK_BUILD_TOOLS)
    return()
endif()
add_test(NAME tavik_bench_smoke
    COMMAND ${CMAKE_COMMAND}
        -DBENCH=$<TARGET_FILE:tavik-bench>
        -DFONT=${CMAKE_SOURCE_DIR}/data/font.bmp
        -P ${CMAKE_CURRENT_LIST_DIR}/BenchSmokeCheck.cmake)
# Its tier is set with the other tools' tests in tests/CMakeLists.txt.
set_tests_properties(tavik_bench_smoke PROPERTIES TIMEOUT 300)
