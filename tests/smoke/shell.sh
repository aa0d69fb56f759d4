#!/usr/bin/env bash
# The real executable opens its borderless window, keeps running, and ends
# cleanly on SIGTERM, on the number-entry screens too; without a display (unset
# or empty), with a video driver SDL does not have, or with too few files
# allowed open, it refuses with exit code 1 and one line naming what failed.
set -euo pipefail
game_dir=$1
source "$(dirname "$0")/lib/xvfb.sh"
source "$(dirname "$0")/lib/game_steps.sh"
make_run_dir "$game_dir"

# Runs the game with the environment changes "$@" (for env) and expects exit 1
# and one line on stderr matching $refusal.
refuses() {
    local code lines said
    set +e
    (cd "$RUN_DIR" && env "$@" timeout 20 ./dellomar >/dev/null 2>"$RUN_DIR/err.txt")
    code=$?
    set -e
    lines=$(wc -l <"$RUN_DIR/err.txt")
    said=$(cat "$RUN_DIR/err.txt")
    echo "$*: exit $code, said: $said"
    [[ $code -eq 1 ]] || { echo "expected exit code 1" >&2; exit 1; }
    [[ $lines -eq 1 ]] || { echo "expected one line on stderr" >&2; exit 1; }
    [[ $said =~ ^dellomar:\ .*$refusal ]] || { echo "expected it to say: $refusal" >&2; exit 1; }
}

refusal="no display is set"
refuses -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER
refuses -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER DISPLAY=
refuses DISPLAY= WAYLAND_DISPLAY= SDL_VIDEODRIVER=

start_xvfb
# A driver SDL does not know is named as such, with the display there.
refusal='the video driver "nonsense" .*not available'
refuses SDL_VIDEODRIVER=nonsense
refusal='the video drivers "nonsense,wrong" .*not available'
refuses SDL_VIDEODRIVER=nonsense,wrong
# Too few files: the display is there, and the message must not deny it. Only
# the three standard descriptors are left open, as from a terminal.
rm -f "$RUN_DIR/err.txt"
set +e
(
    cd "$RUN_DIR" && exec >/dev/null 2>err.txt
    for fd in $(ls /proc/$BASHPID/fd); do
        ((fd > 2)) && eval "exec $fd>&-"
    done
    ulimit -n 4 && XDG_RUNTIME_DIR=$RUN_DIR exec timeout 20 ./dellomar
)
code=$?
set -e
echo "open file limit 4: exit $code, said: $(cat "$RUN_DIR/err.txt")"
[[ $code -eq 1 ]] || { echo "expected exit code 1" >&2; exit 1; }
grep -q '^dellomar: .*ulimit -n' "$RUN_DIR/err.txt" || { echo "the file limit is not named" >&2; exit 1; }

# Border hints are only set when the server knows their atom, as it does under
# any window manager; a bare server learns it from this property.
xprop -root -f _MOTIF_WM_HINTS 32c -set _MOTIF_WM_HINTS 0
(cd "$RUN_DIR" && exec ./dellomar) &
game=$!
wait_for_window "Dellomar ++"
# Flags 0x2 say the decorations field is set; decorations 0 is borderless.
# The name may show up a moment before the hints do, and the first window may
# be remade once the renderer is chosen, so the window is looked up each time.
borderless() {
    find_window "Dellomar ++" && window=$WINDOW &&
        hints=$(xprop -id "$window" _MOTIF_WM_HINTS 2>/dev/null) &&
        [[ $hints == *"= 0x2, 0x0, 0x0"* ]]
}
window="" hints=""
wait_until 10 borderless || true
echo "window $window: $hints"
[[ $hints == *"= 0x2, 0x0, 0x0"* ]] || { echo "window is not borderless" >&2; exit 1; }
sleep 1
kill -0 "$game" || { echo "the game stopped on its own" >&2; exit 1; }
kill -TERM "$game"
set +e
wait "$game"
code=$?
set -e
echo "SIGTERM: exit $code"
[[ $code -eq 0 ]]

# A signal on the new-game dialog and on the credits, which read no messages,
# still ends the game at once with 0; the questions need no answer first.
entry_shows() { ! field_shows "$RUN_DIR"; }
to_new_game() { xdotool mousemove_relative -- 670 40 mousedown 1; }
to_credits() { xdotool keydown F12; }
for screen in to_new_game to_credits; do
    for signal in TERM INT HUP; do
        (cd "$RUN_DIR" && SDL_AUDIODRIVER=dummy exec ./dellomar) &
        game=$!
        wait_for_window "Dellomar ++"
        wait_for_field "$RUN_DIR"
        "$screen"
        wait_until 30 entry_shows || { echo "$screen: no entry screen" >&2; exit 1; }
        xdotool mouseup 1 keyup F12
        kill -"$signal" "$game"
        wait_until 5 game_gone "$game" || { echo "$screen: SIG$signal left the game running" >&2; kill -9 "$game"; exit 1; }
        set +e
        wait "$game"
        code=$?
        set -e
        echo "$screen, SIG$signal: exit $code"
        [[ $code -eq 0 ]]
    done
done
