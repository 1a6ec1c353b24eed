# The web tier: the browser build (scripts/build-web) in Debian's headless Chromium, driven by
# puppeteer-core, which scripts/run-tests installs into this build's tests/web folder with
# npm ci from the pinned package-lock.json. page.test.js (node's test runner) drives the page
# as a person would; tavik_web_golden_tests compares snapshot.html's pictures with the native
# references. Included from tests/CMakeLists.txt.
find_program(TAVIK_NODE node)
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog tavik_changelog_head LIMIT_COUNT 1)
string(REGEX REPLACE "^tavik \\(([^)-]*).*" "\\1" tavik_version "${tavik_changelog_head}")
set(TAVIK_WEB_BUILD ${CMAKE_SOURCE_DIR}/out/tavik-${tavik_version}-web
    CACHE PATH "The browser build (scripts/build-web) that the web tier tests")
if(NOT TAVIK_NODE OR NOT TAVIK_BUILD_TOOLS)
    message(STATUS "Tavik: node or the tools missing: the web tier is not built")
    return()
endif()

set(tavik_web_dir ${CMAKE_CURRENT_BINARY_DIR}/web)
configure_file(${CMAKE_CURRENT_LIST_DIR}/package.json ${tavik_web_dir}/package.json COPYONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/package-lock.json ${tavik_web_dir}/package-lock.json
               COPYONLY)
set(tavik_web_environment "NODE_PATH=${tavik_web_dir}/node_modules"
    "TAVIK_WEB_BUILD=${TAVIK_WEB_BUILD}" "TAVIK_TEST_DATA=${CMAKE_SOURCE_DIR}/tests")

tavik_executable(tavik_web_golden_tests
    ${CMAKE_CURRENT_LIST_DIR}/WebGoldenTest.cpp
    ${CMAKE_SOURCE_DIR}/tests/golden/PictureCompare.cpp
    ${CMAKE_SOURCE_DIR}/tests/golden/ToolRun.cpp)
target_include_directories(tavik_web_golden_tests PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(tavik_web_golden_tests PRIVATE tavikdriver GTest::gtest_main)
target_compile_definitions(tavik_web_golden_tests PRIVATE
    TAVIK_NODE="${TAVIK_NODE}"
    TAVIK_WEB_TESTS="${CMAKE_CURRENT_LIST_DIR}"
    TAVIK_SNAPSHOT="$<TARGET_FILE:tavik-snapshot>"
    TAVIK_FONT="${CMAKE_SOURCE_DIR}/data/font.bmp"
    TAVIK_GOLDEN_DIR="${CMAKE_SOURCE_DIR}/tests/golden"
    TAVIK_BUILD_DIR="${CMAKE_BINARY_DIR}")
add_test(NAME tavik_web_golden_tests COMMAND tavik_web_golden_tests)
add_test(NAME tavik_web_page_tests
         COMMAND ${TAVIK_NODE} --test ${CMAKE_CURRENT_LIST_DIR}/page.test.js)
set_tests_properties(tavik_web_golden_tests tavik_web_page_tests PROPERTIES
    LABELS web TIMEOUT 300 ENVIRONMENT "${tavik_web_environment}")
# The live page runs on the real clock (its first message shows for three seconds, the fade-out
# takes three): it runs alone, not beside other tests that load the machine.
set_tests_properties(tavik_web_page_tests PROPERTIES RUN_SERIAL TRUE)
