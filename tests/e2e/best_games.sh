#!/usr/bin/env bash
# Best games: a short game played in the window enters the table with its replay, the game-over
# screen says so, --scores lists it as verified, and --verify of its replay gives the same score.
. "$(dirname "$0")/lib.sh"
start_game "$1"

wait_for "$WAIT" "the title screen" title_screen
xdotool key Return
wait_for "$WAIT" "the game-over screen" game_over_screen
table="$XDG_DATA_HOME/sinkaway/scores.json"
wait_for_size "$table" 1 "the table"
# "New best #1 - press H" in the credit line's light cyan, between the score and the image.
wait_for "$WAIT" "the new-best line" has_some 0 "$(px 170)" "$(px 309)" "$(px 22)" C0FFFF 20
kill -TERM "$GAME_PID"
wait "$GAME_PID" || fail "the game exited with status $?"
GAME_PID=""

score=$(grep -o '"score": [0-9]*' "$table" | grep -o '[0-9]*$')
[ -n "$score" ] || fail "no score in the table: $(cat "$table")"
listing=$("$1" --scores) || fail "--scores failed: $listing"
line=$(echo "$listing" | grep -E "^ +1 +$score +[0-9T:-]+Z +verified +/") ||
    fail "--scores does not list the game as verified:
$listing"
replay=${line##* }
[ -f "$replay" ] || fail "no replay at $replay"
verified=$("$1" --verify "$replay" | tail -n1)
[ "$verified" = "score $score" ] || fail "--verify says '$verified', the table $score"
echo "PASS"
