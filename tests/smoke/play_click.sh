#!/usr/bin/env bash
# The real game in a real X server with no window manager: it starts and
# presents frames, and clicks and a key sent through XTest as a press and a
# release with no pause between them still count. A right click flags the cell
# under the lamp, a left click opens another, one over Save writes the saved
# game (where both are checked), and an Escape tap ends it with exit code 0.
set -euo pipefail
game_dir=$1
source "$(dirname "$0")/lib/xvfb.sh"
make_run_dir "$game_dir"
start_xvfb

(cd "$RUN_DIR" && SDL_AUDIODRIVER=dummy exec ./dellomar) &
game=$!
wait_for_window "Dellomar ++"

shot() { import -window root "$RUN_DIR/$1.png"; }
# Cell (x, y) of the field, which is drawn at the screen's top left, 23 pixels a cell.
cell_of() { convert "$RUN_DIR/$1.png" -crop "23x23+$(($2 * 23))+$(($3 * 23))" +repage "$RUN_DIR/$4.png"; }
field_drawn() {
    shot start
    awk -v m="$(convert "$RUN_DIR/start.png" -crop 100x100+200+200 -format '%[fx:mean]' info:)" \
        'BEGIN { exit !(m > 0.02) }'
}
# Whether cell (x, y) now looks different from the picture named.
cell_changed() {
    shot now
    cell_of now "$2" "$3" now-cell
    local changed
    changed=$(compare -metric AE -fuzz 10% "$RUN_DIR/$1.png" "$RUN_DIR/now-cell.png" null: 2>&1 || true)
    [[ $changed =~ ^[0-9]+$ ]] && ((changed > 20))
}
# Taps with no pause; the next step waits until the game has shown its effect.
tap_at() {
    local button=$1 x=$2 y=$3
    shot before
    cell_of before "$x" "$y" before-cell
    xdotool mousedown "$button" mouseup "$button"
    wait_until 30 cell_changed before-cell "$x" "$y" ||
        { echo "button $button changed nothing at cell ($x, $y)" >&2; exit 1; }
}

# Input sent before the first frames would be lost.
wait_until 60 field_drawn || { echo "no field on screen" >&2; exit 1; }
# With no window manager nobody but the game gives its window the keyboard.
focus_named "Dellomar ++" || { echo "the game's window does not have the focus" >&2; exit 1; }

# The lamp starts over cell (2, 2), every cell hidden: flag it, move two cells
# right and open that one. The cursor starts at (10, 10).
tap_at 3 2 2
xdotool mousemove_relative -- 46 0
tap_at 1 4 2

# Over Save (the cursor goes from (56, 10) to (680, 150)).
xdotool mousemove_relative -- 624 140 mousedown 1 mouseup 1
wait_until 30 test -f "$RUN_DIR/save.gm" || { echo "no saved game written" >&2; exit 1; }
# Cell (x, y) is record x * 25 + y; its state byte is the second of the pair.
state_of() { dd if="$RUN_DIR/save.gm" bs=1 skip=$((4 + 2 * ($1 * 25 + $2) + 1)) count=1 2>/dev/null; }
flagged=$(state_of 2 2)
opened=$(state_of 4 2)
echo "state of cell (2, 2): $flagged, of cell (4, 2): $opened"
[[ $flagged == 2 ]] || { echo "the right click did not flag the cell" >&2; exit 1; }
[[ $opened == [13] ]] || { echo "the left click did not open the cell" >&2; exit 1; }

xdotool keydown Escape keyup Escape
wait_for_exit "$game" 10 || { echo "the game did not end on Escape" >&2; exit 1; }
echo "exit code $EXIT_CODE"
[[ $EXIT_CODE -eq 0 ]]
