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
picture() { md5sum <"$WORK/shot.png"; }
# A game left alone ends within about a second, so it runs only for moments between pauses.

# The keyboard to another window (the root window, the pointer away from ours), then back: the
# game stays paused until the player says otherwise.
xdotool mousemove 0 0 windowfocus "$(xwininfo -root | awk '/Window id:/ {print $4}')"
wait_for 3 "the pause on focus loss" banner
frozen=$(picture)
xdotool mousemove --window "$WID" 5 200 windowfocus "$WID"
sleep 0.5
shot
banner || fail "the game resumed by itself when the focus came back"
[ "$(picture)" = "$frozen" ] || fail "the picture changed while paused"

# P goes on, P again pauses: the game moved in between.
xdotool key p sleep 0.15 key p
wait_for 3 "the Paused box again" banner
[ "$(picture)" != "$frozen" ] || fail "the game did not go on after P"
frozen=$(picture)

# Right pressed while paused must not reach the game.
xdotool keydown Right
sleep 0.5
shot
[ "$(picture)" = "$frozen" ] || fail "the picture changed while paused"
xdotool keyup Right
xdotool key Pause sleep 0.15 key Pause
wait_for 3 "the Paused box after the Pause key" banner
[ "$(picture)" != "$frozen" ] || fail "the game did not go on after the Pause key"
expect_none "$(px 280)" 0 "$(px 26)" "$(px 388)" FF0000 "the ball went right though Right was pressed while paused"
echo "PASS"
