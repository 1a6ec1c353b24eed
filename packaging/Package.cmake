# The Debian package, built by CPack's DEB generator: `cpack -G DEB` in the build directory,
# or scripts/build-package, which also runs lintian on it. Its version is the one at the top
# of packaging/changelog (read by Install.cmake), which becomes the package's
# changelog.Debian.gz.
set(CPACK_PACKAGE_VERSION ${TAVIK_RELEASE_VERSION})
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TAVIK_DEBIAN_REVISION})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavik)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PRE_BUILD_SCRIPTS ${TAVIK_PACKAGING_DIR}/StripComments.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGE_CONTACT ${TAVIK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${TAVIK_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends comes from the libraries the installed programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(TARGET tavik-saver)
    set(CPACK_DEBIAN_PACKAGE_SUGGESTS xscreensaver)
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "gyroscope rings before a cloud of stars, in OpenGL")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Tavik is a real-time 3-D graphics demo: three solid tori turn against
each other like the rings of a gyroscope in front of a slowly turning cloud
of stars, lit by two coloured spotlights that circle the scene. Forty
random-walk animation channels drive every movement and colour, so the
picture never repeats.
.
It runs full screen and is steered from the keyboard: speeds, camera, field
of view, ring size, tessellation, letterbox, wireframe and points, lights,
stars, pause and hyperspace. Escape fades it out and quits.")
if(TARGET tavik-saver)
    string(APPEND CPACK_DEBIAN_PACKAGE_DESCRIPTION "
.
The package also holds tavik-saver, the same scene as a screensaver for
xscreensaver.")
endif()

# One package holding the default install and the Debian-only files (copyright, changelog).
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL Unspecified debian)

include(CPack)
