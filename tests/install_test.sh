#!/usr/bin/env bash
# Installs into a scratch prefix and runs the game from there, then builds the Debian package and
# checks its contents and metadata, and that lintian, appstreamcli and desktop-file-validate find
# nothing to complain about. Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/prefix" >/dev/null
p="$work/prefix"
metainfo=share/metainfo/invalid.vantrel.sinkaway.metainfo.xml
for f in games/sinkaway share/sinkaway/Castor.wav share/sinkaway/newgame32.xpm \
         share/applications/sinkaway.desktop share/man/man6/sinkaway.6.gz $metainfo \
         share/doc/sinkaway/copyright share/doc/sinkaway/changelog.gz; do
    [ -f "$p/$f" ] || fail "not installed: $f"
done
for s in 16 32 64 128 256; do
    icon="$p/share/icons/hicolor/${s}x${s}/apps/sinkaway.png"
    [ -f "$icon" ] || fail "no ${s}px icon"
    if command -v identify >/dev/null; then
        [ "$(identify -format '%wx%h' "$icon")" = "${s}x${s}" ] || fail "icon $s has the wrong size"
    fi
done

# The installed copy runs on its own, from a folder far from the build, and finds its pictures.
cp -r "$p" "$work/moved"
game="$work/moved/games/sinkaway"
"$game" --version | grep -q '^sinkaway 1\.' || fail "--version"
lines=$(printf 'click imgNewGame\nadvance 2000\n' |
        "$game" --headless --script - --trace - --seed 4 | wc -l)
[ "$lines" -gt 100 ] || fail "headless run from the installed copy wrote $lines lines"
err=$(printf 'advance 100\n' |
      "$game" --headless --script - --screenshot "$work/shot.png" 2>&1 >/dev/null)
[ -z "$err" ] || fail "the moved copy did not find its data: $err"

# The package: computed shared-library dependencies, our files, the games section.
(cd "$build" && cpack -G DEB >/dev/null) || fail "cpack"
deb=$(ls "$build"/package/sinkaway_*.deb | head -n 1)
info=$(dpkg-deb -I "$deb")
grep -q '^ Package: sinkaway' <<<"$info" || fail "package name"
grep -q '^ Section: games' <<<"$info" || fail "section"
if ldd "$p/games/sinkaway" | grep -q libSDL2-2; then
    grep -E '^ Depends:.*libsdl2-2\.0-0' <<<"$info" >/dev/null || fail "SDL2 dependency not computed"
fi
grep -E '^ Depends:.*libc6' <<<"$info" >/dev/null || fail "libc dependency not computed"
contents=$(dpkg-deb -c "$deb")
for f in ./usr/games/sinkaway ./usr/share/sinkaway/Castor.wav \
         ./usr/share/applications/sinkaway.desktop ./usr/share/man/man6/sinkaway.6.gz \
         ./usr/$metainfo ./usr/share/doc/sinkaway/copyright \
         ./usr/share/icons/hicolor/256x256/apps/sinkaway.png; do
    grep -q " $f\$" <<<"$contents" || fail "package lacks $f"
done

# The changelog, the AppStream release and the package name the same version.
version=$(sed -n 's/^ Version: //p' <<<"$info")
dpkg-deb -x "$deb" "$work/root"
r="$work/root/usr"
latest=$(zcat "$r/share/doc/sinkaway/changelog.gz" | sed -n 1p)
[[ $latest == "sinkaway ($version) "* ]] || fail "the changelog's latest entry is not $version"
grep -qF "<release version=\"$version\"" "$r/$metainfo" || fail "no AppStream release $version"

# What a distribution checks: no errors or warnings (informational notes are fine).
for tool in lintian appstreamcli desktop-file-validate; do
    command -v $tool >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done
out=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian: $out"
out=$(appstreamcli validate --no-net "$r/$metainfo" 2>&1) || fail "appstreamcli: $out"
out=$(desktop-file-validate "$r/share/applications/sinkaway.desktop" 2>&1) && [ -z "$out" ] ||
    fail "desktop entry: $out"

# The server's package beside it, when the server is built: its own files only, lintian-clean,
# and nothing of it in the game's.
if [ -f "$build/CPackServerConfig.cmake" ]; then
    (cd "$build" && cpack -G DEB --config CPackServerConfig.cmake >/dev/null) || fail "cpack server"
    sdeb=$(ls "$build"/package/sinkaway-server_*.deb | head -n 1)
    scontents=$(dpkg-deb -c "$sdeb")
    for f in ./usr/bin/sinkaway-server ./usr/lib/systemd/system/sinkaway-server.service \
             ./usr/share/man/man8/sinkaway-server.8.gz ./usr/share/doc/sinkaway-server/copyright; do
        grep -q " $f\$" <<<"$scontents" || fail "server package lacks $f"
    done
    ! grep -q 'sinkaway-server' <<<"$contents" || fail "the game's package holds the server"
    out=$(lintian --fail-on error,warning "$sdeb" 2>&1) || fail "lintian (server): $out"
fi
echo "install and package: ok"
