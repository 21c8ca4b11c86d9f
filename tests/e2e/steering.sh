#!/usr/bin/env bash
# Steering: Enter starts a game, holding Right takes the ball to the right wall, and after the
# game is over Enter starts the next one, in which holding Left takes the ball to the left wall.
. "$(dirname "$0")/lib.sh"
start_game "$1" --seed 11

wait_for 10 "the title screen" has_some 0 "$(px 64)" "$(px 309)" "$(px 49)" 00FFFF 200
ball_at_right() {
    has_some "$(px 280)" 0 "$(px 26)" "$(px 388)" FF0000 "$(px 20)" &&
        ! has_some 0 0 "$(px 270)" "$(px 388)" FF0000 1
}
ball_at_left() {
    has_some 0 0 "$(px 30)" "$(px 388)" FF0000 "$(px 20)" &&
        ! has_some "$(px 40)" 0 "$(px 269)" "$(px 388)" FF0000 1
}

xdotool key Return
wait_for 5 "the ball" has_some 0 0 "$(px 309)" "$(px 388)" FF0000 "$(px 20)"
xdotool keydown Right
wait_for 3 "the ball at the right wall" ball_at_right
xdotool keyup Right

wait_for 10 "the game-over screen" game_over_screen
xdotool key Return
wait_for 5 "the second game" has_some 0 0 "$(px 309)" "$(px 388)" FF0000 "$(px 20)"
xdotool keydown Left
wait_for 3 "the ball at the left wall" ball_at_left
xdotool keyup Left
echo "PASS"
