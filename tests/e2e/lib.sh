# Shared by the end-to-end tests: a private Xvfb, the game in it, screenshots and pixel checks.
# Source it, then call start_game with the program and its options.

set -euo pipefail

for tool in Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

# In a sanitizer build, LeakSanitizer would blame the X11 GL driver and D-Bus for what they keep
# until SDL unloads them, which makes the report unreadable; memory errors still abort the game.
# Our drawing code's leaks are checked by the screenshot tests, which open no display.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"

WORK=$(mktemp -d)
# The game keeps its best games and settings here, never in the home of whoever runs the tests.
export XDG_DATA_HOME="$WORK/data" XDG_CONFIG_HOME="$WORK/config"
XVFB_PID=""
GAME_PID=""
WID=""
SCALE=2

cleanup() {
    local status=$?
    # A game that exits non-zero must not end the clean-up early and leave Xvfb running.
    set +e
    if [ -n "$GAME_PID" ]; then kill "$GAME_PID" 2>/dev/null; wait "$GAME_PID" 2>/dev/null; fi
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null; wait "$XVFB_PID" 2>/dev/null; fi
    rm -rf "$WORK"
    exit "$status"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$WORK/shot.png" ]; then
        local keep="${TMPDIR:-/tmp}/sinkaway-e2e-$(basename "$0" .sh).png"
        cp "$WORK/shot.png" "$keep" && echo "last screenshot: $keep" >&2
    fi
    [ -f "$WORK/game.err" ] && sed 's/^/game: /' "$WORK/game.err" >&2
    exit 1
}

# Xvfb picks a free display number itself and tells us through a pipe.
start_xvfb() {
    mkfifo "$WORK/display"
    Xvfb -displayfd 7 -screen 0 1280x1024x24 -nolisten tcp 7>"$WORK/display" \
        >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local display=""
    read -r -t 30 display <"$WORK/display" || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    export DISPLAY=":$display"
}

# start_game PROGRAM [OPTIONS...]: the game at scale $SCALE without sound; sets WID. Starts Xvfb
# unless the test did so already.
start_game() {
    [ -n "$XVFB_PID" ] || start_xvfb
    # Every start a first one: the boxes come up ticked, whatever an earlier start of the same
    # test left in the settings.
    rm -rf "$XDG_CONFIG_HOME"
    SDL_AUDIODRIVER="${E2E_AUDIO:-dummy}" "$1" --scale "$SCALE" "${@:2}" >"$WORK/game.out" 2>"$WORK/game.err" &
    GAME_PID=$!
    # Generous: a sanitizer build on a busy machine can take several seconds to open its window.
    WID=$(timeout 40 xdotool search --sync --onlyvisible --name 'Sinkaway' | head -n1) ||
        fail "no window appeared"
    [ -n "$WID" ] || fail "no window appeared"
    # Without a window manager the keyboard follows the pointer: park it over the window.
    xdotool mousemove --window "$WID" 5 200
}

# Pixels at scale 1 (15 twips) times the scale.
px() { echo $(( $1 * SCALE )); }

shot() { import -window "$WID" "$WORK/shot.png"; }

# The colour at (x, y) of the last shot, as RRGGBB.
pixel() { convert "$WORK/shot.png" -format "%[hex:p{$1,$2}]" info: | cut -c1-6; }

# count X Y W H RRGGBB: how many pixels of that exact colour the rectangle holds.
count() {
    convert "$WORK/shot.png" -crop "$3x$4+$1+$2" +repage -alpha off \
        -fill black +opaque "#$5" -fill white -opaque "#$5" \
        -format '%[fx:round(mean*w*h)]' info:
}

# wait_for SECONDS DESCRIPTION COMMAND...: takes shots until the command succeeds.
wait_for() {
    local deadline=$(( $(date +%s%N) + $1 * 1000000000 )) what=$2
    shift 2
    while :; do
        shot
        if "$@"; then return 0; fi
        [ "$(date +%s%N)" -lt "$deadline" ] || fail "timed out waiting for $what"
        sleep 0.05
    done
}

# expect_pixel X Y RRGGBB DESCRIPTION
expect_pixel() {
    local got
    got=$(pixel "$1" "$2")
    [ "$got" = "$3" ] || fail "$4: pixel ($1,$2) is $got, want $3"
}

# expect_some X Y W H RRGGBB MIN DESCRIPTION
expect_some() {
    local n
    n=$(count "$1" "$2" "$3" "$4" "$5")
    [ "$n" -ge "$6" ] || fail "$7: $n pixels of #$5 in $3x$4+$1+$2, want at least $6"
}

# expect_none X Y W H RRGGBB DESCRIPTION
expect_none() {
    local n
    n=$(count "$1" "$2" "$3" "$4" "$5")
    [ "$n" -eq 0 ] || fail "$6: $n pixels of #$5 in $3x$4+$1+$2, want none"
}

has_some() { [ "$(count "$1" "$2" "$3" "$4" "$5")" -ge "$6" ]; }

# click_at X Y: a left click at a point of the window.
click_at() { xdotool mousemove --window "$WID" "$1" "$2" click 1; }

# The game-over screen after a short game: the button back (white upper edge over its black
# face, where a passing bar would show green or its hole), no ball, and both texts in green.
game_over_screen() {
    [ "$(pixel "$(px 150)" "$(px 240)")" = FFFFFF ] &&
        [ "$(pixel "$(px 150)" "$(px 244)")" = 000000 ] &&
        ! has_some 0 0 "$(px 309)" "$(px 388)" FF0000 1 &&
        has_some 0 "$(px 104)" "$(px 309)" "$(px 25)" 00FF00 "$(px 100)" &&
        has_some 0 "$(px 144)" "$(px 309)" "$(px 25)" 00FF00 "$(px 60)"
}
