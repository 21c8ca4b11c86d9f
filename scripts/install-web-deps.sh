#!/usr/bin/env bash
# Installs what the browser build and its tests need, but only what is missing: emscripten (the
# compiler, with its prebuilt system libraries, so nothing is fetched at first use), chromium for
# the browser tests, fonttools to cut the fonts down to the characters the game draws, and the
# node packages pinned in tests/web/package-lock.json.
# Runs apt-get as root, through sudo otherwise. Quiet when everything is already there.
set -euo pipefail

packages=(emscripten chromium python3-fonttools nodejs npm)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
# A node and npm from elsewhere (as on a machine set up for other front-end work) serve as well.
if command -v node >/dev/null && command -v npm >/dev/null; then
    filtered=()
    for p in "${missing[@]}"; do
        [ "$p" = nodejs ] || [ "$p" = npm ] || filtered+=("$p")
    done
    missing=("${filtered[@]+"${filtered[@]}"}")
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "need root or sudo to install: ${missing[*]}" >&2; exit 1; }
        sudo="sudo"
    fi
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The browser tests' node packages, exactly as the lock file pins them, again whenever it changes.
web="$(cd "$(dirname "$0")/../tests/web" && pwd)"
if [ ! -f "$web/node_modules/.package-lock.json" ] ||
    [ "$web/package-lock.json" -nt "$web/node_modules/.package-lock.json" ]; then
    (cd "$web" && npm ci --no-audit --no-fund --loglevel=error)
fi
