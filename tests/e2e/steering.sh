#!/usr/bin/env bash
# Steering: Enter starts a game, holding Right takes the ball to the right wall, and after the
# game is over Enter starts the next one, in which holding Left takes the ball to the left wall.
. "$(dirname "$0")/lib.sh"
start_game "$1" --seed 11

wait_for "$WAIT" "the title screen" title_screen

# A game lasts about a second, so the key goes down with the game's start: the ball reaches the
# wall in under half a second and stays there until the bar takes it into the ceiling.
xdotool key Return keydown Right
wait_for "$WAIT" "the ball at the right wall" ball_at_right
xdotool keyup Right

wait_for "$WAIT" "the game-over screen" game_over_screen
xdotool key Return keydown Left
wait_for "$WAIT" "the ball at the left wall" ball_at_left
xdotool keyup Left
echo "PASS"
