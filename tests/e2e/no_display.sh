#!/usr/bin/env bash
# Without a display the game says so in one line and exits with status 1, at once, instead of
# drawing where nobody can see it.
set -euo pipefail
program=$1
err=$(mktemp)
trap 'rm -f "$err"' EXIT

check() {
    local what=$1 status=0
    shift
    env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$@" SDL_AUDIODRIVER=dummy \
        timeout 10 "$program" 2>"$err" || status=$?
    [ "$status" -eq 1 ] || { echo "FAIL: $what: exit status $status, want 1"; cat "$err"; exit 1; }
    [ "$(wc -l <"$err")" -eq 1 ] || { echo "FAIL: $what: not one line:"; cat "$err"; exit 1; }
    grep -q '^sinkaway: cannot open a window: .*; is a display available (DISPLAY)?$' "$err" ||
        { echo "FAIL: $what: unexpected message:"; cat "$err"; exit 1; }
}

check "no DISPLAY" -u DISPLAY
# A display name nobody serves.
check "an unreachable DISPLAY" DISPLAY=:65000
echo "PASS"
