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

# $1: a command to run the game under (strace, to see what it does), or none.
start_game() {
    (SDL_AUDIODRIVER=dummy exec "$@" ./dellomar) &
    game=$!
    wait_for_window "Dellomar ++"
    wait_for_field "$RUN_DIR"
}
is_saved() { [[ -f save.gm && ! -p save.gm && $(stat -c %s save.gm) -eq 1254 ]]; }
leftovers() { find . -maxdepth 1 -name 'save.gm.new-*' | wc -l; }
looks=0
looked_at_save() { (($(grep -c '/save.gm"' trace.txt) > looks)); }

# The trace of the game's file calls shows when Load has looked at save.gm;
# the frames of a held menu button are not shown, so the screen cannot.
start_game strace -f -qq -e trace=%file -o "$RUN_DIR/trace.txt"
# The cursor starts at (10, 10): hold the left button over Load (680, 100)
# until the game has looked at the FIFO, more than once.
xdotool mousemove_relative -- 670 90
looks=$(grep -c '/save.gm"' trace.txt || true)
looks=$((looks + 1))
hold_left_until looked_at_save || { echo "Load never looked at save.gm" >&2; exit 1; }
kill -0 "$game" || { echo "the game ended on loading a FIFO" >&2; exit 1; }
[[ -p save.gm ]] || { echo "Load replaced the FIFO" >&2; exit 1; }

# Back onto the field at (180, 200): the lamp must show up there.
shoot field-before.png
xdotool mousemove_relative -- -500 100
wait_for_change field-before.png 120x120+180+200 || { echo "the lamp does not move after Load" >&2; exit 1; }

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
    # The cursor starts at (10, 10): Save is at (680, 150).
    xdotool mousemove_relative -- 670 140
    before=$(stat -c %i save.gm)
    xdotool mousedown 1
    # Each save puts a new file in place: wait for saving to be under way.
    saved_again() { [[ $(stat -c %i save.gm) != "$before" ]]; }
    wait_until 10 saved_again || { echo "a held Save did not save" >&2; exit 1; }
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

# A file-size limit (ulimit -f 0): every held Save fails as on a full disk,
# the game plays on, save.gm stays as it was and no temporary file is left.
cp save.gm kept.gm
(SDL_AUDIODRIVER=dummy exec strace -f -qq -e trace=openat,unlink -o "$RUN_DIR/trace.txt" \
    bash -c 'ulimit -f 0 && exec ./dellomar') &
game=$!
wait_for_window "Dellomar ++"
wait_for_field "$RUN_DIR"
xdotool mousemove_relative -- 670 140
tries() { grep -c 'save.gm.new-.*O_CREAT' trace.txt || true; }
tried_thrice() { kill -0 "$game" 2>/dev/null && (($(tries) >= 3)); }
hold_left_until tried_thrice || { echo "Save under a file-size limit: the game is gone or never saved" >&2; exit 1; }
echo "file-size limit: $(tries) saves tried"
cmp -s save.gm kept.gm || { echo "a refused Save changed save.gm" >&2; exit 1; }
quit_with_escape "$game"
[[ $(leftovers) -eq 0 ]] || { echo "a refused Save left its temporary file" >&2; exit 1; }
echo "file-size limit: passed"
