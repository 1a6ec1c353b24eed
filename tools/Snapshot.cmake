# tavik-snapshot: chosen frames of the demo as PNG files.
tavik_executable(tavik-snapshot ${CMAKE_CURRENT_LIST_DIR}/Snapshot.cpp)
target_link_libraries(tavik-snapshot PRIVATE tavik_tool_support)
# Beside tavik and its copy of font.bmp, which the tool falls back to.
set_target_properties(tavik-snapshot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# GCC 12 at -O2 may warn, falsely and not on every build, of an uninitialised std::function
# inside <regex>'s own automaton, which the --out pattern check uses.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(tavik-snapshot PRIVATE -Wno-maybe-uninitialized)
endif()
