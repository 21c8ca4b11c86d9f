#!/usr/bin/env bash
# Steering: Enter starts a game, holding Right takes the ball to the right wall, and after the
# game is over Enter starts the next one, in which holding Left takes the ball to the left wall.
. "$(dirname "$0")/lib.sh"
start_game "$1" --seed 11

wait_for "$WAIT" "the title screen" title_screen

# A game lasts about a second, so the player's keys follow its start at once and P holds the game
# still for the looking: the ball reaches a wall within half a second and stays there until the
# bar takes it into the ceiling, after a second.
xdotool key Return keydown Right sleep 0.7 key p
wait_for "$WAIT" "the ball at the right wall" paused_at right
xdotool keyup Right key p

wait_for "$WAIT" "the game-over screen" game_over_screen
xdotool key Return keydown Left sleep 0.7 key p
wait_for "$WAIT" "the ball at the left wall" paused_at left
xdotool keyup Left
echo "PASS"
