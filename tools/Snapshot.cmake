# tavik-snapshot, and the code it shares with tavik-bench: the demo driven frame by frame in a
# real GLUT window (DemoRunner) and PNG files through libpng (PngWriter).
include_guard(GLOBAL)
find_package(PNG)
find_package(X11)

if(NOT PNG_FOUND OR NOT X11_FOUND)
    message(STATUS "libpng or Xlib not found: tavik-snapshot and tavik-bench are not built")
    return()
endif()

add_library(tavik_tool_support STATIC
    ${CMAKE_CURRENT_LIST_DIR}/DemoRunner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PngWriter.cpp
    # A private Xvfb server for --xvfb, the same one the tests use.
    ${CMAKE_SOURCE_DIR}/tests/support/VirtualDisplay.cpp)
target_include_directories(tavik_tool_support PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tavik_tool_support PUBLIC tavikcore PNG::PNG X11::X11)

add_executable(tavik-snapshot ${CMAKE_CURRENT_LIST_DIR}/Snapshot.cpp)
target_link_libraries(tavik-snapshot PRIVATE tavik_tool_support)
# Beside tavik and its copy of font.bmp, which the tool falls back to.
set_target_properties(tavik-snapshot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
