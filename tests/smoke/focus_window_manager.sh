#!/usr/bin/env bash
# The game's window under a small window manager: it has the keyboard as soon
# as it appears, the lamp follows the mouse, another window can take the focus
# away, and when the game gets it back the lamp follows the mouse again and
# an Escape tap ends the game with exit code 0.
set -euo pipefail
game_dir=$1
source "$(dirname "$0")/lib/xvfb.sh"
command -v icewm >/dev/null || { echo "icewm is needed (apt-get install icewm)" >&2; exit 1; }
make_run_dir "$game_dir"
start_xvfb
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    smoke_cleanup
}
trap cleanup EXIT

HOME=$RUN_DIR icewm >"$RUN_DIR/wm.log" 2>&1 &
pids+=($!)
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_until 20 wm_running || { echo "the window manager did not start" >&2; exit 1; }

(cd "$RUN_DIR" && SDL_AUDIODRIVER=dummy exec ./dellomar) &
game=$!
pids+=("$game")
wait_for_window "Dellomar ++"

# The field (the screen's top left 575 x 575) as it is now, in NAME.png.
field_shot() {
    import -window root "$RUN_DIR/screen.png"
    convert "$RUN_DIR/screen.png" -crop 575x575+0+0 +repage "$RUN_DIR/$1.png"
}
field_drawn() {
    field_shot start
    awk -v m="$(convert "$RUN_DIR/start.png" -format '%[fx:mean]' info:)" 'BEGIN { exit !(m > 0.02) }'
}
# Nothing on the field moves by itself: a change is the lamp moving.
field_changed_since() {
    field_shot now
    local changed
    changed=$(compare -metric AE -fuzz 10% "$RUN_DIR/$1.png" "$RUN_DIR/now.png" null: 2>&1 || true)
    [[ $changed =~ ^[0-9]+$ ]] && ((changed > 100))
}
# Motion sent while the window manager is still placing the window, or before
# the game takes the mouse again, may be lost: move until the lamp follows.
nudge_moves_lamp() {
    field_shot before
    xdotool mousemove_relative -- 23 23
    wait_until 3 field_changed_since before
}

wait_until 60 field_drawn || { echo "no field on the screen" >&2; exit 1; }
wait_until 10 focus_named "Dellomar ++" || { echo "the game's window did not get the focus" >&2; exit 1; }
window=$FOCUSED
wait_until 60 nudge_moves_lamp || { echo "the lamp did not follow the mouse" >&2; exit 1; }
echo "the window has the focus at once, and the lamp follows the mouse"

xmessage -geometry 200x80+300+300 "another window" &
pids+=($!)
# A window manager gives a new window the focus.
wait_until 10 focus_named xmessage || { echo "the other window did not get the focus" >&2; exit 1; }
xdotool windowactivate "$window"
wait_until 10 focus_named "Dellomar ++" || { echo "the game did not get the focus back" >&2; exit 1; }
echo "the focus went to another window and came back"
wait_until 60 nudge_moves_lamp ||
    { echo "the lamp did not follow the mouse after the switch" >&2; exit 1; }
echo "the lamp follows the mouse again"

xdotool keydown Escape keyup Escape
wait_for_exit "$game" 10 || { echo "the game did not end on Escape" >&2; exit 1; }
echo "exit code $EXIT_CODE"
[[ $EXIT_CODE -eq 0 ]]
