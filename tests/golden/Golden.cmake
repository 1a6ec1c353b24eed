# The tools' tests: visual regression against the references in this folder, and the snapshot
# tool's own behaviour, in one program on a private Xvfb. Included from tests/CMakeLists.txt.
# tavik-golden-update rewrites the references from fresh renderings, on purpose only.
if(NOT TAVIK_BUILD_TOOLS)
    return()
endif()

tavik_executable(tavik_golden_tests
    ${CMAKE_CURRENT_LIST_DIR}/GoldenMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/GoldenTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SnapshotToolTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PictureCompare.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ToolRun.cpp)
tavik_include_root(tavik_golden_tests tests)
target_link_libraries(tavik_golden_tests PRIVATE tavik_tool_support GTest::gtest)
target_compile_definitions(tavik_golden_tests PRIVATE
    TAVIK_SNAPSHOT="$<TARGET_FILE:tavik-snapshot>"
    TAVIK_FONT="${CMAKE_SOURCE_DIR}/data/font.bmp"
    TAVIK_GOLDEN_DIR="${CMAKE_CURRENT_LIST_DIR}"
    TAVIK_BUILD_DIR="${CMAKE_BINARY_DIR}")
add_dependencies(tavik_golden_tests tavik-snapshot)
add_test(NAME tavik_golden_tests COMMAND tavik_golden_tests WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(tavik_golden_tests PROPERTIES TIMEOUT 300 LABELS golden)

add_custom_target(tavik-golden-update
    COMMAND ${CMAKE_COMMAND} -E env TAVIK_GOLDEN_UPDATE=1 $<TARGET_FILE:tavik_golden_tests>
            --gtest_filter=GoldenTest.EverySceneMatchesItsReference
    DEPENDS tavik_golden_tests tavik-snapshot
    COMMENT "Rewriting the reference pictures in tests/golden"
    VERBATIM)
