#!/usr/bin/env bash
# Record and replay: a game played in the window with --record, keys and all, replays headless to
# the same final state that the window showed when it closed.
. "$(dirname "$0")/lib.sh"
start_game "$1" --record "$WORK/session.txt"

wait_for "$WAIT" "the title screen" title_screen
# A game lasts about a second: the player's keys follow its start at once.
xdotool key Return keydown Right sleep 0.3 keyup Right keydown Left sleep 0.2 keyup Left key Left key Right
wait_for "$WAIT" "the game-over screen" game_over_screen
kill -TERM "$GAME_PID"
wait "$GAME_PID" || fail "the game exited with status $?"
GAME_PID=""

grep -q '^seed ' "$WORK/session.txt" || fail "no seed in the recording"
grep -q '^keydown 39' "$WORK/session.txt" || fail "no Right key in the recording"
final_state() { sed -n 's/.*"state": //p'; }
want=$(grep "^# window's final state: " "$WORK/session.txt" | final_state)
[ -n "$want" ] || fail "the recording does not end with the window's final state"
got=$("$1" --headless --script "$WORK/session.txt" --trace - | tail -n1 | final_state)
[ "$got" = "$want" ] || fail "the replay ends in another state:
window: $want
replay: $got"
echo "$want" | grep -q '"blnGameOver": -1' || fail "the recorded game did not end: $want"
echo "PASS"
