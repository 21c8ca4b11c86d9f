#!/usr/bin/env bash
# Under a window manager that never maps the window, the game says so on standard error after
# 5 s rather than wait in silence, and TERM still ends it at once, with TERM's own status.
. "$(dirname "$0")/lib.sh"
start_xvfb
"$2" >"$WORK/wm.log" 2>&1 &
OTHER_PIDS+=($!)
until_ok "$WAIT" "the window manager" grep -qx ready "$WORK/wm.log"
SDL_AUDIODRIVER=dummy "$1" --scale "$SCALE" >"$WORK/game.out" 2>"$WORK/game.err" &
GAME_PID=$!

# Generous: a sanitizer build on a busy machine can take several seconds to reach the window.
until_ok 40 "the line about the window manager" grep -qx \
    'sinkaway: the window manager has not shown the window after 5 s; still waiting' \
    "$WORK/game.err"
kill -TERM "$GAME_PID"
gone() { ! kill -0 "$GAME_PID" 2>/dev/null; }
until_ok 2 "the game to end on TERM" gone
status=0
wait "$GAME_PID" || status=$?
GAME_PID=""
[ "$status" -eq 143 ] || fail "exit status $status after TERM, want 143"
grep -qx 'sinkaway: ended by TERM while starting' "$WORK/game.err" || fail "no line about TERM"
echo "PASS"
