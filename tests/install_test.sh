#!/usr/bin/env bash
# Installs into a scratch prefix and runs the game from there, then builds the Debian package and
# checks its contents and metadata. Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/prefix" >/dev/null
p="$work/prefix"
for f in bin/sinkaway share/sinkaway/Castor.wav share/sinkaway/newgame32.xpm \
         share/applications/sinkaway.desktop share/man/man6/sinkaway.6; do
    [ -f "$p/$f" ] || fail "not installed: $f"
done
for s in 16 32 64 128 256; do
    icon="$p/share/icons/hicolor/${s}x${s}/apps/sinkaway.png"
    [ -f "$icon" ] || fail "no ${s}px icon"
    if command -v identify >/dev/null; then
        [ "$(identify -format '%wx%h' "$icon")" = "${s}x${s}" ] || fail "icon $s has the wrong size"
    fi
done

# The installed copy runs on its own, from a folder far from the build.
cp -r "$p" "$work/moved"
"$work/moved/bin/sinkaway" --version | grep -q '^sinkaway 1\.' || fail "--version"
lines=$(printf 'click imgNewGame\nadvance 2000\n' |
        "$work/moved/bin/sinkaway" --headless --script - --trace - --seed 4 | wc -l)
[ "$lines" -gt 100 ] || fail "headless run from the installed copy wrote $lines lines"

# The package: computed shared-library dependencies, our files, the games section.
(cd "$build" && cpack -G DEB >/dev/null) || fail "cpack"
deb=$(ls "$build"/package/sinkaway_*.deb | head -n 1)
info=$(dpkg-deb -I "$deb")
grep -q '^ Package: sinkaway' <<<"$info" || fail "package name"
grep -q '^ Section: games' <<<"$info" || fail "section"
if ldd "$p/bin/sinkaway" | grep -q libSDL2-2; then
    grep -E '^ Depends:.*libsdl2-2\.0-0' <<<"$info" >/dev/null || fail "SDL2 dependency not computed"
fi
grep -E '^ Depends:.*libc6' <<<"$info" >/dev/null || fail "libc dependency not computed"
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/sinkaway ./usr/share/sinkaway/Castor.wav ./usr/share/applications/sinkaway.desktop \
         ./usr/share/man/man6/sinkaway.6 ./usr/share/icons/hicolor/256x256/apps/sinkaway.png; do
    grep -q " $f\$" <<<"$contents" || fail "package lacks $f"
done
echo "install and package: ok"
