#!/usr/bin/env bash
# The display on the SDL backend shows exactly what the game drew: in a
# private X server, on the window's own surface and through GL, and on SDL's
# dummy driver (no screen). An unchanged picture puts nothing new on the
# screen, a moved lamp only its part, and a window covered and uncovered is
# whole again. In the X server frames then run at the game's pace: none
# shorter than its 10 ms, and a flip without vertical sync, or with nothing
# to show, asleep until the next refresh.
#   display_sdl.sh GAME_DIR
set -u
program=$(dirname "$(realpath -m "$1")")/tests/dellomar_sdl_video_test
[[ -x $program ]] || { echo "missing $program: build first" >&2; exit 1; }
source "$(dirname "$0")/lib/xvfb.sh"
start_xvfb || exit 1

status=0
echo "== X server $DISPLAY"
SDL_VIDEODRIVER=x11 "$program" 3 paced || status=1
echo "== X server $DISPLAY through GL"
SDL_VIDEODRIVER=x11 SDL_RENDER_DRIVER=opengl "$program" 3 paced || status=1
echo "== dummy driver"
env -u DISPLAY SDL_VIDEODRIVER=dummy "$program" 3 || status=1
exit $status
