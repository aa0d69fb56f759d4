#!/usr/bin/env bash
# The real game in an X server without a graphics device (Xvfb has no DRI
# node and only a GL that draws on the processor): it says, when asked, that
# it presents through SDL's software renderer, the field draws, the lamp
# follows the mouse, and it stays small. Under address-space limits it either
# plays or ends with code 1 and a line saying it ran out of memory while
# opening its window, never with a signal.
set -uo pipefail
game_dir=$1
source "$(dirname "$0")/lib/xvfb.sh"
make_run_dir "$game_dir"
start_xvfb || exit 1
# The most a game at rest may keep resident, in kB.
RSS_LIMIT_KB=$((25 * 1024))

shot() { import -window root "$RUN_DIR/$1.png"; }
# The share of the lamp's orange ring in a 130 x 130 box at (x, y) of a screenshot.
orange_in() {
    convert "$RUN_DIR/$1.png" -crop "130x130+$2+$3" +repage \
        -fx 'r > 0.7 && g > 0.3 && b < 0.35' -format '%[fx:mean]' info:
}
field_drawn() {
    shot field
    awk -v m="$(convert "$RUN_DIR/field.png" -crop 100x100+200+200 -format '%[fx:mean]' info:)" \
        'BEGIN { exit !(m > 0.02) }'
}
lamp_at() {
    shot lamp
    awk -v here="$(orange_in lamp "$1" "$2")" 'BEGIN { exit !(here > 0.02) }'
}
lamp_gone_from() {
    awk -v there="$(orange_in lamp "$1" "$2")" 'BEGIN { exit !(there < 0.005) }'
}
reported() { grep -q "presenting through" "$1"; }
game_gone() { ! kill -0 "$1" 2>/dev/null; }

status=0
fail() {
    echo "$*" >&2
    status=1
}

echo "== the software path"
log=$RUN_DIR/stderr.txt
(cd "$RUN_DIR" && SDL_AUDIODRIVER=dummy DELLOMAR_REPORT_PRESENTATION=1 exec ./dellomar) 2>"$log" &
game=$!
wait_until 60 reported "$log" || { cat "$log" >&2; fail "the game never said how it presents"; }
cat "$log"
grep -q "presenting through software" "$log" || fail "not the software renderer"
wait_until 60 field_drawn || fail "no field on screen"
# The lamp starts at the field's top left; the cursor moves it by as much.
wait_until 10 lamp_at 0 0 || fail "no lamp at the start"
xdotool mousemove_relative -- 200 150
wait_until 30 lamp_at 200 150 || fail "the lamp did not follow the mouse"
lamp_gone_from 0 0 || fail "the lamp stayed where it was too"
rss=$(awk '$1 == "VmRSS:" { print $2 }' "/proc/$game/status")
echo "resident at rest: $rss kB"
((rss <= RSS_LIMIT_KB)) || fail "resident memory $rss kB is above $RSS_LIMIT_KB kB"
kill -TERM "$game"
wait_for_exit "$game" 10 || fail "the game did not end on SIGTERM"
((EXIT_CODE == 0)) || fail "exit code $EXIT_CODE after SIGTERM"

# Each limit plays or ends with the message; the sound device is the real one
# here (none, on most test machines), as a player would have it. The limits
# below 100 MB leave room for the program but, depending on the machine, not
# for its window (the message) or not even for its libraries (the loader's
# code 127); a signal is wrong at any limit.
for mb in 24 32 100 150 250 400 600; do
    echo "== ulimit -v $((mb * 1024))"
    : >"$log"
    (cd "$RUN_DIR" && ulimit -v $((mb * 1024)) && DELLOMAR_REPORT_PRESENTATION=1 exec ./dellomar) \
        2>"$log" &
    game=$!
    shown_or_gone() { reported "$log" || game_gone "$game"; }
    if ! wait_until 60 shown_or_gone; then
        fail "at $mb MB: neither a frame nor an exit"
        kill -KILL "$game"
        wait "$game"
        continue
    fi
    if game_gone "$game"; then
        wait_for_exit "$game" 1
        grep -v '^ALSA lib' "$log"
        if ((mb < 100 && EXIT_CODE == 127)) && grep -q "error while loading shared libraries" "$log"; then
            continue
        fi
        if ((EXIT_CODE != 1)) || ! grep -qx "dellomar: .*ran out of memory while opening the window" "$log"; then
            fail "at $mb MB: exit code $EXIT_CODE without the out-of-memory line"
        fi
        continue
    fi
    grep "presenting through" "$log"
    wait_until 60 field_drawn || fail "at $mb MB: no field on screen"
    kill -TERM "$game"
    wait_for_exit "$game" 10 || fail "at $mb MB: the game did not end on SIGTERM"
    ((EXIT_CODE == 0)) || fail "at $mb MB: exit code $EXIT_CODE after SIGTERM"
done
exit $status
