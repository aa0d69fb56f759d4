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

# The bounding box of the lamp's warm ring on the field, as WxH+X+Y.
lamp() {
    import -window root "$RUN_DIR/shot.png"
    convert "$RUN_DIR/shot.png" -crop 575x575+0+0 +repage \
        -fx '(r > 0.66 && g > 0.3 && b < 0.4) ? 1 : 0' -format '%@' info:
}
lamp_seen() { LAMP=$(lamp) && [[ $LAMP =~ ^[0-9]+x[0-9]+\+[0-9]+\+[0-9]+$ && $LAMP != 0x0+* ]]; }
lamp_moved() { LAMP=$(lamp) && [[ $LAMP != "$1" ]]; }

wait_until 60 lamp_seen || { echo "no lamp on the field" >&2; exit 1; }
wait_until 10 focus_named "Dellomar ++" || { echo "the game's window did not get the focus" >&2; exit 1; }
window=$FOCUSED
start=$LAMP
# Motion sent while the window manager is still placing the window may be
# lost: move until the lamp follows.
nudge_moves_lamp() { xdotool mousemove_relative -- 23 23; wait_until 2 lamp_moved "$1"; }
wait_until 30 nudge_moves_lamp "$start" || { echo "the lamp did not follow the mouse" >&2; exit 1; }
echo "focused at once; lamp from $start to $LAMP"

xmessage -geometry 200x80+300+300 "another window" &
pids+=($!)
# A window manager gives a new window the focus.
wait_until 10 focus_named xmessage || { echo "the other window did not get the focus" >&2; exit 1; }
xdotool windowactivate "$window"
wait_until 10 focus_named "Dellomar ++" || { echo "the game did not get the focus back" >&2; exit 1; }
# The game takes the mouse again when it next reads its events: move until
# the lamp follows.
wait_until 30 lamp_seen || { echo "no lamp after the switch" >&2; exit 1; }
back=$LAMP
wait_until 30 nudge_moves_lamp "$back" ||
    { echo "the lamp did not follow the mouse after the switch" >&2; exit 1; }
echo "focus back; lamp from $back to $LAMP"

xdotool keydown Escape keyup Escape
wait_for_exit "$game" 10 || { echo "the game did not end on Escape" >&2; exit 1; }
echo "exit code $EXIT_CODE"
[[ $EXIT_CODE -eq 0 ]]
