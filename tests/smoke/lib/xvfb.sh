# Sourced by the smoke tests: a private X server and a copy of the game folder.
#   start_xvfb            sets DISPLAY to a fresh server of 800x600
#   make_run_dir GAME_DIR sets RUN_DIR to a scratch copy of the game folder
# Both are cleaned up on exit.

XVFB_PID=""
RUN_DIR=""

smoke_cleanup() {
    [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    [[ -n $RUN_DIR ]] && rm -rf "$RUN_DIR"
    return 0
}
trap smoke_cleanup EXIT

start_xvfb() {
    local depth=${1:-24} n
    for n in $(seq 70 130); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] || break
    done
    Xvfb ":$n" -screen 0 "800x600x$depth" -nolisten tcp -noreset >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    # Without -noreset the server would reset (and refuse clients) each time
    # its last client leaves; give it a moment all the same.
    sleep 0.5
}

make_run_dir() {
    RUN_DIR=$(mktemp -d)
    cp -r "$1/." "$RUN_DIR/"
}

# Waits until a window with this name exists; fails after ~10 s.
wait_for_window() {
    local _
    for _ in $(seq 100); do
        xdotool search --name "$1" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "no window named '$1' appeared" >&2
    return 1
}
