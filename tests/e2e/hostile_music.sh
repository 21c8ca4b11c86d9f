#!/usr/bin/env bash
# Hostile music files and a failing audio device: whatever --music names, the window opens, a
# game starts with Enter and the ball answers the keys at once, and the game stays up. A FIFO
# nobody writes to, /dev/zero or a 200 MB file must not hold up the window even for a moment.
. "$(dirname "$0")/lib.sh"
program=$1

# A WAV header for DATA_BYTES of 16-bit stereo at 44.1 kHz; RIFF_BYTES defaults to match.
wav_header() {
    local data=$1 riff=${2:-$(( $1 + 36 ))}
    le32() { printf "\\x$(printf %02x $(( $1 & 255 )))\\x$(printf %02x $(( ($1 >> 8) & 255 )))\\x$(printf %02x $(( ($1 >> 16) & 255 )))\\x$(printf %02x $(( ($1 >> 24) & 255 )))"; }
    printf 'RIFF'; le32 "$riff"; printf 'WAVEfmt '; le32 16
    printf '\x01\x00\x02\x00'; le32 44100; le32 176400; printf '\x04\x00\x10\x00'
    printf 'data'; le32 "$data"
}

# play CASE MUSIC [AUDIO_DRIVER]: a game with that music, steered to the right wall.
play() {
    local what=$1 music=$2
    E2E_AUDIO=${3:-dummy} start_game "$program" --seed 5 --music "$music"
    wait_for "$WAIT" "$what: the title screen" title_screen
    # The ball needs half a second to get there and P holds it there; a window held up by the
    # music when the game starts would catch up at most a quarter of a second of it.
    xdotool key Return keydown Right sleep 0.7 key p
    wait_for "$WAIT" "$what: the ball at the right wall" paused_at right
    xdotool keyup Right
    kill -0 "$GAME_PID" 2>/dev/null || fail "$what: the game ended"
    kill "$GAME_PID"
    local status=0
    wait "$GAME_PID" || status=$?
    GAME_PID=""
    # 143: ended by our SIGTERM through SDL's quit event or the signal itself.
    [ "$status" -eq 0 ] || [ "$status" -eq 143 ] || fail "$what: exit status $status"
    [ ! -s "$WORK/game.err" ] || fail "$what: wrote to standard error"
    echo "ok: $what"
}

start_xvfb

head -c 44 /dev/null >"$WORK/empty.wav"
{ wav_header 8000; head -c 100 /dev/urandom; } >"$WORK/truncated.wav"
head -c 4096 /dev/urandom >"$WORK/random.wav"
{ wav_header 4294967280 4294967295; head -c 1000 /dev/zero; } >"$WORK/gigabytes.wav"
mkfifo "$WORK/fifo.wav"
# 200 MB of silence behind a valid header; sparse, so it costs no disk.
wav_header 209715200 >"$WORK/big.wav"
truncate -s $(( 209715200 + 44 )) "$WORK/big.wav"
long=$(head -c 100000 /dev/zero | tr "\\0" a)

play "missing" "$WORK/none.wav"
play "a folder" "$WORK"
play "empty" "$WORK/empty.wav"
play "truncated" "$WORK/truncated.wav"
play "random bytes" "$WORK/random.wav"
play "a header claiming 4 GB" "$WORK/gigabytes.wav"
play "a FIFO nobody writes to" "$WORK/fifo.wav"
play "/dev/zero" /dev/zero
play "a 200 MB WAV" "$WORK/big.wav"
play "a 100 kB path" "$long"
play "an audio driver that fails" "$WORK/big.wav" nonexistent
rm -f "$WORK/big.wav"
echo "PASS"
