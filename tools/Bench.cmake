# tavik-bench: frame times of the demo beside an empty frame, and the demo's own allocations
# per frame.
tavik_executable(tavik-bench
    ${CMAKE_CURRENT_LIST_DIR}/Bench.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AllocationCounter.cpp)
target_link_libraries(tavik-bench PRIVATE tavik_tool_support)
# The allocation counter replaces malloc and friends, which a sanitizer also does: it counts
# in builds without one.
if(TAVIK_SANITIZE)
    target_compile_definitions(tavik-bench PRIVATE TAVIK_COUNT_ALLOCATIONS=0)
else()
    target_compile_definitions(tavik-bench PRIVATE TAVIK_COUNT_ALLOCATIONS=1)
endif()
set_target_properties(tavik-bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
