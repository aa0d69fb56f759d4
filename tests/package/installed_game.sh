#!/usr/bin/env bash
# The Debian package as a player gets it: its files pass lintian,
# desktop-file-validate and appstreamcli; it installs with apt-get; the
# installed game, started from an empty folder with a scratch home, shows the
# field and its pictures, saves into ~/.local/share/dellomar/ and quits on
# Escape with 0; removing the package leaves none of its files behind.
#
# Usage: tests/package/installed_game.sh dist/dellomar_<version>_<arch>.deb
# Installs and removes the package system-wide (through sudo unless root);
# refuses to run when a dellomar package is installed already.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
deb=$(realpath "$1")
source "$root/tests/smoke/lib/xvfb.sh"
sudo=""
[[ $(id -u) -eq 0 ]] || sudo=sudo
fail() { echo "FAIL: $*" >&2; exit 1; }

if dpkg-query -W -f='${Status}' dellomar 2>/dev/null | grep -q "installed"; then
    fail "dellomar is installed already; remove it first"
fi
SCRATCH=$(mktemp -d)
cleanup() {
    if dpkg-query -W -f='${Status}' dellomar 2>/dev/null | grep -q "installed"; then
        $sudo apt-get remove --purge -y dellomar >/dev/null 2>&1 || true
    fi
    rm -rf "$SCRATCH"
    smoke_cleanup
}
trap cleanup EXIT

echo "== the package's files"
dpkg-deb -x "$deb" "$SCRATCH/unpacked"
# Errors fail the run; warnings and notes are shown for the record.
lintian --fail-on error --display-info "$deb" | tee "$SCRATCH/lintian.txt"
echo "lintian: $(grep -c '^E:' "$SCRATCH/lintian.txt" || true) errors, $(grep -c '^W:' "$SCRATCH/lintian.txt" || true) warnings"
desktop-file-validate "$SCRATCH"/unpacked/usr/share/applications/*.desktop
appstreamcli validate --no-net "$SCRATCH"/unpacked/usr/share/metainfo/*.metainfo.xml

echo "== install"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "$deb" >/dev/null
files=$(dpkg -L dellomar)
[[ -x /usr/games/dellomar ]] || fail "no /usr/games/dellomar"
# The icons: the right size, see-through in the corner, opaque in the middle.
for size in 48 256; do
    icon=$(grep "^/usr/share/icons/hicolor/${size}x${size}/apps/.*[.]png$" <<<"$files") ||
        fail "no ${size}x${size} icon"
    read -r geometry corner middle <<<"$(convert "$icon" -format \
        "%wx%h %[fx:p{0,0}.a] %[fx:p{$((size / 2)),$((size / 2))}.a]" info:)"
    echo "$icon: $geometry, alpha $corner in the corner, $middle in the middle"
    [[ $geometry == "${size}x${size}" && $corner == 0 && $middle == 1 ]] || fail "icon $icon"
done

echo "== play the installed game from an empty folder"
home=$SCRATCH/home
work=$SCRATCH/work
mkdir -p "$home" "$work"
start_xvfb
(cd "$work" && exec env -u XDG_DATA_HOME HOME="$home" SDL_AUDIODRIVER=dummy \
    /usr/games/dellomar >"$SCRATCH/out.txt" 2>&1) &
game=$!
wait_for_window "Dellomar ++" 30 || { cat "$SCRATCH/out.txt" >&2; fail "the installed game opened no window"; }
# The first frames: the backdrop over the field, the buttons in the panel.
# Input sent before then would be lost, since the game polls its devices.
shot=$SCRATCH/shot.png
mean() { convert "$shot" -crop "$1" +repage -format '%[fx:mean]' info:; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
for _ in $(seq 40); do
    import -window root "$shot"
    above "$(mean 400x400+100+150)" 0.02 && break
    sleep 0.25
done
sleep 0.3
import -window root "$shot"
field=$(mean 400x400+100+150)
panel=$(mean 100x190+636+30)
echo "field $field, panel $panel"
above "$field" 0.02 || fail "the field shows no backdrop"
above "$panel" 0.02 || fail "the menu panel shows no buttons"

# Hold the left button over Save: the cursor goes from (10, 10) to (680, 150).
xdotool mousemove_relative -- 670 140; sleep 0.3
xdotool mousedown 1; sleep 0.3; xdotool mouseup 1; sleep 0.3
save=$home/.local/share/dellomar/save.gm
for _ in $(seq 20); do [[ -f $save ]] && break; sleep 0.1; done
[[ -f $save ]] || fail "Save wrote no $save"
size=$(stat -c %s "$save")
mode=$(stat -c %a "$(dirname "$save")")
echo "save.gm: $size bytes; its folder has mode $mode"
((size == 1254)) || fail "save.gm has $size bytes, not 1254"
[[ $mode == 700 ]] || fail "the player's data folder has mode $mode, not 700"
[[ -z $(ls -A "$work") ]] || fail "the game wrote into its working folder: $(ls -A "$work")"

xdotool keydown Escape; sleep 0.3; xdotool keyup Escape
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game" 2>/dev/null && { kill -KILL "$game"; fail "the game did not quit on Escape"; }
set +e
wait "$game"
code=$?
set -e
echo "exit code $code"
((code == 0)) || { cat "$SCRATCH/out.txt" >&2; fail "exit code $code"; }

echo "== remove"
DEBIAN_FRONTEND=noninteractive $sudo apt-get remove --purge -y dellomar >/dev/null
left=()
while read -r path; do
    # Folders shared with other packages (/usr, /usr/share/...) stay.
    [[ -e $path && ! -d $path ]] && left+=("$path")
done <<<"$files"
for dir in /usr/share/games/dellomar /usr/share/doc/dellomar; do
    [[ -e $dir ]] && left+=("$dir")
done
((${#left[@]} == 0)) || fail "left after removal: ${left[*]}"
echo "installed-package test passed"
