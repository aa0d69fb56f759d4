#!/usr/bin/env bash
# The real executable starts, plays and quits with exit code 0 with nothing
# beside it (no pictures, no sounds, no saved game) and with a sound driver
# that does not exist; then the same with its data but without sound.
set -euo pipefail
game_dir=$1
source "$(dirname "$0")/lib/xvfb.sh"
start_xvfb

# Moves and clicks on the field, then quits with Escape.
play_and_quit() {
    local dir=$1 game code
    (cd "$dir" && SDL_AUDIODRIVER=no-such-driver exec ./dellomar) &
    game=$!
    wait_for_window "Dellomar ++"
    sleep 0.5
    xdotool mousemove_relative -- 100 100 click 1 click 3
    sleep 0.3
    xdotool mousemove_relative -- 40 -30 click 1
    # The keyboard is read only once the game has opened its devices, which on
    # a busy machine may be a while after the window appears: tap Escape until
    # the game ends.
    game_gone() { ! kill -0 "$game" 2>/dev/null; }
    escape_ends_game() { xdotool keydown Escape keyup Escape; wait_until 2 game_gone; }
    if ! wait_until 30 escape_ends_game; then
        echo "the game did not quit on Escape" >&2
        kill -KILL "$game"
        return 1
    fi
    set +e
    wait "$game"
    code=$?
    set -e
    echo "$2: exit $code"
    [[ $code -eq 0 ]]
}

empty=$(mktemp -d)
RUN_DIR=$empty
cp "$game_dir/dellomar" "$empty/"
play_and_quit "$empty" "empty folder, no sound driver"
rm -rf "$empty"

make_run_dir "$game_dir"
rm -f "$RUN_DIR/save.gm"
play_and_quit "$RUN_DIR" "game folder, no sound driver"
