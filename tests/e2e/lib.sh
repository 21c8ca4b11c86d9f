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
OTHER_PIDS=()  # other programs a test starts in the X server (window manager, other windows)
WID=""
SCALE=2

cleanup() {
    local status=$? pid
    # A game that exits non-zero must not end the clean-up early and leave Xvfb running.
    set +e
    # A game that does not end on TERM within 5 s is stuck: its threads' stacks say where, and
    # KILL ends it, so that the test fails now rather than at CTest's time limit.
    if [ -n "$GAME_PID" ]; then
        kill "$GAME_PID" 2>/dev/null
        for _ in $(seq 50); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
        if kill -0 "$GAME_PID" 2>/dev/null; then
            echo "the game did not end on TERM; its threads:" >&2
            command -v gdb >/dev/null &&
                gdb -p "$GAME_PID" -batch -ex 'thread apply all bt' 2>/dev/null | grep '^#\|^Thread' >&2
            kill -KILL "$GAME_PID" 2>/dev/null
        fi
        wait "$GAME_PID" 2>/dev/null
    fi
    for pid in "${OTHER_PIDS[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done
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
    [ -s "$WORK/wm.log" ] && sed 's/^/window manager: /' "$WORK/wm.log" >&2
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

# start_game PROGRAM [OPTIONS...]: the game at scale $SCALE without sound; sets WID once its window
# is on the screen. Starts Xvfb unless the test did so already.
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

# counts X Y W H RRGGBB [X Y W H RRGGBB...]: how many pixels of that exact colour each rectangle of
# the last shot holds, on one line. One program for them all: on a busy machine starting it costs
# more than the counting, and a game lasts about a second.
counts() {
    local args=()
    while [ $# -ge 5 ]; do
        args+=('(' +clone -crop "$3x$4+$1+$2" +repage -alpha off -fill black +opaque "#$5"
            -fill white -opaque "#$5" -format '%[fx:round(mean*w*h)] ' -write info: +delete ')')
        shift 5
    done
    convert "$WORK/shot.png" "${args[@]}" null:
}

# count X Y W H RRGGBB: how many pixels of that exact colour the rectangle holds.
count() { counts "$@" | tr -d ' '; }

# The waits: each tries what it waits for every 50 ms and fails the test after a generous bound,
# so that a busy machine costs time, never a failure. The only fixed times left in the tests are
# the player's own (how long a key is held, how long a game runs between two presses) and the
# length of a measurement.
WAIT=20

# until_ok SECONDS DESCRIPTION COMMAND...: until the command succeeds.
until_ok() {
    local deadline=$(( $(date +%s%N) + $1 * 1000000000 )) what=$2
    shift 2
    until "$@"; do
        [ "$(date +%s%N)" -lt "$deadline" ] || fail "timed out waiting for $what"
        sleep 0.05
    done
}

# wait_for SECONDS DESCRIPTION COMMAND...: takes shots until the command succeeds on one.
wait_for() { until_ok "$1" "$2" shot_then "${@:3}"; }
shot_then() { shot && "$@"; }

# wait_for_pixel X Y RRGGBB DESCRIPTION: until that pixel has that colour.
wait_for_pixel() { wait_for "$WAIT" "$4" pixel_is "$1" "$2" "$3"; }
pixel_is() { [ "$(pixel "$1" "$2")" = "$3" ]; }

# wait_for_size FILE BYTES DESCRIPTION: until the file holds at least that many bytes.
wait_for_size() { until_ok "$WAIT" "$3" size_at_least "$1" "$2"; }
size_at_least() { [ "$(stat -c %s "$1" 2>/dev/null || echo 0)" -ge "$2" ]; }

# holds SECONDS DESCRIPTION COMMAND...: for what must not happen, which no event announces: takes
# shots for that long, the last one after it, and fails at the first on which the command fails.
holds() {
    # Seconds may have a fraction, which shell arithmetic cannot take.
    local deadline what=$2 last
    deadline=$(( $(date +%s%N) + $(awk -v s="$1" 'BEGIN { printf "%d", s * 1e9 }') ))
    shift 2
    while :; do
        last=0
        [ "$(date +%s%N)" -lt "$deadline" ] || last=1
        shot_then "$@" || fail "$what"
        [ "$last" -eq 0 ] || return 0
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

# What the tests look for, each from one shot with one program.
title_screen() { has_some 0 "$(px 64)" "$(px 309)" "$(px 49)" 00FFFF 200; }
ball_shown() { has_some 0 0 "$(px 309)" "$(px 388)" FF0000 "$(px 20)"; }
# The ball against one wall: near it, and nowhere else.
ball_at_right() {
    local near rest
    read -r near rest < <(counts "$(px 280)" 0 "$(px 26)" "$(px 388)" FF0000 \
        0 0 "$(px 270)" "$(px 388)" FF0000)
    [ "$near" -ge "$(px 20)" ] && [ "$rest" -eq 0 ]
}
ball_at_left() {
    local near rest
    read -r near rest < <(counts 0 0 "$(px 30)" "$(px 388)" FF0000 \
        "$(px 40)" 0 "$(px 269)" "$(px 388)" FF0000)
    [ "$near" -ge "$(px 20)" ] && [ "$rest" -eq 0 ]
}
# A fingerprint of the last shot.
picture() { md5sum <"$WORK/shot.png"; }
# paused_since PICTURE: paused again on another picture, so the game went on in between.
paused_since() { paused && [ "$(picture)" != "$1" ]; }
# paused_at right|left: the game held by P with the ball against that wall.
paused_at() { paused && "ball_at_$1"; }
# The left edge of the ball in the game's area of the last shot, in pixels.
ball_x() {
    convert "$WORK/shot.png" -crop "$(px 309)x$(px 388)+0+0" +repage -alpha off \
        -fill black +opaque "#FF0000" -trim -format '%X' info: | tr -d +
}
# The "Paused" box over a game (the start image on the other screens has white there too).
paused() {
    local box ball
    read -r box ball < <(counts "$(px 100)" "$(px 170)" "$(px 109)" "$(px 48)" FFFFFF \
        0 0 "$(px 309)" "$(px 388)" FF0000)
    [ "$box" -ge "$(px 40)" ] && [ "$ball" -ge "$(px 20)" ]
}

# The game-over screen after a short game: the button back (white upper edge over its black
# face, where a passing bar would show green or its hole), no ball, and both texts in green.
game_over_screen() {
    local edge face ball over score
    read -r edge face ball over score < <(counts "$(px 150)" "$(px 240)" 1 1 FFFFFF \
        "$(px 150)" "$(px 244)" 1 1 000000 0 0 "$(px 309)" "$(px 388)" FF0000 \
        0 "$(px 104)" "$(px 309)" "$(px 25)" 00FF00 0 "$(px 144)" "$(px 309)" "$(px 25)" 00FF00)
    [ "$edge" -eq 1 ] && [ "$face" -eq 1 ] && [ "$ball" -eq 0 ] && [ "$over" -ge "$(px 100)" ] &&
        [ "$score" -ge "$(px 60)" ]
}

# sweep N: the Right and Left arrows held in turn, N times, 0.45 s each: sweeping from wall to
# wall finds the holes often enough to keep a game going for a while.
sweep() {
    for _ in $(seq "$1"); do
        xdotool keydown Right
        sleep 0.45
        xdotool keyup Right keydown Left
        sleep 0.45
        xdotool keyup Left
    done
}
