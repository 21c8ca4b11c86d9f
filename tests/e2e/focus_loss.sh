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
OTHER_PIDS+=($!)
OTHER=$(timeout "$WAIT" xdotool search --sync --onlyvisible --class Xmessage | head -n1) ||
    fail "the other window did not appear"

# A game lasts about a second, so the player's keys follow its start at once: Right held for a
# tenth of a second, then the focus to the other window. Losing the focus pauses the game, which
# holds the ball still for the looking. The ball starts 96 pixels from the left wall.
xdotool mousemove --window "$WID" 5 200 windowfocus --sync "$WID"
xdotool key Return keydown Right sleep 0.1 mousemove --window "$OTHER" 5 5 windowfocus --sync "$OTHER"
wait_for "$WAIT" "the pause on focus loss" paused
x1=$(ball_x)
[ "$x1" -gt "$(px 96)" ] || fail "holding Right did not move the ball ($(px 96) -> $x1)"
[ "$x1" -lt "$(px 270)" ] || fail "the ball reached the wall before the focus went ($x1)"

# Right goes up in the other window. With the focus back, P lets the game go on for a third of a
# second, in which a ball still going sideways would cover some 250 pixels, and P again holds it.
frozen=$(picture)
xdotool keyup Right mousemove --window "$WID" 5 200 windowfocus --sync "$WID"
xdotool key p sleep 0.3 key p
wait_for "$WAIT" "the game to go on and pause again" paused_since "$frozen"
x2=$(ball_x)
[ "$x2" -eq "$x1" ] || fail "the ball went on sideways after the focus went: $x1 -> $x2"
echo "PASS"
