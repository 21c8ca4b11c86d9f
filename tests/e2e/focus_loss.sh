#!/usr/bin/env bash
# Focus loss: a key held while another window takes the keyboard never sends its key-up to the
# game, so losing the focus has to count as one. Right is held, the focus goes to another X
# client, and from then on the ball goes no further sideways.
. "$(dirname "$0")/lib.sh"
command -v xmessage >/dev/null || { echo "SKIP: xmessage is not installed"; exit 77; }
start_game "$1" --seed 11

# The left edge of the ball in the game's area of the last shot (or of FILE), in pixels.
ball_x() {
    convert "${1:-$WORK/shot.png}" -crop "$(px 309)x$(px 388)+0+0" +repage -alpha off \
        -fill black +opaque "#FF0000" -trim -format '%X' info: | tr -d +
}
ball_shown() { has_some 0 0 "$(px 309)" "$(px 388)" FF0000 "$(px 20)"; }

wait_for 10 "the title screen" has_some 0 "$(px 64)" "$(px 309)" "$(px 49)" 00FFFF 200
# The other window, away from the game's (which is centred on the screen).
xmessage -geometry +0+0 "elsewhere" &
OTHER_PID=$!
trap 'status=$?; kill "$OTHER_PID" 2>/dev/null; (exit $status); cleanup' EXIT
OTHER=$(timeout 10 xdotool search --sync --onlyvisible --class Xmessage | head -n1) ||
    fail "the other window did not appear"

# One try: a new game, Right held, then at once the focus to the other window. The ball must
# have left its place (the key worked) and then stay put. A game left alone ends within about a
# second, so a try whose game ends before the second shot proves nothing and is made again.
try_once() {
    xdotool mousemove --window "$WID" 5 200 windowfocus --sync "$WID"
    xdotool key Return
    wait_for 5 "the ball" ball_shown
    x0=$(ball_x)
    xdotool keydown Right
    sleep 0.05
    xdotool mousemove --window "$OTHER" 5 5 windowfocus --sync "$OTHER"
    # The shots go first, the reading after, as a game left alone ends within about a second.
    # A ball still going sideways covers some 40 pixels between two shots.
    sleep 0.05
    shot
    cp "$WORK/shot.png" "$WORK/first.png"
    sleep 0.1
    shot
    has_some 0 0 "$(px 309)" "$(px 388)" FF0000 "$(px 20)" || return 2
    cp "$WORK/shot.png" "$WORK/second.png"
    cp "$WORK/first.png" "$WORK/shot.png"
    ball_shown || return 2
    x1=$(ball_x "$WORK/first.png")
    x2=$(ball_x "$WORK/second.png")
    xdotool keyup Right
    [ "$x1" -gt "$x0" ] || fail "holding Right did not move the ball ($x0 -> $x1)"
    [ "$x1" -lt "$(px 270)" ] || fail "the ball reached the wall before the focus went ($x1)"
    [ "$x2" -eq "$x1" ] || fail "the ball went on sideways after the focus went: $x1 -> $x2"
    return 0
}

for attempt in 1 2 3 4 5; do
    status=0
    try_once || status=$?
    if [ "$status" -eq 0 ]; then
        kill -0 "$GAME_PID" || fail "the game ended"
        echo "PASS"
        exit 0
    fi
    xdotool keyup Right
    wait_for 10 "the game-over screen" game_over_screen
done
fail "every game ended before the ball could be watched"
