#!/usr/bin/env bash
# The real game against files planted beside it: a FIFO named save.gm does not
# freeze Load (frames go on while Load is held, the lamp still follows the
# mouse, Escape ends the game with 0); a link named save.gm.new does not make
# Save write through it; SIGHUP during a held Save ends the game through its
# quit path, leaving save.gm whole and no temporary file behind.
set -euo pipefail
game_dir=$1
here=$(dirname "$0")
source "$here/lib/xvfb.sh"
source "$here/lib/game_steps.sh"
make_run_dir "$game_dir"
start_xvfb
cd "$RUN_DIR"

mkfifo save.gm
echo "keep me" >victim.txt
ln -s victim.txt save.gm.new

start_game() {
    (SDL_AUDIODRIVER=dummy exec ./dellomar) &
    game=$!
    wait_for_window "Dellomar ++"
    wait_for_field "$RUN_DIR"
}
is_saved() { [[ -f save.gm && ! -p save.gm && $(stat -c %s save.gm) -eq 1254 ]]; }
leftovers() { find . -maxdepth 1 -name 'save.gm.new-*' | wc -l; }
menu=165x240+635+0
lamp_at_180_200=120x120+180+200

start_game
# The cursor starts at (10, 10); the arrow appears over Load at (680, 100).
shoot menu.png
xdotool mousemove_relative -- 670 90
wait_for_change menu.png "$menu"
# With the button held over Load, every frame loads the FIFO: the arrow must
# still follow the mouse, twice over, so whole frames ran after a Load.
mv menu.png.now.png held.png
xdotool mousedown 1
xdotool mousemove_relative -- 20 0
wait_for_change held.png "$menu" || { echo "frames stopped while Load was held" >&2; exit 1; }
mv held.png.now.png held2.png
xdotool mousemove_relative -- -20 0
wait_for_change held2.png "$menu" || { echo "frames stopped while Load was held" >&2; exit 1; }
xdotool mouseup 1
[[ -p save.gm ]] || { echo "Load replaced the FIFO" >&2; exit 1; }

# Back onto the field at (180, 200): the lamp must show up there.
mv held2.png.now.png field-before.png
xdotool mousemove_relative -- -500 100
wait_for_change field-before.png "$lamp_at_180_200" || { echo "the lamp does not move after Load" >&2; exit 1; }

# Save at (680, 150), with save.gm.new a link to victim.txt.
xdotool mousemove_relative -- 500 -50
hold_left_until is_saved || { echo "Save wrote no saved game" >&2; exit 1; }
[[ $(cat victim.txt) == "keep me" ]] || { echo "Save wrote through save.gm.new" >&2; exit 1; }
[[ -L save.gm.new && $(readlink save.gm.new) == victim.txt ]] || { echo "save.gm.new was touched" >&2; exit 1; }
quit_with_escape "$game"
[[ $(leftovers) -eq 0 ]] || { echo "temporary files left behind" >&2; exit 1; }
echo "FIFO and link: passed"

# SIGHUP while Save is held: the save under way ends whole, nothing is left.
for run in 1 2 3; do
    start_game
    xdotool mousemove_relative -- 670 140
    before=$(stat -c %i save.gm)
    xdotool mousedown 1
    # Each save puts a new file in place: wait for saving to be under way.
    for _ in $(seq 100); do
        [[ $(stat -c %i save.gm) != "$before" ]] && break
        sleep 0.05
    done
    kill -HUP "$game"
    set +e
    wait "$game"
    code=$?
    set -e
    xdotool mouseup 1
    echo "SIGHUP run $run: exit $code, $(leftovers) temporary files"
    [[ $code -eq 0 ]] || { echo "SIGHUP did not take the quit path" >&2; exit 1; }
    [[ $(leftovers) -eq 0 ]] || { echo "SIGHUP left a temporary file" >&2; exit 1; }
    is_saved || { echo "save.gm is not whole after SIGHUP" >&2; exit 1; }
done
