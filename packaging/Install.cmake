# Where an installed Tavik lives, below any prefix (Debian's layout for a demo):
#   games/tavik                    the launcher, which cds into share/tavik
#   libexec/tavik/tavik            the demo itself
#   share/tavik/font.bmp           its one data file
#   libexec/xscreensaver/tavik-saver and share/xscreensaver/config/tavik-saver.xml
#   share/applications, share/metainfo, share/icons, share/man/man6, share/doc/tavik
# Every destination is relative, so `cmake --install build --prefix P` writes only below P,
# and the launcher finds the tree from its own location.
set(TAVIK_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(TAVIK_PACKAGING_BUILD_DIR ${CMAKE_BINARY_DIR}/packaging)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Manual pages are installed gzipped, without a name or time stamp in the gzip header so the
# package's contents depend only on the sources.
find_program(TAVIK_GZIP gzip REQUIRED)
function(tavik_gzip source output)
    add_custom_command(OUTPUT ${output}
        COMMAND ${TAVIK_GZIP} -9n -c ${source} > ${output}
        DEPENDS ${source}
        COMMENT "Compressing ${source}"
        VERBATIM)
endfunction()

set(tavik_man_pages tavik.6)
if(TARGET tavik-saver)
    list(APPEND tavik_man_pages tavik-saver.6)
endif()
set(tavik_compressed)
foreach(page IN LISTS tavik_man_pages)
    tavik_gzip(${CMAKE_SOURCE_DIR}/man/${page} ${TAVIK_PACKAGING_BUILD_DIR}/${page}.gz)
    list(APPEND tavik_compressed ${TAVIK_PACKAGING_BUILD_DIR}/${page}.gz)
endforeach()
tavik_gzip(${TAVIK_PACKAGING_DIR}/changelog ${TAVIK_PACKAGING_BUILD_DIR}/changelog.Debian.gz)
file(MAKE_DIRECTORY ${TAVIK_PACKAGING_BUILD_DIR})
add_custom_target(tavik-install-files ALL
    DEPENDS ${tavik_compressed} ${TAVIK_PACKAGING_BUILD_DIR}/changelog.Debian.gz)

# The demo and its launcher.
install(TARGETS tavik RUNTIME DESTINATION libexec/tavik)
install(PROGRAMS ${TAVIK_PACKAGING_DIR}/tavik.sh DESTINATION games RENAME tavik)
install(FILES ${CMAKE_SOURCE_DIR}/data/font.bmp DESTINATION share/tavik)

# The screensaver, where xscreensaver looks for its hacks and their settings.
if(TARGET tavik-saver)
    install(TARGETS tavik-saver RUNTIME DESTINATION libexec/xscreensaver)
endif()
# Its settings file, once it is there (the glob re-runs CMake when it appears).
file(GLOB tavik_saver_config CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/tavik-saver.xml)
if(TARGET tavik-saver AND tavik_saver_config)
    install(FILES ${tavik_saver_config} DESTINATION share/xscreensaver/config)
endif()

# The release at the top of packaging/changelog: the upstream version and Debian revision
# of its first line, and the date of its trailer line (RFC 2822, as `date -R` writes it) in
# ISO 8601. The package's version and the software centres' release both come from here.
file(STRINGS ${TAVIK_PACKAGING_DIR}/changelog tavik_changelog_top LIMIT_COUNT 1)
if(NOT tavik_changelog_top MATCHES "^tavik \\(([^)-]+)-([^)]+)\\)")
    message(FATAL_ERROR "packaging/changelog: no version on its first line")
endif()
set(TAVIK_RELEASE_VERSION ${CMAKE_MATCH_1})
set(TAVIK_DEBIAN_REVISION ${CMAKE_MATCH_2})
file(STRINGS ${TAVIK_PACKAGING_DIR}/changelog tavik_changelog_trailer REGEX "^ -- " LIMIT_COUNT 1)
if(NOT tavik_changelog_trailer MATCHES ", ([0-9]?[0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    message(FATAL_ERROR "packaging/changelog: no date on the first entry's trailer line")
endif()
set(tavik_day ${CMAKE_MATCH_1})
set(tavik_year ${CMAKE_MATCH_3})
set(tavik_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND tavik_months ${CMAKE_MATCH_2} tavik_month)
if(tavik_month EQUAL -1)
    message(FATAL_ERROR "packaging/changelog: no month called ${CMAKE_MATCH_2}")
endif()
math(EXPR tavik_month "${tavik_month} + 1")
string(REGEX REPLACE "^([0-9])$" "0\\1" tavik_month ${tavik_month})
string(REGEX REPLACE "^([0-9])$" "0\\1" tavik_day ${tavik_day})
set(TAVIK_RELEASE_DATE ${tavik_year}-${tavik_month}-${tavik_day})

# Menu entry and its software-centre entry (AppStream metainfo, whose release is the
# changelog's), icon, manual pages and the font's licence.
install(FILES ${CMAKE_SOURCE_DIR}/data/example.tavik.tavik.desktop DESTINATION share/applications)
configure_file(${CMAKE_SOURCE_DIR}/data/example.tavik.tavik.metainfo.xml.in
               ${TAVIK_PACKAGING_BUILD_DIR}/example.tavik.tavik.metainfo.xml @ONLY)
install(FILES ${TAVIK_PACKAGING_BUILD_DIR}/example.tavik.tavik.metainfo.xml
        DESTINATION share/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/data/tavik.png DESTINATION share/icons/hicolor/256x256/apps)
install(FILES ${tavik_compressed} DESTINATION share/man/man6)
install(FILES ${CMAKE_SOURCE_DIR}/data/font.LICENSE DESTINATION share/doc/tavik)

# Debian's copyright file and changelog, for the package only (see Package.cmake). The
# licence texts in the copyright file are taken from LICENSE (Tavik's own, from its
# permission notice on) and data/font.LICENSE (the font's), in the copyright format's layout:
# lines indented by one space, empty lines as " .".
set(TAVIK_PACKAGE_MAINTAINER "Tavik maintainers <maintainers@users.noreply.c-seed-e78833a9.example>"
    CACHE STRING "Maintainer of the Debian package")
function(tavik_copyright_text file start_pattern output)
    file(READ ${file} text)
    string(REGEX REPLACE "${start_pattern}" "" text "${text}")
    string(STRIP "${text}" text)
    string(REGEX REPLACE "\n\n" "\n.\n" text "${text}")
    string(REPLACE "\n" "\n " text " ${text}")
    set(${output} "${text}" PARENT_SCOPE)
endfunction()
tavik_copyright_text(${CMAKE_SOURCE_DIR}/LICENSE "^Copyright [^\n]*\n" TAVIK_LICENCE_TEXT)
tavik_copyright_text(${CMAKE_SOURCE_DIR}/data/font.LICENSE ".*\nLicense: bitstream-vera\n"
                     TAVIK_FONT_LICENCE_TEXT)
# A change to either licence file configures the copyright file again.
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_SOURCE_DIR}/LICENSE ${CMAKE_SOURCE_DIR}/data/font.LICENSE)
configure_file(${TAVIK_PACKAGING_DIR}/copyright.in ${TAVIK_PACKAGING_BUILD_DIR}/copyright @ONLY)
install(FILES ${TAVIK_PACKAGING_BUILD_DIR}/copyright ${TAVIK_PACKAGING_BUILD_DIR}/changelog.Debian.gz
        DESTINATION share/doc/tavik COMPONENT debian EXCLUDE_FROM_ALL)
