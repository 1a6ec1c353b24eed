# Run by CPack after installing into its staging directory: drops the compilers' .comment
# sections from the installed programs, as Debian's own packaging does when it strips them.
find_program(TAVIK_OBJCOPY objcopy REQUIRED)
file(GLOB_RECURSE installed LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file IN LISTS installed)
    file(READ "${file}" magic LIMIT 4 HEX)
    if(magic STREQUAL "7f454c46")
        execute_process(COMMAND ${TAVIK_OBJCOPY} --remove-section=.comment "${file}"
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()
endforeach()
