#!/usr/bin/env bash
# Where the real game finds its files, whatever folder it is started from.
# Portable: a copy of the game folder, started from another folder, shows its
# pictures and saves beside itself. Installed: the executable in <prefix>/games
# and the data in <prefix>/share/games/dellomar, started from an empty folder
# with XDG_DATA_HOME unset, shows its pictures and saves into
# ~/.local/share/dellomar, made for the owner alone; with HOME naming a missing
# folder it makes no home folder.
set -euo pipefail
game_dir=$1
here=$(dirname "$0")
source "$here/lib/xvfb.sh"
source "$here/lib/game_steps.sh"
unset XDG_DATA_HOME
make_run_dir "$game_dir"
start_xvfb
scratch=$RUN_DIR/scratch
mkdir -p "$scratch/elsewhere" "$scratch/empty" "$scratch/home" "$scratch/prefix/games" \
    "$scratch/prefix/share/games/dellomar"

# Plays from the folder $1 the game $2, saves, and quits; $3: where save.gm must appear.
play_and_save() {
    local from=$1 exe=$2 save=$3
    (cd "$from" && SDL_AUDIODRIVER=dummy exec "$exe") &
    local game=$!
    wait_for_window "Dellomar ++"
    wait_for_field "$scratch"
    # The cursor starts at (10, 10): hold the left button over Save (680, 150).
    xdotool mousemove_relative -- 670 140
    hold_left_until test -s "$save" || { echo "no saved game at $save" >&2; exit 1; }
    quit_with_escape "$game"
    echo "saved: $(stat -c %s "$save") bytes at $save"
    [[ $(stat -c %s "$save") -eq 1254 ]]
}

play_and_save "$scratch/elsewhere" "$RUN_DIR/dellomar" "$RUN_DIR/save.gm"
[[ -z $(ls -A "$scratch/elsewhere") ]] || { echo "the portable game wrote into its working folder" >&2; exit 1; }
echo "portable layout: passed"

cp "$RUN_DIR/dellomar" "$scratch/prefix/games/"
cp -r "$RUN_DIR/Textures" "$RUN_DIR/Sounds" "$scratch/prefix/share/games/dellomar/"
HOME=$scratch/home play_and_save "$scratch/empty" "$scratch/prefix/games/dellomar" \
    "$scratch/home/.local/share/dellomar/save.gm"
[[ -z $(ls -A "$scratch/empty") ]] || { echo "the installed game wrote into its working folder" >&2; exit 1; }
mode=$(stat -c %a "$scratch/home/.local/share/dellomar")
echo "player's folder mode: $mode"
[[ $mode == 700 ]]
echo "installed layout: passed"

# HOME names a folder that does not exist: Save fails, and makes no home.
(cd "$scratch/empty" && HOME=$scratch/nohome SDL_AUDIODRIVER=dummy exec strace -f -qq \
    -e trace=%file -o "$scratch/trace.txt" "$scratch/prefix/games/dellomar") &
game=$!
wait_for_window "Dellomar ++"
wait_for_field "$scratch"
xdotool mousemove_relative -- 670 140
tried_thrice() { (($(grep -c "\"$scratch/nohome\"" "$scratch/trace.txt") >= 3)); }
hold_left_until tried_thrice || { echo "Save never looked for the home folder" >&2; exit 1; }
quit_with_escape "$game"
[[ ! -e $scratch/nohome ]] || { echo "Save made the missing home folder" >&2; exit 1; }
[[ -z $(ls -A "$scratch/empty") ]] || { echo "the game wrote into its working folder" >&2; exit 1; }
echo "missing home: passed"
