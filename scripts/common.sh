# Shared by the scripts in this folder: package installation and the build.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# What building and running the calculator needs.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
                libgl-dev libgtest-dev libbenchmark-dev libcli11-dev libboost-dev qt6-translations-l10n
                fonts-arphic-uming)
# What building the Debian package needs (scripts/build-deb).
DEB_PACKAGES=(build-essential dpkg-dev debhelper fakeroot file)

# What the full test run needs on top: sanitizers and the fuzzer, the
# desktop-integration and manual-page checks, packaging, screenshots, the
# generated MicroPython code, the spectrum SVG's validation and rendering.
TEST_PACKAGES=(clang libclang-rt-14-dev llvm desktop-file-utils appstream groff-base man-db
               "${DEB_PACKAGES[@]}" lintian devscripts time xvfb xauth xdotool xclip imagemagick python3
               libxml2-utils librsvg2-bin)

# What cross-building the Windows programs and testing them under Wine needs.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 nsis fonts-wqy-microhei unzip xvfb xauth xdotool xclip
                  python3)

# Installs the Debian packages among "$@" that are not installed yet.
ensure_packages() {
    if ! command -v dpkg-query >/dev/null 2>&1; then
        echo "Not a Debian system: install the equivalents of: $*" >&2
        return 0
    fi
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
}

# configure_and_build PRESET [cmake arguments...]: configures and builds one
# of the configurations in CMakePresets.json (release in build/, sanitize in
# build-sanitize/, windows in build-win/).
configure_and_build() {
    local preset=$1
    shift
    (cd "$ROOT" && cmake --preset "$preset" "$@" >/dev/null && cmake --build --preset "$preset")
}

# run_tests PRESET [ctest arguments...]: runs that configuration's tests
# through ctest.
run_tests() {
    local preset=$1
    shift
    (cd "$ROOT" && ctest --preset "$preset" "$@")
}
