#!/usr/bin/env bash
# Builds SDL2, freetype, SDL2_ttf, SDL2_image and SDL2_mixer for WebAssembly from Debian's own
# source packages, once, into a folder that later builds reuse: emscripten's ports would fetch
# their sources from elsewhere. The system's apt configuration is left alone: the source entries
# live in a private list made from the machine's own sources.
#   build-web-deps.sh OUT   ->  OUT/prefix holds the headers, libraries and CMake files
set -euo pipefail

out="$(mkdir -p "$1" && cd "$1" && pwd)"
prefix="$out/prefix"
stamp="$prefix/.complete"

# The header-only libraries come from the machine's own packages, copied so that no system
# include folder is ever searched by the WebAssembly compiler.
header_only() {
    local package="$1" folder="$2" target="$3"
    mkdir -p "$prefix/include" "$prefix/lib/cmake/$package"
    [ -d "$prefix/include/$folder" ] || cp -r "/usr/include/$folder" "$prefix/include/"
    cat >"$prefix/lib/cmake/$package/${package}Config.cmake" <<CONFIG
if(NOT TARGET $target)
  add_library($target INTERFACE IMPORTED)
  set_target_properties($target PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "\${CMAKE_CURRENT_LIST_DIR}/../../../include")
endif()
CONFIG
}
header_only CLI11 CLI CLI11::CLI11
header_only nlohmann_json nlohmann nlohmann_json::nlohmann_json

[ -f "$stamp" ] && exit 0

export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
jobs="${JOBS:-2}"
src="$out/src"
apt_dir="$out/apt"
mkdir -p "$src" "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$prefix"

# deb-src entries for the machine's own Debian mirrors, in a list only this script reads.
sources="$apt_dir/sources.list"
: >"$sources"
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n 's/^deb \(.*debian.*\)$/deb-src \1/p' "$f" >>"$sources"
done
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS = ""; FS = "\n" }
         /URIs:[^\n]*debian/ {
             uris = ""; suites = ""; comps = ""; signed = ""
             for (i = 1; i <= NF; i++) {
                 if ($i ~ /^URIs:/) uris = substr($i, 6)
                 if ($i ~ /^Suites:/) suites = substr($i, 8)
                 if ($i ~ /^Components:/) comps = substr($i, 12)
                 if ($i ~ /^Signed-By:/) signed = substr($i, 11)
             }
             n = split(suites, s, " ")
             gsub(/^ +/, "", uris); gsub(/^ +/, "", signed)
             for (j = 1; j <= n; j++)
                 printf "deb-src [signed-by=%s] %s %s%s\n", signed, uris, s[j], comps
         }' "$f" >>"$sources"
done
apt_opts=(-o "Dir::Etc::SourceList=$sources" -o "Dir::Etc::SourceParts=/dev/null"
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache::Archives=$apt_dir/archives"
    -o "Debug::NoLocking=1" -o "APT::Sandbox::User=root")

packages=(libsdl2 freetype libsdl2-ttf libsdl2-image libsdl2-mixer)
fetch() {
    local need=0
    for p in "${packages[@]}"; do
        compgen -G "$src/$p-*/" >/dev/null || compgen -G "$src/${p#lib}*/" >/dev/null || need=1
    done
    [ $need -eq 0 ] && return
    echo "Fetching the source packages: ${packages[*]}"
    apt-get "${apt_opts[@]}" update -q >"$apt_dir/update.log" 2>&1 ||
        { cat "$apt_dir/update.log" >&2; exit 1; }
    (cd "$src" && apt-get "${apt_opts[@]}" source -q "${packages[@]}" >"$apt_dir/source.log" 2>&1) ||
        { cat "$apt_dir/source.log" >&2; exit 1; }
}
fetch

# The unpacked folder of a source package: <name>-<upstream version>.
folder() { find "$src" -maxdepth 1 -type d -name "$1-[0-9]*" | sort | tail -n 1; }

cmake_build() {
    local name="$1" dir="$2"
    shift 2
    local b="$out/build/$name"
    [ -f "$b/.installed" ] && return
    echo "Building $name for WebAssembly"
    emcmake cmake -S "$dir" -B "$b" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_FIND_ROOT_PATH="$prefix" -DBUILD_SHARED_LIBS=OFF \
        "$@" >"$out/$name.log" 2>&1 || { tail -n 40 "$out/$name.log" >&2; exit 1; }
    cmake --build "$b" -j"$jobs" >>"$out/$name.log" 2>&1 || { tail -n 40 "$out/$name.log" >&2; exit 1; }
    cmake --install "$b" >>"$out/$name.log" 2>&1 || { tail -n 40 "$out/$name.log" >&2; exit 1; }
    touch "$b/.installed"
}

# No threads: the page runs on the browser's main thread alone, so any static host can serve it.
# Its configure checks, answered ahead for the one compiler and SDL2 that Debian 12 ships.
sdl2="$(folder libsdl2)"
sdl2_checks=()
if [ "$(basename "$sdl2")" = "libsdl2-2.26.5+dfsg" ] &&
    emcc --version 2>/dev/null | head -n 1 | grep -q ' 3\.1\.6 '; then
    sdl2_checks=(-C "$(cd "$(dirname "$0")" && pwd)/web-deps/sdl2-checks.cmake")
fi
cmake_build SDL2 "$sdl2" "${sdl2_checks[@]}" -DSDL_THREADS=OFF -DSDL_SHARED=OFF -DSDL_STATIC=ON \
    -DSDL_TEST=OFF -DSDL_PTHREADS=OFF
cmake_build freetype "$(folder freetype)" -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
cmake_build SDL2_ttf "$(folder libsdl2-ttf)" -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF \
    -DSDL2TTF_SAMPLES=OFF
# The game's pictures are XPM, the only format it needs.
cmake_build SDL2_image "$(folder libsdl2-image)" -DSDL2IMAGE_VENDORED=OFF -DSDL2IMAGE_SAMPLES=OFF \
    -DSDL2IMAGE_DEPS_SHARED=OFF -DSDL2IMAGE_BMP=OFF -DSDL2IMAGE_GIF=OFF -DSDL2IMAGE_JPG=OFF \
    -DSDL2IMAGE_LBM=OFF -DSDL2IMAGE_PCX=OFF -DSDL2IMAGE_PNG=OFF -DSDL2IMAGE_PNM=OFF \
    -DSDL2IMAGE_QOI=OFF -DSDL2IMAGE_SVG=OFF -DSDL2IMAGE_TGA=OFF -DSDL2IMAGE_TIF=OFF \
    -DSDL2IMAGE_WEBP=OFF -DSDL2IMAGE_XCF=OFF -DSDL2IMAGE_XV=OFF -DSDL2IMAGE_AVIF=OFF \
    -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_XPM=ON
# WAV for the music as the desktop ships it and the built-in Ogg Vorbis decoder for a smaller one.
cmake_build SDL2_mixer "$(folder libsdl2-mixer)" -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_DEPS_SHARED=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF \
    -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=STB \
    -DSDL2MIXER_WAVE=ON
touch "$stamp"
