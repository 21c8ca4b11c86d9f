#!/usr/bin/env bash
# Left alone, the ball rides the bar into the ceiling: the game-over screen shows
# "***Game Over***" and the score in the bar's colour, the start image and the button come back,
# and a click on the button starts a second game.
. "$(dirname "$0")/lib.sh"
start_game "$1" --seed 3

wait_for "$WAIT" "the title screen" title_screen
click_at "$(px 150)" "$(px 210)"
wait_for "$WAIT" "the game" has_some 0 0 "$(px 309)" "$(px 388)" 00FF00 "$(px 500)"

# The texts wear the bar's green after a short game; the button comes back without the focus.
wait_for "$WAIT" "***Game Over*** and the score" game_over_screen
expect_none "$(px 5)" "$(px 5)" "$(px 299)" "$(px 100)" 00FF00 "bar hidden"
expect_none "$(px 5)" "$(px 175)" "$(px 299)" "$(px 190)" 00FF00 "bar hidden"
expect_some 0 "$(px 368)" "$(px 309)" "$(px 17)" C0FFFF 50 "music credit"

click_at "$(px 150)" "$(px 244)"
second_game() {
    local over ball
    read -r over ball < <(counts 0 "$(px 104)" "$(px 309)" "$(px 25)" 00FF00 \
        0 0 "$(px 309)" "$(px 388)" FF0000)
    [ "$over" -lt "$(px 100)" ] && [ "$ball" -ge "$(px 20)" ]
}
wait_for "$WAIT" "the second game" second_game
expect_pixel "$(px 150)" "$(px 240)" 000000 "button gone"
echo "PASS"
