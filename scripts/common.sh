# Shared by the run, test and package commands: installs the Debian packages Tavik needs and
# configures and builds it with CMake.
TAVIK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Building and running the demo and the screensaver (run-demo's headless run uses Xvfb and
# ImageMagick's import), and building the Debian package (dpkg-dev comes with
# build-essential).
TAVIK_DEMO_PACKAGES="build-essential cmake pkg-config freeglut3-dev libglu1-mesa-dev \
libgl1-mesa-dri libx11-dev xvfb xauth x11-utils imagemagick"
# Tests, tools, fuzzing, tracing and the package checks, on top of the demo's.
TAVIK_TEST_PACKAGES="libgtest-dev libpng-dev libfreetype-dev fonts-dejavu-core xdotool \
clang clang-format libclang-rt-dev valgrind apitrace xscreensaver lintian desktop-file-utils \
man-db appstream"

# tavik_install_packages [demo]: the demo's packages, or without an argument everything.
tavik_install_packages() {
    local wanted=$TAVIK_DEMO_PACKAGES
    [ "${1:-}" = demo ] || wanted="$wanted $TAVIK_TEST_PACKAGES"
    tavik_install_package_list $wanted
}

# tavik_install_package_list PACKAGE...: installs those of the packages that are missing.
tavik_install_package_list() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Tavik needs these Debian packages; run as root:"
        echo "  apt-get install -y ${missing[*]}"
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# tavik_build <build dir> [extra cmake arguments...]
tavik_build() {
    local dir=$1
    shift
    # cmake's own output is shown: it says what this configuration builds and what it lacks.
    cmake -S "$TAVIK_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$dir" -j "$(nproc)"
}

# The Windows cross build (scripts/build-windows): MinGW-w64, NSIS, zip, dpkg-dev for
# apt-get source, ImageMagick for the icon; Wine to run what it made.
TAVIK_WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix cmake nsis zip dpkg-dev imagemagick"
TAVIK_WINE_PACKAGES="wine64 xvfb xauth xdotool imagemagick"

# tavik_install_windows_packages [wine]
tavik_install_windows_packages() {
    local wanted=$TAVIK_WINDOWS_PACKAGES
    [ "${1:-}" = wine ] && wanted="$wanted $TAVIK_WINE_PACKAGES"
    tavik_install_package_list $wanted
}

# The browser build (scripts/build-web): Debian's Emscripten (with its own clang, binaryen
# and Node.js), CMake and zip. The browser tests add Chromium and Node's packages themselves.
TAVIK_WEB_PACKAGES="emscripten cmake make zip git"

tavik_install_web_packages() {
    tavik_install_package_list $TAVIK_WEB_PACKAGES
}

# The web tier's browser, Debian's Chromium, and Node with npm for its driver (Debian's, unless
# a node and an npm are on the PATH already).
tavik_install_web_test_packages() {
    local wanted=(chromium)
    command -v node >/dev/null || wanted+=(nodejs)
    command -v npm >/dev/null || wanted+=(npm)
    tavik_install_package_list "${wanted[@]}"
}
