#!/usr/bin/env bash
# Focus loss: a key held while another window takes the keyboard never sends its key-up to the
# game, so losing the focus has to count as one. Right is held, the focus goes to another X
# client, and from then on the ball goes no further sideways.
. "$(dirname "$0")/lib.sh"
command -v xmessage >/dev/null || { echo "SKIP: xmessage is not installed"; exit 77; }
start_game "$1" --seed 11

wait_for "$WAIT" "the title screen" title_screen
# The other window, away from the game's (which is centred on the screen).
xmessage -geometry +0+0 "elsewhere" &
OTHER_PID=$!
trap 'status=$?; kill "$OTHER_PID" 2>/dev/null; (exit $status); cleanup' EXIT
OTHER=$(timeout 10 xdotool search --sync --onlyvisible --class Xmessage | head -n1) ||
    fail "the other window did not appear"

# A new game, Right held for a tenth of a second, then the focus to the other window. Losing the
# focus pauses the game, which holds the ball still for the looking.
xdotool mousemove --window "$WID" 5 200 windowfocus --sync "$WID"
xdotool key Return
wait_for "$WAIT" "the ball" ball_shown
x0=$(ball_x)
xdotool keydown Right sleep 0.1 mousemove --window "$OTHER" 5 5 windowfocus --sync "$OTHER"
wait_for "$WAIT" "the pause on focus loss" paused
x1=$(ball_x)
[ "$x1" -gt "$x0" ] || fail "holding Right did not move the ball ($x0 -> $x1)"
[ "$x1" -lt "$(px 270)" ] || fail "the ball reached the wall before the focus went ($x1)"

# Right goes up in the other window. With the focus back and the game resumed, the ball must go
# no further sideways (one still going covers some 80 pixels in a tenth of a second) until the
# bar takes it into the ceiling.
xdotool keyup Right
xdotool mousemove --window "$WID" 5 200 windowfocus --sync "$WID"
xdotool key p
not_paused() { ! paused; }
wait_for "$WAIT" "the game to go on" not_paused
stays() { ! ball_shown || [ "$(ball_x)" -eq "$x1" ]; }
holds 0.3 "the ball went on sideways after the focus went" stays
kill -0 "$GAME_PID" || fail "the game ended"
echo "PASS"
