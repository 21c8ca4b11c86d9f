#!/usr/bin/env bash
# Pause: P freezes the game under a "Paused" box, a key pressed meanwhile is not the game's, and P
# again resumes where it stopped. Losing the keyboard to another window pauses too.
. "$(dirname "$0")/lib.sh"
start_game "$1" --seed 11

wait_for 10 "the title screen" has_some 0 "$(px 64)" "$(px 309)" "$(px 49)" 00FFFF 200
# Nothing to pause on the title screen: P leaves it as it was, and Enter still starts a game.
before=$(count "$(px 100)" "$(px 170)" "$(px 109)" "$(px 48)" FFFFFF)
xdotool key p
sleep 0.3
shot
[ "$(count "$(px 100)" "$(px 170)" "$(px 109)" "$(px 48)" FFFFFF)" = "$before" ] ||
    fail "P drew something on the title screen"

xdotool key Return
wait_for 5 "the ball" has_some 0 0 "$(px 309)" "$(px 388)" FF0000 "$(px 20)"
# The box during play (the start image on the other screens has white in it too).
in_play() { has_some 0 0 "$(px 309)" "$(px 388)" FF0000 "$(px 20)"; }
banner() { in_play && has_some "$(px 100)" "$(px 170)" "$(px 109)" "$(px 48)" FFFFFF "$(px 40)"; }
xdotool key p
wait_for 2 "the Paused box" banner
frozen=$(md5sum <"$WORK/shot.png")
# Right pressed while paused must not reach the game, nor the time spent paused.
xdotool keydown Right
sleep 0.5
shot
[ "$(md5sum <"$WORK/shot.png")" = "$frozen" ] || fail "the picture changed while paused"
xdotool keyup Right
xdotool key p
moved() { ! banner && [ "$(md5sum <"$WORK/shot.png")" != "$frozen" ]; }
wait_for 2 "the game to go on" moved
expect_none "$(px 280)" 0 "$(px 26)" "$(px 388)" FF0000 "the ball went right though Right was pressed while paused"

# The keyboard to another window (the root window, the pointer away from ours), then back.
xdotool mousemove 0 0 windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
wait_for 2 "the pause on focus loss" banner
xdotool mousemove --window "$WID" 5 200 windowfocus "$WID"
sleep 0.3
shot
banner || fail "the game resumed by itself when the focus came back"
xdotool key Pause
wait_for 2 "the game to go on after the Pause key" moved
echo "PASS"
