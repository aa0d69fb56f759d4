#!/usr/bin/env bash
# The real game in a real X server: it starts and presents frames, a click
# sent through XTest opens the cell under the lamp (seen in the saved game
# written by holding Save), and Escape ends it with exit code 0.
set -euo pipefail
game_dir=$1
source "$(dirname "$0")/lib/xvfb.sh"
make_run_dir "$game_dir"
start_xvfb

(cd "$RUN_DIR" && SDL_AUDIODRIVER=dummy exec ./dellomar) &
game=$!
wait_for_window "Dellomar ++"
# Wait for the first frames: the backdrop's middle is not black once drawn.
# Input sent before then would be lost, since the game polls state.
corner=0
for _ in $(seq 40); do
    import -window root "$RUN_DIR/start.png"
    corner=$(convert "$RUN_DIR/start.png" -crop 100x100+200+200 -format '%[fx:mean]' info:)
    awk -v m="$corner" 'BEGIN { exit !(m > 0.02) }' && break
    sleep 0.25
done
echo "field brightness: $corner"
awk -v m="$corner" 'BEGIN { exit !(m > 0.02) }' || { echo "no field on screen" >&2; exit 1; }
sleep 0.2

# The lamp starts over cell (2, 2): open it.
# Buttons and keys are held a while: the game sees only the state at each frame.
xdotool mousedown 1; sleep 0.3; xdotool mouseup 1; sleep 0.3

# Hold the left button over Save: the cursor goes from (10, 10) to (680, 150).
xdotool mousemove_relative -- 670 140; sleep 0.3
xdotool mousedown 1; sleep 0.3; xdotool mouseup 1; sleep 0.3
[[ -f $RUN_DIR/save.gm ]] || { echo "no saved game written" >&2; exit 1; }
# Cell (2, 2) is record 2 * 25 + 2; its state byte is the second of the pair.
state=$(dd if="$RUN_DIR/save.gm" bs=1 skip=$((4 + 2 * (2 * 25 + 2) + 1)) count=1 2>/dev/null)
echo "state of cell (2, 2): $state"
[[ $state == 3 ]] || { echo "the click did not open the cell" >&2; exit 1; }

xdotool keydown Escape; sleep 0.3; xdotool keyup Escape
set +e
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$game" 2>/dev/null; then
    echo "the game did not end on Escape" >&2
    kill -9 "$game"
    exit 1
fi
wait "$game"
code=$?
set -e
echo "exit code $code"
[[ $code -eq 0 ]]
