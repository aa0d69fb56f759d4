#!/usr/bin/env bash
# The Windows game under Wine, in a private X server of 800x600 at 16 bits,
# for each Windows build in turn (i686 in a 32-bit Wine set-up, x86_64 in a
# 64-bit one). First the backend's own checks
# (tests/win32/win32_backend_check.cpp), then the game, played through XTest
# the way a person would: it must show the field's backdrop and the menu panel,
# flag and open the cells it is clicked on, save the board, and quit on Escape
# with exit code 0, all without a sound device. Every click and key is a press
# and release with no pause between. The backend's file checks run a second
# time beside the setup program's marker (the player's folder in AppData).
# Then the build's setup program (dellomar-windows-setup.exe) in the same
# scratch Wine set-up: installed with /S, its files, Start menu shortcut and
# uninstall entry; the installed game started from elsewhere by the shortcut's
# target shows its pictures and saves into %APPDATA%\Dellomar only; a second
# install keeps one entry and the save; the silent uninstaller leaves nothing
# of the program but the save.
# Then paths as players have them: the setup installs over the running game
# (which it ends through its quit path), into C:\Games\Déllomar游戏 and
# into a folder that makes the game's path over 260 characters; the game
# draws and saves from each, the first with a player's folder (AppData) in a
# name outside the code page; a silent setup beside a game that cannot end
# (it asks the New dialog's questions) refuses with exit code 2 and changes
# nothing; started without its backdrop the game names the file
# it cannot read; and the silent uninstaller, run while that game runs, ends
# it and leaves nothing of the program but the saved game.
#
# Usage: tests/win32/smoke_wine.sh [ARCH | WINDOWS_BUILD_DIR]...
#   ARCH is i686 or x86_64 (build-win32-ARCH); with none, both.
# Needs wine64, wine32:i386, Xvfb, xdotool, xdpyinfo, ImageMagick and strings.
# Keeps the last screenshot as WINDOWS_BUILD_DIR/smoke.png; KEEP_SHOTS=<dir>
# keeps them all.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
# Each build runs in a fresh copy of this script: its own X server, Wine
# set-up and clean-up.
if (($# != 1)) || [[ $1 == i686 || $1 == x86_64 ]]; then
    (($#)) || set -- i686 x86_64
    for build in "$@"; do
        [[ $build == */* ]] || build=$root/build-win32-$build
        echo "== $build"
        bash "$0" "$build"
    done
    exit 0
fi
build=$(cd "$1" && pwd)
[[ -x $build/game/dellomar.exe ]] || { echo "no $build/game/dellomar.exe" >&2; exit 1; }
# The machine field of the PE header says which Wine the build needs.
pe_at=$(od -An -tu4 -j60 -N4 "$build/game/dellomar.exe" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe_at + 4)) -N2 "$build/game/dellomar.exe" | tr -d ' ')
case $machine in
    014c)
        export WINEARCH=win32
        # A kernel built without 32-bit support cannot start 32-bit Wine at
        # all; the x86_64 run then covers the same checks on this machine.
        if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
            echo "SKIPPED $build: this kernel cannot run 32-bit programs (no 32-bit Wine here)"
            exit 0
        fi
        ;;
    8664) export WINEARCH=win64 ;;
    *) echo "dellomar.exe is for no x86 machine ($machine)" >&2; exit 1 ;;
esac
source "$root/tests/smoke/lib/xvfb.sh"

PREFIX_DIR=""
wine_cleanup() {
    if [[ -n $PREFIX_DIR ]]; then
        # Ends the game too, if it is still running.
        WINEPREFIX=$PREFIX_DIR/prefix wineserver -k >/dev/null 2>&1 || true
        WINEPREFIX=$PREFIX_DIR/prefix timeout 20 wineserver -w >/dev/null 2>&1 || true
        rm -rf "$PREFIX_DIR" 2>/dev/null || { sleep 1 && rm -rf "$PREFIX_DIR" 2>/dev/null; } || true
    fi
    smoke_cleanup
}
trap wine_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    [[ -f $RUN_DIR/shot.png ]] && cp "$RUN_DIR/shot.png" "$build/smoke.png"
    exit 1
}

# Mean brightness (0..1) and brightest value of a WxH+X+Y area of a screenshot.
area_mean() { convert "$1" -crop "$2" +repage -format '%[fx:mean]' info:; }
area_max() { convert "$1" -crop "$2" +repage -format '%[fx:maxima]' info:; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

shoot() { import -window root "$RUN_DIR/$1"; }

# A press and release with no pause between them: both fall between two reads
# of the device, and the game must see the press all the same. Then waits
# (up to 20 s) until the WxH+X+Y area of the screen changes.
tap_until_changed() {
    local button=$1 area=$2 changed=""
    shoot before.png
    convert "$RUN_DIR/before.png" -crop "$area" +repage "$RUN_DIR/before-area.png"
    xdotool mousedown "$button" mouseup "$button"
    for _ in $(seq 40); do
        shoot after.png
        convert "$RUN_DIR/after.png" -crop "$area" +repage "$RUN_DIR/after-area.png"
        changed=$(compare -metric AE -fuzz 10% "$RUN_DIR/before-area.png" \
            "$RUN_DIR/after-area.png" null: 2>&1 || true)
        [[ $changed =~ ^[0-9]+$ ]] && ((changed > 20)) && break
        sleep 0.5
    done
    echo "pixels changed in $area: $changed"
    [[ $changed =~ ^[0-9]+$ ]] && ((changed > 20))
}

# A private Wine set-up, made before the X server exists so that nothing of it
# pops up; without Mono and Gecko there is nothing to offer to install.
# No menu entries of the installed game in the real home's menus either.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine takes the command line's bytes in the locale's encoding: UTF-8, so that
# folder names in any script reach Windows as they are spelled here.
export LC_ALL=C.UTF-8
PREFIX_DIR=$(mktemp -d)
export WINEPREFIX=$PREFIX_DIR/prefix
# The plain `wine` launcher is itself a 32-bit program whenever 32-bit Wine is
# installed; a 64-bit build goes straight to the 64-bit loader, so that it also
# runs on a kernel that cannot start 32-bit programs.
if [[ $WINEARCH == win64 && -x /usr/lib/wine/wine64 ]]; then
    mkdir "$PREFIX_DIR/bin"
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$PREFIX_DIR/bin/wine"
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 wineboot.exe "$@"\n' >"$PREFIX_DIR/bin/wineboot"
    chmod +x "$PREFIX_DIR/bin/wine" "$PREFIX_DIR/bin/wineboot"
    export PATH=$PREFIX_DIR/bin:$PATH WINELOADER=/usr/lib/wine/wine64
fi
started=$SECONDS
env -u DISPLAY wineboot -i >/dev/null 2>&1
wineserver -w
echo "$WINEARCH wine prefix ready in $((SECONDS - started)) s"

make_run_dir "$build/game"
[[ -n ${KEEP_SHOTS:-} ]] && trap 'cp "$RUN_DIR"/*.png "$KEEP_SHOTS"/; wine_cleanup' EXIT
start_xvfb 16

# The backend's own checks first, in the same X server and Wine set-up.
check=$build/checks/dellomar_win32_check.exe
[[ -x $check ]] || fail "no $check"
mkdir -p "$RUN_DIR/checks"
set +e
(cd "$RUN_DIR/checks" && timeout 120 wine "$check" 2>/dev/null)
code=$?
set -e
[[ $code -eq 0 ]] || fail "the backend checks failed (exit $code)"
# The backend checks again beside the setup program's marker, so that the
# player's folder is the one in AppData; $1 says which AppData in a failure.
installed_layout_checks() {
    mkdir -p "$RUN_DIR/checks"
    cp "$check" "$RUN_DIR/checks/"
    touch "$RUN_DIR/checks/installed.txt"
    set +e
    (cd "$RUN_DIR" && timeout 60 wine checks/dellomar_win32_check.exe 2>/dev/null)
    code=$?
    set -e
    [[ $code -eq 0 ]] || fail "the installed layout's checks failed$1 (exit $code)"
    rm -rf "$RUN_DIR/checks"
}
installed_layout_checks ""

# Starts the game from folder $1 as Windows path or file $2 and waits until it
# shows the field's backdrop, the menu panel and black between them.
start_game() {
    # The pointer over the field, where a fresh X server has it: find_cursor
    # needs the lamp on the field.
    xdotool mousemove 400 300
    (cd "$1" && exec wine "$2" >"$RUN_DIR/out.txt" 2>&1) &
    game=$!
    # Wine's first start in a fresh prefix takes a while.
    for _ in $(seq 600); do
        xdotool search --name "^Dellomar \+\+$" >/dev/null 2>&1 && break
        kill -0 "$game" 2>/dev/null || { cat "$RUN_DIR/out.txt" >&2; fail "the game ended before its window appeared"; }
        sleep 0.1
    done
    xdotool search --name "^Dellomar \+\+$" >/dev/null 2>&1 || fail "no window named 'Dellomar ++'"
    echo "window after $((SECONDS - started)) s"

    # The display takes a moment to come up after the window.
    for _ in $(seq 30); do
        sleep 1
        shoot start.png
        field=$(area_mean "$RUN_DIR/start.png" 400x400+100+150)
        above "$field" 0.02 && break
    done
    echo "first picture after $((SECONDS - started)) s"
    sleep 1
    shoot start.png
    cp "$RUN_DIR/start.png" "$RUN_DIR/shot.png"
    field=$(area_mean "$RUN_DIR/start.png" 400x400+100+150)
    panel=$(area_mean "$RUN_DIR/start.png" 100x190+636+30)
    gap=$(area_max "$RUN_DIR/start.png" 25x560+600+20)
    echo "field $field, panel $panel, gap $gap"
    above "$field" 0.02 || fail "the field shows no backdrop"
    above "$panel" 0.02 || fail "the menu panel shows no buttons"
    above 0.01 "$gap" || fail "the strip between field and panel is not black"
}

# Where the game's cursor is. The mouse is read as relative motion, and under
# Wine the first read also reports a jump of the pointer (from where Wine
# thought it was), so the cursor's offset from the pointer is measured: a long
# motion down pins the cursor at its lowest position (y = 25 * 23 - 57 = 518)
# and the pointer at the screen's bottom row; the lamp drawn there shows how
# far the lamp's ring lies inside the lamp (top edge), and so, from the ring's
# left edge, where the cursor is across.
find_cursor() {
    xdotool mousemove_relative -- 0 2000
    sleep 0.5
    shoot lamp.png
    # The bounding box of the ring's warm light, as WxH+X+Y, in the band of the
    # field where the lamp's upper part now is (-fx is slow on larger areas).
    local band_top=500 ring ring_left ring_top ring_inset pointer_x pointer_y
    ring=$(convert "$RUN_DIR/lamp.png" -crop 575x75+0+$band_top +repage \
        -fx '(r > 0.66 && g > 0.3 && b < 0.4) ? 1 : 0' -format '%@' info:)
    [[ $ring =~ ^[0-9]+x[0-9]+\+([0-9]+)\+([0-9]+)$ ]] || fail "no lamp on the field ($ring)"
    ring_left=${BASH_REMATCH[1]}
    ring_top=$((band_top + BASH_REMATCH[2]))
    ring_inset=$((ring_top - 518))
    read -r pointer_x pointer_y < <(xdotool getmouselocation | sed 's/x:\([0-9]*\) y:\([0-9]*\).*/\1 \2/')
    offset_x=$((ring_left - ring_inset - pointer_x))
    offset_y=$((518 - pointer_y))
    echo "lamp ring at ($ring_left, $ring_top): cursor = pointer + ($offset_x, $offset_y) ($((SECONDS - started)) s)"
    ((ring_inset >= 0 && ring_inset < 20)) || fail "the lamp is not where the lowest cursor puts it"
}

# Moves the pointer so that the game's cursor lands on (x, y).
cursor_to() { xdotool mousemove $(($1 - offset_x)) $(($2 - offset_y)); }

# Aim the hot spot (57 pixels right of and below the cursor) at the middle of
# cell (x, y).
aim_at() { cursor_to $(($1 * 23 + 11 - 57)) $(($2 * 23 + 11 - 57)); }

# Save: a click over the Save button (x 635..738, y 130..170); waits for the
# saved game to appear as file $1.
press_save() {
    cursor_to 690 150
    sleep 0.5
    xdotool mousedown 1 mouseup 1
    for _ in $(seq 100); do
        [[ -f $1 ]] && break
        sleep 0.2
    done
    [[ -f $1 ]] || fail "Save wrote no $1"
}

# Quits with an Escape tap; the game must end with exit code 0.
quit_game() {
    echo "quitting after $((SECONDS - started)) s"
    xdotool keydown Escape keyup Escape
    for _ in $(seq 150); do
        kill -0 "$game" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$game" 2>/dev/null && fail "the game did not quit on Escape"
    set +e
    wait "$game"
    local code=$?
    set -e
    echo "exit code $code after $((SECONDS - started)) s"
    [[ $code -eq 0 ]] || { cat "$RUN_DIR/out.txt" >&2; fail "exit code $code"; }
}

# The unpacked zip: everything, the saved game too, beside the executable.
start_game "$RUN_DIR" dellomar.exe
find_cursor

# Flag cell (5, 5) with a right click; the flag shows on its cell.
flag=5
aim_at "$flag" "$flag"
sleep 0.5
tap_until_changed 3 "23x23+$((flag * 23))+$((flag * 23))" || fail "the right click put up no flag"

# Open cell (12, 12); the opened cell shows its tile under the lamp.
cell=12
aim_at "$cell" "$cell"
sleep 0.5
tap_until_changed 1 "69x69+$(((cell - 1) * 23))+$(((cell - 1) * 23))" ||
    fail "the click changed nothing under the lamp"
cp "$RUN_DIR/after.png" "$RUN_DIR/shot.png"

press_save "$RUN_DIR/save.gm"
# Record of cell (x, y): 2 bytes at 4 + 2 * (x * 25 + y); its second byte is
# the state, 3 for an opened cell.
state=$(dd if="$RUN_DIR/save.gm" bs=1 skip=$((4 + 2 * (cell * 25 + cell) + 1)) count=1 2>/dev/null)
opened=$(tail -c +5 "$RUN_DIR/save.gm" | fold -w2 | grep -c '^.3$' || true)
echo "save.gm: $(stat -c %s "$RUN_DIR/save.gm") bytes, cell ($cell, $cell) state '$state', $opened cells open"
[[ $state == 3 ]] || fail "cell ($cell, $cell) is not open in save.gm"
flagged=$(dd if="$RUN_DIR/save.gm" bs=1 skip=$((4 + 2 * (flag * 25 + flag) + 1)) count=1 2>/dev/null)
[[ $flagged == 2 ]] || fail "cell ($flag, $flag) is not flagged in save.gm (state '$flagged')"

quit_game
cp "$RUN_DIR/shot.png" "$build/smoke.png"
echo "the unpacked game passed"

# The setup program of the same build, in the same scratch Wine set-up.
setup=$build/dellomar-windows-setup.exe
[[ -f $setup ]] || fail "no $setup (cmake --build --preset win32-ARCH --target dellomar_setup)"
drive=$WINEPREFIX/drive_c
# A 32-bit setup on 64-bit Windows installs into Program Files (x86).
install_dir="$drive/Program Files/Dellomar"
install_win='C:\Program Files\Dellomar'
if [[ $WINEARCH == win64 && $(od -An -tx2 -j$(($(od -An -tu4 -j60 -N4 "$setup" | tr -d ' ') + 4)) -N2 "$setup" | tr -d ' ') == 014c ]]; then
    install_dir="$drive/Program Files (x86)/Dellomar"
    install_win='C:\Program Files (x86)\Dellomar'
fi
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Dellomar ++.lnk"
uninstall_key='[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Dellomar]'
installed_files="Sounds/bng.wav Sounds/clk.wav Sounds/wd.wav Textures/back.txr Textures/txtr.txr dellomar.exe installed.txt uninstall.exe"

# Runs a setup or uninstaller silently and waits until it and every process it
# started have ended (an uninstaller runs on from a copy of itself) and the
# registry is on disk.
run_silently() {
    timeout 300 wine "$@" >/dev/null 2>&1 || fail "$* ended with an error"
    timeout 120 wineserver -w || fail "Wine did not settle after $*"
}

# The uninstall entry's values, one "name"=value a line.
uninstall_entry() {
    # Through the environment: awk -v would undo the doubled backslashes.
    key=$uninstall_key awk 'index($0, ENVIRON["key"]) == 1 { on = 1; next } on && /^$/ { exit } on' "$WINEPREFIX/system.reg"
}
entry_count() { grep -c '^"DisplayName"="Dellomar ++"$' "$WINEPREFIX/system.reg" || true; }
files_in() { (cd "$1" && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ' | sed 's/ $//'); }

echo "== setup"
run_silently "$setup" /S
[[ $(files_in "$install_dir") == "$installed_files" ]] ||
    fail "installed: '$(files_in "$install_dir")', expected '$installed_files'"
[[ -f $shortcut ]] || fail "no Start menu shortcut"
strings "$shortcut" | grep -qF "$install_win\\dellomar.exe" || fail "the Start menu shortcut does not point at $install_win\\dellomar.exe"
entry=$(uninstall_entry)
echo "$entry"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
# The registry file doubles backslashes and escapes quotes.
reg_dir=${install_win//\\/\\\\}
for value in '"DisplayName"="Dellomar ++"' "\"DisplayVersion\"=\"$version\"" \
    "\"DisplayIcon\"=\"$reg_dir\\\\dellomar.exe,0\"" \
    "\"UninstallString\"=\"\\\"$reg_dir\\\\uninstall.exe\\\"\"" \
    "\"QuietUninstallString\"=\"\\\"$reg_dir\\\\uninstall.exe\\\" /S\""; do
    grep -qxF "$value" <<<"$entry" || fail "the uninstall entry has no $value"
done
grep -qxE '"Publisher"="[^"]+"' <<<"$entry" || fail "the uninstall entry names no publisher"
size_kb=$((16#$(sed -n 's/^"EstimatedSize"=dword://p' <<<"$entry")))
installed_kb=$(du -sk "$install_dir" | cut -f1)
echo "estimated size $size_kb KiB, installed $installed_kb KiB"
((size_kb > installed_kb / 2 && size_kb < installed_kb * 2)) || fail "an estimated size of $size_kb KiB"
(($(entry_count) == 1)) || fail "$(entry_count) uninstall entries"

# The installed game, started from an unrelated folder by its shortcut's
# target: its pictures from beside it, its saved game in AppData.
appdata=$(find "$drive/users" -mindepth 3 -maxdepth 3 -path '*/AppData/Roaming' ! -path '*/Public/*' | head -n 1)
[[ -d $appdata ]] || fail "no AppData\\Roaming in the Wine set-up"
save=$appdata/Dellomar/save.gm
[[ ! -e $appdata/Dellomar ]] || fail "AppData\\Dellomar exists before the first Save"
elsewhere=$(mktemp -d -p "$RUN_DIR")
start_game "$elsewhere" "$install_win\\dellomar.exe"
find_cursor
press_save "$save"
size=$(stat -c %s "$save")
echo "AppData\\Dellomar\\save.gm: $size bytes"
((size == 1254)) || fail "save.gm holds $size bytes, not 1254"
quit_game
[[ $(files_in "$install_dir") == "$installed_files" ]] || fail "the game wrote into its install folder: $(files_in "$install_dir")"
[[ -z $(ls -A "$elsewhere") ]] || fail "the game wrote into the folder it was started from: $(ls -A "$elsewhere")"
saved=$(md5sum <"$save")

# The game's end after a setup or uninstaller asked it to: through its own
# quit path, with exit code 0.
game_ended() {
    kill -0 "$game" 2>/dev/null && fail "the game still runs after $1"
    set +e
    wait "$game"
    local code=$?
    set -e
    [[ $code -eq 0 ]] || { cat "$RUN_DIR/out.txt" >&2; fail "the game ended with exit code $code after $1"; }
    echo "the game ended with exit code 0 after $1"
}

echo "== setup again, over the running game"
start_game "$elsewhere" "$install_win\\dellomar.exe"
run_silently "$setup" /S "/D=$install_win"
game_ended "the setup"
(($(entry_count) == 1)) || fail "$(entry_count) uninstall entries after installing again"
[[ $(files_in "$install_dir") == "$installed_files" ]] || fail "installed again: '$(files_in "$install_dir")'"
[[ $(md5sum <"$save") == "$saved" ]] || fail "installing again changed the saved game"

# Starts the game installed at Windows path $1 from an unrelated folder, saves,
# and checks that the whole saved game reached $2 ($3 says where, in a failure).
saves_into() {
    start_game "$elsewhere" "$1"
    find_cursor
    press_save "$2"
    local size
    size=$(stat -c %s "$2")
    ((size == 1254)) || fail "save.gm $3 holds $size bytes, not 1254"
}

# The long and unicode folders and the uninstaller beside a running game are
# checked with the 64-bit setup program, the one most players take; the
# 32-bit one's silent setup fails into such a deep folder under Wine, so its
# run ends with a plain silent uninstall.
if [[ $WINEARCH == win32 ]]; then
    echo "== uninstaller"
    run_silently "$install_win\\uninstall.exe" /S
    [[ ! -e $install_dir ]] || fail "left behind: $(cd "$install_dir" && find . | tr '\n' ' ')"
    (($(entry_count) == 0)) || fail "the uninstall entry is still there"
    [[ $(md5sum <"$save") == "$saved" ]] || fail "the uninstaller changed or removed the saved game"
    echo "the setup program passed (the deep and unicode folders are the x86_64 run's)"
    echo "wine smoke test passed"
    exit 0
fi

# A folder that makes the game's path over 260 characters, played as an
# unpacked game (no marker) so that the saved game and its temporary file
# are written there too; one of its sounds missing, which the game must name.
echo "== a path over 260 characters"
long_win='C:\Games'
for part in a b c; do
    long_win+=\\$(printf "$part%.0s" $(seq 88))
done
long_dir=$drive/${long_win#C:\\}
long_dir=${long_dir//\\//}
run_silently "$setup" /S "/D=$long_win"
(($(entry_count) == 1)) || fail "$(entry_count) uninstall entries after moving the game"
[[ ! -e $install_dir ]] || fail "the earlier copy is still there: $(files_in "$install_dir")"
[[ $(files_in "$long_dir") == "$installed_files" ]] || fail "installed: '$(files_in "$long_dir")'"
echo "the game's path has $((${#long_win} + 13)) characters"
rm "$long_dir/installed.txt"
saves_into "$long_win\\dellomar.exe" "$long_dir/save.gm" "beside the long path"
quit_game
leftovers=$(cd "$long_dir" && ls -A | grep -c '^save\.gm\.new-' || true)
((leftovers == 0)) || fail "a temporary file is left beside save.gm"
echo "the long path passed"

# A player folder outside the code page, as a player's user name makes it,
# and an install folder outside it too.
echo "== C:\\Games\\Déllomar游戏"
player_win='C:\users\Jörg游戏\AppData\Roaming'
player_dir=$drive/users/Jörg游戏/AppData/Roaming
mkdir -p "$player_dir"
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders' \
    /v AppData /t REG_EXPAND_SZ /d "$player_win" /f >/dev/null 2>&1 || fail "cannot move AppData"
timeout 60 wineserver -w
unicode_win='C:\Games\Déllomar游戏'
unicode_dir=$drive/Games/Déllomar游戏
run_silently "$setup" /S "/D=$unicode_win"
[[ $(files_in "$unicode_dir") == "$installed_files" ]] || fail "installed: '$(files_in "$unicode_dir")'"
# The earlier copy's uninstaller took all but its saved game.
[[ $(files_in "$long_dir") == save.gm ]] || fail "left of the earlier copy: $(files_in "$long_dir")"
rm -r "$drive/Games/$(printf 'a%.0s' $(seq 88))"
installed_layout_checks " with AppData in Jörg游戏"
saves_into "$unicode_win\\dellomar.exe" "$player_dir/Dellomar/save.gm" "in Jörg游戏's AppData"
[[ $(files_in "$unicode_dir") == "$installed_files" ]] || fail "the game wrote into its install folder"
first_saved=$saved
saved=$(md5sum <"$player_dir/Dellomar/save.gm")

# A game asking the New dialog's questions reads no messages, so it cannot
# end when asked: the silent setup gives up with exit code 2 and leaves the
# installed game whole; the game ends once the questions are answered.
echo "== setup while the game asks its questions"
cursor_to 690 50
sleep 0.5
tap_until_changed 1 400x400+100+150 || fail "the New button showed no dialog"
set +e
timeout 300 wine "$setup" /S "/D=$unicode_win" >/dev/null 2>&1
code=$?
set -e
echo "the setup ended with exit code $code"
((code == 2)) || fail "the setup ended with exit code $code beside a game that could not end"
kill -0 "$game" 2>/dev/null || fail "the game ended while it asked its questions"
[[ $(files_in "$unicode_dir") == "$installed_files" ]] || fail "the refused setup changed the game: $(files_in "$unicode_dir")"
(($(entry_count) == 1)) || fail "$(entry_count) uninstall entries after a refused setup"
for key in 1 5 Return 3 0 Return; do
    xdotool key "$key"
    sleep 0.3
done
wait_until 60 bash -c "! kill -0 $game 2>/dev/null" || fail "the game did not end after its questions"
game_ended "its questions were answered"

# Without its backdrop the game must say which file it could not read: on
# stderr and in a message box over the game, which Return closes.
mv "$unicode_dir/Textures/back.txr" "$RUN_DIR/back.txr"
xdotool mousemove 400 300
(cd "$elsewhere" && exec wine "$unicode_win\\dellomar.exe" >"$RUN_DIR/out.txt" 2>&1) &
game=$!
wait_until 120 grep -q 'dellomar: cannot read Textures\\back.txr' "$RUN_DIR/out.txt" ||
    fail "the game did not say it could not read Textures\\back.txr: $(grep -av ALSA "$RUN_DIR/out.txt")"
grep -a 'cannot read' "$RUN_DIR/out.txt"
wait_until 60 xdotool search --onlyvisible --name "cannot read its files" >/dev/null ||
    fail "no message box names the missing file"
box=$(xdotool search --onlyvisible --name "cannot read its files" | head -n 1)
xdotool windowfocus --sync "$box" key Return
wait_until 30 bash -c '! xdotool search --onlyvisible --name "cannot read its files" >/dev/null' ||
    fail "the message box did not close on Return"
# Whole again for the uninstaller, while this game runs on without it.
mv "$RUN_DIR/back.txr" "$unicode_dir/Textures/back.txr"

# Silently, the uninstaller ends the running game through its quit path and
# then removes everything but the saved game.
echo "== uninstaller, while the game runs"
run_silently "$unicode_win\\uninstall.exe" /S
game_ended "the uninstaller"
[[ ! -e $unicode_dir ]] || fail "left behind: $(cd "$unicode_dir" && find . | tr '\n' ' ')"
[[ ! -e $shortcut ]] || fail "the Start menu shortcut is still there"
[[ ! -e "$drive/users/Public/Desktop/Dellomar ++.lnk" ]] || fail "a desktop shortcut is there"
(($(entry_count) == 0)) || fail "the uninstall entry is still there"
[[ $(md5sum <"$player_dir/Dellomar/save.gm") == "$saved" ]] || fail "the uninstaller changed or removed the saved game"
[[ $(md5sum <"$save") == "$first_saved" ]] || fail "the uninstaller changed the saved game in the first AppData"
echo "the setup program passed"
echo "wine smoke test passed"
