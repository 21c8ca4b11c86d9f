#!/usr/bin/env bash
# The title screen as a player sees it, the tooltip of the start image, and a click on the image
# that starts a game: ball, green bar and score appear.
. "$(dirname "$0")/lib.sh"
start_game "$1" --seed 5

# Ready when the title is drawn.
wait_for "$WAIT" "the title screen" title_screen
expect_pixel "$(px 2)" "$(px 200)" FFFFFF "left wall"
expect_pixel "$(px 306)" "$(px 200)" FFFFFF "right wall"
expect_pixel "$(px 150)" "$(px 2)" FFFFFF "top wall"
expect_pixel "$(px 150)" "$(px 150)" 000000 "black playfield"
expect_some 0 "$(px 368)" "$(px 309)" "$(px 17)" C0FFFF 50 "credit line"
# Two ticked boxes: a black tick in a white box, the caption beside it.
for top in 333 353; do
    expect_pixel "$(px 28)" "$(px "$top")" FFFFFF "check box at $top"
    expect_pixel "$(px 33)" "$(px "$top")" 000000 "tick at $top"
done
expect_some "$(px 41)" "$(px 328)" "$(px 80)" "$(px 17)" C0FFFF 20 "PowerUps caption"
expect_some "$(px 41)" "$(px 344)" "$(px 60)" "$(px 25)" C0FFFF 20 "BGM caption"
# The thin button, holding the focus: a dark frame, then a white upper edge.
expect_pixel "$(px 150)" "$(px 240)" 000000 "button frame"
expect_pixel "$(px 150)" "$(px 241)" FFFFFF "button edge"
expect_none "$(px 5)" "$(px 5)" "$(px 299)" "$(px 380)" FF0000 "no ball yet"
expect_none "$(px 5)" "$(px 5)" "$(px 299)" "$(px 380)" 00FF00 "no bar yet"
# The start image: blue pixel art, if the pictures are beside the program.
if [ -f "$(dirname "$1")/assets/newgame32.xpm" ]; then
    n=$(convert "$WORK/shot.png" -crop "$(px 73)x$(px 50)+$(px 120)+$(px 192)" +repage \
        -fx 'b > 0.5 && r < 0.4 ? 1 : 0' -format '%[fx:round(mean*w*h)]' info:)
    [ "$n" -ge "$(px 300)" ] || fail "start image: only $n blue pixels"
fi

# Resting on the image brings up the tooltip (pale yellow) after half a second.
xdotool mousemove --window "$WID" "$(px 150)" "$(px 210)"
wait_for "$WAIT" "the tooltip" has_some 0 0 "$(px 309)" "$(px 388)" FFFFE1 100

# A game left alone lasts about a second: P right after the click holds it still for the looking.
click_at "$(px 150)" "$(px 210)"
xdotool key p
game_shown() {
    local ball bar score
    read -r ball bar score < <(counts "$(px 5)" "$(px 5)" "$(px 299)" "$(px 380)" FF0000 \
        "$(px 5)" "$(px 5)" "$(px 299)" "$(px 380)" 00FF00 "$(px 8)" "$(px 4)" "$(px 97)" "$(px 17)" C0FFFF)
    paused && [ "$ball" -ge "$(px 20)" ] && [ "$bar" -ge "$(px 500)" ] && [ "$score" -ge 20 ]
}
wait_for "$WAIT" "the ball, the bar and the score" game_shown
expect_none 0 "$(px 64)" "$(px 309)" "$(px 49)" 00FFFF "title gone"
expect_none 0 0 "$(px 309)" "$(px 388)" FFFFE1 "tooltip gone"
echo "PASS"
