#!/usr/bin/env bash
# A leaderboard that answers only after 5 s never holds up a frame: a game played while the game's
# first questions to it are still on their way keeps drawing every tick. The figure is the
# longest interval between two frames in play (--stats); only a stall of a second fails.
. "$(dirname "$0")/lib.sh"

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 "$(dirname "$0")/slow_server.py" "$port" &
SLOW_PID=$!
trap 'kill $SLOW_PID 2>/dev/null; cleanup' EXIT
start_game "$1" --server "http://127.0.0.1:$port" --stats

# At once, while the server sits on the health check: a game swept from wall to wall.
xdotool key Return
sweep 3
kill -TERM "$GAME_PID"
wait "$GAME_PID" || fail "exit status $? after SIGTERM"
GAME_PID=""

longest=$(awk '$2 == "frame_interval_max_play_ms" { print $3 }' "$WORK/game.err")
frames=$(awk '$2 == "frames" { print $3 }' "$WORK/game.err")
[ -n "$longest" ] || fail "no stats"
echo "longest frame interval in play with the server answering after 5 s: $longest ms ($frames frames)"
[ "$frames" -ge 30 ] || fail "only $frames frames drawn"
awk -v l="$longest" 'BEGIN { exit !(l < 1000) }' || fail "a frame waited $longest ms"
echo "PASS"
