#!/usr/bin/env bash
# Pause: P freezes the game under a "Paused" box, a key pressed meanwhile is not the game's, and P
# again resumes where it stopped. Losing the keyboard to another window pauses too.
. "$(dirname "$0")/lib.sh"
start_game "$1" --seed 11

wait_for "$WAIT" "the title screen" title_screen
# Nothing to pause on the title screen: P leaves it as it was, and Enter still starts a game. The
# pointer resting on the start image after the P brings up the tooltip, so once the tooltip shows
# the P has been handled. The tooltip opens below the pointer, clear of the box's place.
box_white() { count "$(px 100)" "$(px 170)" "$(px 109)" "$(px 48)" FFFFFF; }
before=$(box_white)
xdotool key p mousemove --window "$WID" "$(px 150)" "$(px 230)"
wait_for "$WAIT" "the tooltip after P" has_some 0 "$(px 240)" "$(px 309)" "$(px 148)" FFFFE1 100
[ "$(box_white)" = "$before" ] || fail "P drew something on the title screen"

# A game left alone ends within about a second, so it runs only for moments between pauses.

# Enter, and at once the keyboard to another window (the root window, the pointer away from
# ours), then back: the game stays paused until the player says otherwise.
xdotool key Return mousemove 0 0 windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
wait_for "$WAIT" "the pause on focus loss" paused
frozen=$(picture)
xdotool mousemove --window "$WID" 5 200 windowfocus "$WID"
still_frozen() { paused && [ "$(picture)" = "$frozen" ]; }
holds 0.5 "the game resumed by itself when the focus came back" still_frozen

# P goes on, P again pauses: the game moved in between.
xdotool key p sleep 0.15 key p
wait_for "$WAIT" "the game to go on after P and the Paused box again" paused_since "$frozen"
frozen=$(picture)

# Right pressed while paused must not reach the game.
xdotool keydown Right
holds 0.5 "the picture changed while paused" still_frozen
xdotool keyup Right
xdotool key Pause sleep 0.15 key Pause
wait_for "$WAIT" "the game to go on after the Pause key and pause again" paused_since "$frozen"
expect_none "$(px 280)" 0 "$(px 26)" "$(px 388)" FF0000 "the ball went right though Right was pressed while paused"
echo "PASS"
