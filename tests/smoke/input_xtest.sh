#!/usr/bin/env bash
# Keyboard and mouse through the input code on the SDL backend, in a private
# Xvfb, with input sent through XTest: a key tapped between two reads shows in
# the key state under its scan code, relative motion and tapped buttons show
# in the mouse state, and the live Escape and Alt state that the quit keys
# read shows taps too.
set -euo pipefail
game_dir=${1:?usage: input_xtest.sh GAME-DIR}
check=$(cd "$game_dir/.." && pwd)/sdl-checks/sdl_input_check
source "$(dirname "$0")/lib/xvfb.sh"
work=$(mktemp -d)
check_pid=""
cleanup() {
    [ -n "$check_pid" ] && kill "$check_pid" 2>/dev/null || true
    rm -rf "$work"
    smoke_cleanup
}
trap cleanup EXIT
start_xvfb

# Reads come 250 ms apart, and every key and button is a tap with no pause
# between press and release: it falls between two reads and must count.
SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy "$check" 20 250 >"$work/out" 2>&1 &
check_pid=$!
# Input sent before the window exists is lost: wait for it.
check_ready() { grep -q '^ready' "$work/out"; }
wait_until 15 check_ready || { cat "$work/out"; echo "FAIL: the window never came"; exit 1; }

xdotool keydown 1 keyup 1
xdotool mousemove_relative -- 30 20
xdotool mousedown 1 mouseup 1 mousedown 3 mouseup 3
xdotool keydown Escape keyup Escape
xdotool keydown Alt_L keyup Alt_L
status=0
wait "$check_pid" || status=$?
check_pid=""
cat "$work/out"

fail=0
grep -q '^open input=1 keyboard=1 mouse=1' "$work/out" || { echo "FAIL: devices did not open"; fail=1; }
grep -q '^key 0x02 0x80' "$work/out" || { echo "FAIL: DIK_1 was not seen down"; fail=1; }
grep -Eq '^motion -?[0-9]+ -?[0-9]+' "$work/out" || { echo "FAIL: no mouse motion"; fail=1; }
# Motion goes right and down, as sent.
if ! grep -Eq '^seen total [1-9][0-9]* [1-9][0-9]*' "$work/out"; then
    echo "FAIL: the motion did not add up to right and down"
    fail=1
fi
grep -q '^button left 0x80' "$work/out" || { echo "FAIL: the left button was not seen"; fail=1; }
grep -q '^button right 0x80' "$work/out" || { echo "FAIL: the right button was not seen"; fail=1; }
grep -q '^live escape' "$work/out" || { echo "FAIL: the live Escape state was not seen"; fail=1; }
grep -q '^live alt' "$work/out" || { echo "FAIL: the live Alt state was not seen"; fail=1; }
grep -q '^read failed' "$work/out" && { echo "FAIL: a state read failed"; fail=1; }
[ "$status" -eq 0 ] || { echo "FAIL: the check program ended with $status"; fail=1; }
[ "$fail" -eq 0 ] && echo "PASS"
exit "$fail"
