#!/usr/bin/env bash
# The real executable opens its borderless window, keeps running, and ends
# cleanly on SIGTERM; without any display it refuses with one line and a
# non-zero exit.
set -euo pipefail
game_dir=$1
source "$(dirname "$0")/lib/xvfb.sh"
make_run_dir "$game_dir"

# No display at all: one line on stderr, non-zero exit, nothing saved.
set +e
(cd "$RUN_DIR" && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 20 ./dellomar \
    >/dev/null 2>"$RUN_DIR/err.txt")
code=$?
set -e
lines=$(wc -l <"$RUN_DIR/err.txt")
echo "no display: exit $code, said: $(cat "$RUN_DIR/err.txt")"
[[ $code -ne 0 && $code -ne 124 ]] || { echo "expected a failure exit" >&2; exit 1; }
[[ $lines -eq 1 ]] || { echo "expected one line on stderr" >&2; exit 1; }

start_xvfb
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
