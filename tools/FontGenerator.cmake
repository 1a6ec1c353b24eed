# The font generator and the target that rewrites the committed data/font.bmp with it, and
# data/font.versions with the FreeType and font versions it was rendered with:
#   cmake --build <build dir> --target tavik-font
# The generator itself is built with the tools; the image tests run it to check that the
# committed file is exactly what it produces, where the installed versions are the recorded ones.
# tools/CMakeLists.txt has found FreeType already, or stopped.
set(TAVIK_FONT_TTF /usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf
    CACHE FILEPATH "DejaVu Sans Mono Bold, rendered into data/font.bmp")

tavik_executable(tavik-font-generator
    ${CMAKE_CURRENT_LIST_DIR}/FontGenerator.cpp
    ${CMAKE_SOURCE_DIR}/image/BinaryFile.cpp
    ${CMAKE_SOURCE_DIR}/image/RegularFilePosix.cpp)
tavik_include_root(tavik-font-generator image)
target_link_libraries(tavik-font-generator PRIVATE Freetype::Freetype)
target_compile_definitions(tavik-font-generator PRIVATE TAVIK_FONT_TTF="${TAVIK_FONT_TTF}")

add_custom_target(tavik-font
    COMMAND tavik-font-generator ${CMAKE_SOURCE_DIR}/data/font.bmp ${TAVIK_FONT_TTF}
    COMMAND tavik-font-generator --versions ${CMAKE_SOURCE_DIR}/data/font.versions
            ${TAVIK_FONT_TTF}
    COMMENT "Rendering ${TAVIK_FONT_TTF} into data/font.bmp"
    VERBATIM)
