#!/usr/bin/env bash
# Sound, heard through SDL's disk audio driver, which writes what would be played to a file: the
# music starts with a game when "BGM" is ticked and not when it is unticked, and a malformed
# music file gives a short beep and never stops the game.
. "$(dirname "$0")/lib.sh"

# The loudest sample written after byte OFFSET (16-bit samples).
peak_after() {
    tail -c +"$(( $1 + 1 ))" "$WORK/audio.raw" | od -An -v -t d2 |
        awk 'BEGIN { m = 0 } { for (i = 1; i <= NF; i++) { v = $i < 0 ? -$i : $i; if (v > m) m = v } }
             END { print m }'
}
size() { stat -c %s "$WORK/audio.raw" 2>/dev/null || echo 0; }
# The disk driver writes in real time: 44.1 kHz, 16-bit stereo.
audio_bytes() { echo $(( $1 * 44100 * 4 / 1000 )); }
# listen_from BYTE MS: waits until the file holds MS milliseconds of sound after BYTE.
listen_from() { wait_for_size "$WORK/audio.raw" $(( $1 + $(audio_bytes "$2") )) "$2 ms of sound"; }

# run_game NAME OPTIONS...: a fresh game writing its sound to $WORK/audio.raw.
run_game() {
    [ -n "$GAME_PID" ] && kill "$GAME_PID" && wait "$GAME_PID" || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" && wait "$XVFB_PID" || true
    GAME_PID="" XVFB_PID=""
    rm -f "$WORK/audio.raw" "$WORK/display"
    export E2E_AUDIO=disk SDL_DISKAUDIOFILE="$WORK/audio.raw"
    start_game "$@"
    wait_for "$WAIT" "the title screen" title_screen
    wait_for_size "$WORK/audio.raw" 1 "the audio device"
}

# A game lasts about a second, and may be over by the time a shot is looked at.
game_started() { ball_shown || game_over_screen; }
# start_and_listen MS: starts a game with Enter and sets PEAK to the loudest sample from the key
# press until MS milliseconds of sound after the game has shown up.
start_and_listen() {
    local from
    from=$(size)
    xdotool key Return
    wait_for "$WAIT" "the game to start" game_started
    listen_from "$(size)" "$1"
    PEAK=$(peak_after "$from")
}

program=$1

if [ -f "$(dirname "$program")/assets/Castor.wav" ]; then
    run_game "$program" --seed 2
    before=$(peak_after 0)
    [ "$before" -eq 0 ] || fail "sound on the title screen (peak $before)"
    start_and_listen 500
    [ "$PEAK" -gt 1000 ] || fail "no music after the game started (peak $PEAK)"
fi

# BGM unticked: a click on its box, then a game in silence.
run_game "$program" --seed 2
click_at "$(px 30)" "$(px 356)"
wait_for_pixel "$(px 33)" "$(px 353)" FFFFFF "the BGM box unticked"
start_and_listen 500
[ "$PEAK" -eq 0 ] || fail "sound with BGM unticked (peak $PEAK)"

# A malformed music file: a beep instead, and the game goes on.
head -c 4096 /dev/urandom >"$WORK/bad.wav"
run_game "$program" --seed 2 --music "$WORK/bad.wav"
start_and_listen 200
[ "$PEAK" -gt 1000 ] || fail "no beep for a malformed music file (peak $PEAK)"
wait_for "$WAIT" "the game to go on to its end" game_over_screen
from=$(size)
listen_from "$from" 500
quiet=$(peak_after "$from")
[ "$quiet" -eq 0 ] || fail "the beep goes on (peak $quiet)"
echo "PASS"
