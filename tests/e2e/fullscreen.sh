#!/usr/bin/env bash
# Fullscreen: --fullscreen covers the screen with the picture centred in proportion; F11 gives the
# window back, and Alt+Enter goes fullscreen again without its Enter starting a game.
. "$(dirname "$0")/lib.sh"
# Fullscreen is the window manager's to grant.
command -v openbox >/dev/null || { echo "SKIP: openbox is not installed"; exit 77; }
start_xvfb
openbox --sm-disable >"$WORK/wm.log" 2>&1 &
OTHER_PIDS+=($!)
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window; }
until_ok "$WAIT" "the window manager" wm_up
start_game "$1" --seed 5 --fullscreen

title() { has_some 0 0 1280 1024 00FFFF 400; }
wait_for "$WAIT" "the title screen" title
size() { xdotool getwindowgeometry "$WID" | sed -n 's/.*Geometry: //p'; }
is_size() { [ "$(size)" = "$1" ]; }
until_ok "$WAIT" "the window to cover the screen (1280x1024)" is_size 1280x1024

# The client area's white side walls bound the picture: equal black bars on either side, and a
# width in proportion to the screen's height, which it fills (the top wall starts near the top).
centred() {
    local row col x w y h right
    row=$(convert "$WORK/shot.png" -crop 1280x1+0+512 +repage -bordercolor black -border 1 \
        -trim -format '%X %w' info:)
    col=$(convert "$WORK/shot.png" -crop 1x1024+640+0 +repage -bordercolor black -border 1 \
        -trim -format '%Y %h' info:)
    read -r x w <<<"${row//+/}"
    read -r y h <<<"${col//+/}"
    x=$((x - 1)) y=$((y - 1)) right=$((1280 - (x - 1) - w))
    right=$((1280 - x - w))
    [ $((x - right)) -le 1 ] && [ $((right - x)) -le 1 ] && [ "$y" -le 8 ] &&
        [ $((w * 388 - 1024 * 309)) -le 16000 ] && [ $((1024 * 309 - w * 388)) -le 16000 ]
}
wait_for "$WAIT" "a centred picture" centred

xdotool key F11
until_ok "$WAIT" "the window back" is_size 618x776
wait_for "$WAIT" "the title in the window" title

xdotool key alt+Return
until_ok "$WAIT" "fullscreen again" is_size 1280x1024
# The game handles the Enter before the window changes size, so the first centred picture after it
# would already show a game the Enter started.
wait_for "$WAIT" "a centred picture again" centred
title || fail "the Enter of Alt+Enter reached the game"
expect_none 0 0 1280 1024 FF0000 "a ball: the Enter of Alt+Enter started a game"
echo "PASS"
