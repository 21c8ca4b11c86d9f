#!/usr/bin/env bash
# The real-time pace, from the program's own tick counts (--stats) over a few seconds of a game
# steered left and right by a player: 64 ticks a second, a point every 300 ms. And no busy
# waiting: on the title screen the program sleeps between its ticks.
. "$(dirname "$0")/lib.sh"
start_game "$1" --seed 1 --stats

wait_for "$WAIT" "the title screen" title_screen

# CPU time used over two seconds of title screen (clock ticks of /proc/PID/stat).
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$GAME_PID/stat"; }
hz=$(getconf CLK_TCK)
before=$(cpu_ticks)
sleep 2
used=$(( $(cpu_ticks) - before ))
[ "$used" -le $(( hz * 2 / 5 )) ] || fail "busy on the title screen: $used of $(( hz * 2 )) ticks"

xdotool key Return
sweep 4
kill -TERM "$GAME_PID"
wait "$GAME_PID" || fail "exit status $? after SIGTERM"
GAME_PID=""

line=$(grep -E '^sinkaway: [0-9.]+ s:' "$WORK/game.err") || fail "no stats line"
echo "$line"
read -r seconds score main poller frames < <(echo "$line" | awk '{
    for (i = 1; i <= NF; i++) v[$i] = $(i + 1)
    print $2, v["tmrScore"], v["tmrMain"], v["tmrGameOver"], v["frames"] }')
awk -v s="$seconds" -v p="$poller" 'BEGIN { r = p / s; exit !(r > 60 && r < 68) }' ||
    fail "game-over poller ticked $poller times in $seconds s, want 64 a second"
[ "$main" -ge 100 ] || fail "only $main main ticks in play"
# Both timers start with the game and stop with it: a point per 19.2 main ticks, give or take one.
awk -v m="$main" -v sc="$score" 'BEGIN { d = sc - m / 19.2; exit !(d > -1.2 && d < 1.2) }' ||
    fail "$main main ticks for $score points, want one point per 19.2 ticks (64 a second, 300 ms)"
[ "$frames" -ge 50 ] || fail "only $frames frames drawn"
echo "PASS"
