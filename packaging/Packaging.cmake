# Install rules and the Debian package, read at the end of the top-level directory so that
# every target they name (the screensaver's among them) has been defined by then.
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL include
               ${CMAKE_SOURCE_DIR}/packaging/Install.cmake)
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL include
               ${CMAKE_SOURCE_DIR}/packaging/Package.cmake)

# Installing (and so packaging) does not build the whole tree first, tests and tools
# included: build the installed targets (tavik, tavik-saver, tavik-install-files) and then
# install, as scripts/build-package does.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
