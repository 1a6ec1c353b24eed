# Shared by the run and test commands: installs the Debian packages Tavik needs and
# configures and builds it with CMake.
TAVIK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TAVIK_PACKAGES="build-essential cmake pkg-config freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri \
libgtest-dev libx11-dev libpng-dev libfreetype-dev fonts-dejavu-core xvfb xauth xdotool \
imagemagick x11-utils clang libclang-rt-dev valgrind apitrace xscreensaver"

tavik_install_packages() {
    local missing=()
    local pkg
    for pkg in $TAVIK_PACKAGES; do
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
    cmake -S "$TAVIK_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}
