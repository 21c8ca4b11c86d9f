#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the game and the tests need, but only the missing ones.
# Runs apt-get as root, through sudo otherwise. Quiet when everything is already there.
set -euo pipefail

packages=(
    cmake g++ make pkg-config dpkg-dev
    libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libsdl2-image-dev libfontconfig-dev
    libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev
    fonts-dejavu-core fonts-lato
    xvfb xauth xdotool imagemagick x11-utils openbox python3
    clang clang-format libclang-rt-14-dev ninja-build
    lintian appstream desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
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
