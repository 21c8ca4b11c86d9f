#!/bin/sh
# How often each program wakes and what it asks the kernel: strace over SECONDS of play (default
# 6) of the game (--autoplay) and of the bare loop, under one private Xvfb at scale 2 without
# sound. "sleeps" are the calls that wait for time to pass (a poll with a timeout, a nanosleep,
# SDL's stand-in for vsync among them), so one per frame is the floor; the rest are counts per
# system call, every thread together, each also per frame presented.
#   bench/syscalls.sh build/sinkaway build/bench/baseline [SECONDS]
set -eu
game=$1 baseline=$2 seconds=${3:-6}
out=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$out"' EXIT
exec 3>"$out/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
while [ ! -s "$out/display" ]; do sleep 0.1; done
export DISPLAY=":$(head -n1 "$out/display")" SDL_AUDIODRIVER=dummy
calls=poll,ppoll,recvmsg,read,writev,ioctl,lseek,clock_nanosleep
strace -f -qq -o "$out/game" -e trace=$calls "$game" --autoplay --seconds "$seconds" --scale 2 \
    --stats 2>"$out/game.stats"
strace -f -qq -o "$out/base" -e trace=$calls "$baseline" --seconds "$seconds" --scale 2 \
    --stats 2>"$out/base.stats"
count() { grep -cE "$2" "$1" || true; }
frames() { awk '$2 == "frames" { print $3 }' "$1"; }
gameFrames=$(frames "$out/game.stats") baseFrames=$(frames "$out/base.stats")
# A count, and the same per frame presented.
both() { printf '%6s %5.1f' "$1" "$(echo "$1 $2" | awk '{ print ($2 > 0 ? $1 / $2 : 0) }')"; }
row() {
    printf '%-34s %s   %s\n' "$1" "$(both "$(count "$out/game" "$2")" "$gameFrames")" \
        "$(both "$(count "$out/base" "$2")" "$baseFrames")"
}
printf '%-34s %12s   %12s\n' "over $seconds s (count, per frame)" game baseline
printf '%-34s %12s   %12s\n' "frames" "$gameFrames" "$baseFrames"
row "sleeps (timed poll, nanosleep)" 'poll\(.*\], [0-9]*[1-9][0-9]*\) |clock_nanosleep\('
for call in poll recvmsg read writev ioctl lseek; do
    row "$call" " $call\("
done
