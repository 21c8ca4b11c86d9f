#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the game, the server and the tests need, but only the
# missing ones.
# With --web, those of the browser build and its tests instead: emscripten (the compiler, with its
# prebuilt system libraries, so nothing is fetched at first use), chromium for the browser tests,
# fonttools to cut the fonts down to the characters the game draws, vorbis-tools to compress the
# music for the page, and node with npm.
# Runs apt-get as root, through sudo otherwise. Quiet when everything is already there.
set -euo pipefail

if [ "${1:-}" = "--web" ]; then
    packages=(emscripten chromium python3-fonttools vorbis-tools nodejs npm)
else
    packages=(
        cmake g++ make pkg-config dpkg-dev
        libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libsdl2-image-dev libfontconfig-dev
        libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev
        fonts-dejavu-core fonts-lato
        xvfb xauth xdotool imagemagick x11-utils openbox python3
        clang clang-format libclang-rt-14-dev ninja-build
        lintian appstream desktop-file-utils
        postgresql-15 libpqxx-dev libcpp-httplib-dev libsodium-dev libcurl4-openssl-dev
    )
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        # A node and npm from elsewhere (as on a machine set up for other front-end work) serve
        # as well.
        if { [ "$p" = nodejs ] || [ "$p" = npm ]; } && command -v node >/dev/null &&
            command -v npm >/dev/null; then
            continue
        fi
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
