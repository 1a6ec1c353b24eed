# The Windows installer (scripts/build-installer, called by scripts/build-windows) under Wine,
# in the windows tier. TAVIK_WINDOWS_INSTALLER, in the test's environment or set here, names
# the installer to test; by default the one scripts/build-windows leaves in out/ for the
# version at the top of packaging/changelog.
find_program(TAVIK_WINE wine64 PATHS /usr/lib/wine)
find_program(TAVIK_WINESERVER wineserver PATHS /usr/lib/wine)
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog tavik_changelog_top LIMIT_COUNT 1)
string(REGEX REPLACE "^tavik \\(([^)-]+)-.*" "\\1" tavik_installer_version "${tavik_changelog_top}")
set(TAVIK_WINDOWS_INSTALLER
    ${CMAKE_SOURCE_DIR}/out/tavik-${tavik_installer_version}-win64-setup.exe
    CACHE FILEPATH "The Windows installer that the windows tier installs under Wine")
if(TAVIK_WINE AND TAVIK_WINESERVER)
    tavik_test_program(tavik_installer_tests LABEL windows TIMEOUT 300
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/InstallerWineTest.cpp)
    target_compile_definitions(tavik_installer_tests PRIVATE TAVIK_WINE="${TAVIK_WINE}"
        TAVIK_WINESERVER="${TAVIK_WINESERVER}"
        TAVIK_WINDOWS_INSTALLER="${TAVIK_WINDOWS_INSTALLER}")
else()
    message(STATUS "Tavik: wine64 not found: the installer's test is not built")
endif()
