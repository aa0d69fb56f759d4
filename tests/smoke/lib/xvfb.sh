# Sourced by the smoke tests and scripts that need a private X server.
#   start_xvfb [DEPTH] [WxH]  starts a server (24 bits, 800x600 by default) on a
#                             display number it picks itself, waits until it
#                             takes connections, and exports DISPLAY
#   make_run_dir GAME_DIR     sets RUN_DIR to a scratch copy of the game folder
#   wait_for_window NAME      waits until a window with this name exists
#   wait_until SECONDS CMD... runs CMD every tenth of a second until it succeeds
#   find_window NAME          sets WINDOW to the first window with this name
#   wait_for_exit PID SECS    waits for the child PID to end and sets EXIT_CODE;
#                             kills it and fails if it is still running
#   focus_named NAME          whether the window with the input focus has this
#                             name (FOCUSED is then its id)
# The server and RUN_DIR are removed on exit by smoke_cleanup; a script with an
# EXIT trap of its own calls smoke_cleanup from it.

XVFB_PID=""
XVFB_DIR=""
RUN_DIR=""

smoke_cleanup() {
    if [[ -n $XVFB_PID ]]; then
        kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
        XVFB_PID=""
    fi
    [[ -n $XVFB_DIR ]] && rm -rf "$XVFB_DIR"
    [[ -n $RUN_DIR ]] && rm -rf "$RUN_DIR"
    return 0
}
trap smoke_cleanup EXIT

wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

# Whether Xvfb has written its whole display line; gives up when Xvfb ended.
xvfb_number_written() {
    [[ -s $XVFB_DIR/display && $(tail -c 1 "$XVFB_DIR/display" | od -An -tx1) == *0a* ]] && return 0
    kill -0 "$XVFB_PID" 2>/dev/null || XVFB_GONE=1
    [[ -n ${XVFB_GONE:-} ]]
}

xvfb_accepts() {
    xdpyinfo -display "$1" >/dev/null 2>&1
}

start_xvfb() {
    local depth=${1:-24} size=${2:-800x600} number
    command -v Xvfb >/dev/null || { echo "Xvfb is needed (apt-get install xvfb)" >&2; return 1; }
    XVFB_DIR=$(mktemp -d)
    # Xvfb takes the first free display number itself and writes it to fd 3,
    # so tests started together never share a server. -noreset keeps it from
    # resetting (and turning clients away) whenever its last client leaves.
    Xvfb -displayfd 3 -screen 0 "${size}x$depth" -nolisten tcp -noreset \
        3>"$XVFB_DIR/display" 2>"$XVFB_DIR/log" &
    XVFB_PID=$!
    XVFB_GONE=""
    if ! wait_until 30 xvfb_number_written || [[ -n $XVFB_GONE ]]; then
        echo "Xvfb did not start:" >&2
        cat "$XVFB_DIR/log" >&2
        return 1
    fi
    number=$(head -n 1 "$XVFB_DIR/display")
    [[ $number =~ ^[0-9]+$ ]] || { echo "Xvfb wrote '$number' as its display" >&2; return 1; }
    wait_until 30 xvfb_accepts ":$number" || { echo "Xvfb :$number takes no connections" >&2; return 1; }
    export DISPLAY=":$number"
}

make_run_dir() {
    RUN_DIR=$(mktemp -d)
    cp -r "$1/." "$RUN_DIR/"
}

# A search fails now and then while windows come and go: callers retry.
window_named() {
    xdotool search --name "$1" >/dev/null 2>&1
}

find_window() {
    WINDOW=$(xdotool search --name "$1" 2>/dev/null | head -n 1) && [[ -n $WINDOW ]] && return 0
    wait_until 60 window_named "$1" || return 1
    WINDOW=$(xdotool search --name "$1" 2>/dev/null | head -n 1) && [[ -n $WINDOW ]]
}

# Fails after ~60 s (or SECONDS as a second argument): a machine busy with
# other builds and tests can take many seconds to start the game, and the
# wait ends as soon as the window is there.
wait_for_window() {
    wait_until "${2:-60}" window_named "$1" && return 0
    echo "no window named '$1' appeared" >&2
    return 1
}

focus_named() {
    FOCUSED=$(xdotool getwindowfocus 2>/dev/null) &&
        [[ $(xdotool getwindowname "$FOCUSED" 2>/dev/null) == "$1" ]]
}

wait_for_exit() {
    local pid=$1
    process_gone() { ! kill -0 "$pid" 2>/dev/null; }
    if ! wait_until "$2" process_gone; then
        kill -KILL "$pid" 2>/dev/null
        return 1
    fi
    EXIT_CODE=0
    wait "$pid" || EXIT_CODE=$?
}
