#!/usr/bin/env bash
# A click loaded and played through the sound code on the SDL backend reaches
# the audio output: SDL's disk driver writes the mix (signed 16-bit mono) to a
# file, and that file must hold real sound, not silence.
set -euo pipefail
game_dir=${1:?usage: sound_disk_output.sh GAME-DIR}
check=$(cd "$game_dir/.." && pwd)/sdl-checks/sdl_audio_check
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/out.raw" \
    "$check" "$work/click.wav" >"$work/log" 2>&1 || {
    cat "$work/log"
    echo "FAIL: the audio check program failed"
    exit 1
}
[ -s "$work/out.raw" ] || { echo "FAIL: nothing was written to the audio output"; exit 1; }

# Samples well away from silence (0), and the loudest of them.
read -r total loud peak < <(od -An -v -td2 -w2 "$work/out.raw" |
    awk '{ v = $1 < 0 ? -$1 : $1; if (v > 1000) n++; if (v > m) m = v }
         END { print NR, n + 0, m + 0 }')
echo "samples=$total loud=$loud peak=$peak"
if [ "$loud" -lt 200 ]; then
    echo "FAIL: the output is (nearly) silent"
    exit 1
fi
echo "PASS"
