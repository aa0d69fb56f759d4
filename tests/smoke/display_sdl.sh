#!/usr/bin/env bash
# The display on the SDL backend shows exactly what the game drew: in a
# private X server, and on SDL's dummy driver (software rendering, no screen).
#   display_sdl.sh GAME_DIR
set -u
program=$(dirname "$(realpath -m "$1")")/tests/dellomar_sdl_video_test
[[ -x $program ]] || { echo "missing $program: build first" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "Xvfb is needed (apt-get install xvfb)" >&2; exit 1; }

work=$(mktemp -d)
# Xvfb picks a free display number itself and writes it to fd 3.
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xpid=$!
cleanup() {
  kill "$xpid" 2>/dev/null
  wait "$xpid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 100); do
  [[ -s $work/display ]] && break
  sleep 0.1
done
number=$(head -n1 "$work/display")
if [[ -z $number ]]; then
  echo "Xvfb did not start" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
# Leave the fresh server alone for a moment before connecting.
sleep 0.5

status=0
echo "== X server :$number"
DISPLAY=":$number" SDL_VIDEODRIVER=x11 "$program" 3 || status=1
echo "== dummy driver"
env -u DISPLAY SDL_VIDEODRIVER=dummy "$program" 3 || status=1
exit $status
