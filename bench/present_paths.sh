#!/usr/bin/env bash
# Resident memory and CPU share of the real game in play, on each way of
# presenting its picture and at three screen sizes, side by side under one
# private Xvfb (one server, one screen per size):
#   bench/present_paths.sh [GAME_DIR] [SECONDS]
# GAME_DIR defaults to build/game, SECONDS (each measured stretch) to 8. Each
# path is forced through SDL_RENDER_DRIVER: "software" (what a machine without
# a graphics device gets: the window's own surface) and "opengl" (through
# whatever GL the machine has; under Xvfb that is Mesa drawing on the
# processor). Each run waits for the first frame, lets the game rest for 3 s,
# measures the game's process at rest over SECONDS, then again over SECONDS
# while the mouse moves the lamp every ~20 ms. RUNS=3 repeats each;
# SIZES="1920x1080" and PATHS="software" narrow it down.
set -u
here=$(dirname "$(realpath "$0")")
game_dir=$(realpath "${1:-$here/../build/game}")
span=${2:-8}
runs=${RUNS:-1}
sizes=(${SIZES:-800x600 1920x1080 3840x2160})
paths=(${PATHS:-software opengl})
[[ -x $game_dir/dellomar ]] || { echo "no $game_dir/dellomar: build first" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "xdotool is needed" >&2; exit 1; }
source "$here/../tests/smoke/lib/xvfb.sh"

# One server with a screen of each size (start_xvfb makes one screen only).
XVFB_DIR=$(mktemp -d)
screens=()
for ((i = 0; i < ${#sizes[@]}; ++i)); do
    screens+=(-screen "$i" "${sizes[i]}x24")
done
Xvfb -displayfd 3 "${screens[@]}" -nolisten tcp -noreset 3>"$XVFB_DIR/display" 2>"$XVFB_DIR/log" &
XVFB_PID=$!
XVFB_GONE=""
if ! wait_until 30 xvfb_number_written || [[ -n $XVFB_GONE ]]; then
    echo "Xvfb did not start:" >&2
    cat "$XVFB_DIR/log" >&2
    exit 1
fi
number=$(head -n 1 "$XVFB_DIR/display")
wait_until 30 xvfb_accepts ":$number" || { echo "Xvfb :$number takes no connections" >&2; exit 1; }
make_run_dir "$game_dir"
hz=$(getconf CLK_TCK)

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
status_kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }
reported() { grep -q "presenting through" "$1"; }
percent() { awk -v t="$1" -v hz="$hz" -v s="$span" 'BEGIN { printf "%.1f", 100 * t / hz / s }'; }

# Moves the pointer back and forth every 20 ms for SECONDS, in one xdotool.
wiggle() {
    local moves=$((span * 50)) args=() i
    for ((i = 0; i < moves; ++i)); do
        if ((i % 2 == 0)); then
            args+=(mousemove_relative -- 12 8 sleep 0.02)
        else
            args+=(mousemove_relative -- -12 -8 sleep 0.02)
        fi
    done
    DISPLAY=$1 xdotool "${args[@]}"
}

# One run on a screen: prints "renderer rss-MB peak-MB rest-% moving-%".
measure() {
    local driver=$1 display=$2 log pid before rest moving rss peak renderer
    log=$(mktemp)
    (cd "$RUN_DIR" && DISPLAY=$display SDL_RENDER_DRIVER=$driver SDL_AUDIODRIVER=dummy \
        DELLOMAR_REPORT_PRESENTATION=1 exec ./dellomar) 2>"$log" &
    pid=$!
    if ! wait_until 60 reported "$log"; then
        echo "the game showed no frame on $driver at $display:" >&2
        cat "$log" >&2
        kill "$pid" 2>/dev/null
        rm -f "$log"
        return 1
    fi
    sleep 3
    before=$(cpu_ticks "$pid")
    sleep "$span"
    rest=$(($(cpu_ticks "$pid") - before))
    rss=$(status_kb "$pid" VmRSS)
    before=$(cpu_ticks "$pid")
    wiggle "$display"
    moving=$(($(cpu_ticks "$pid") - before))
    peak=$(status_kb "$pid" VmHWM)
    kill "$pid"
    wait "$pid"
    renderer=$(sed -n 's/.*presenting through \([^ ]*\).*/\1/p' "$log")
    rm -f "$log"
    printf '%s %.1f %.1f %s %s\n' "$renderer" "$(awk -v k="$rss" 'BEGIN { print k / 1024 }')" \
        "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')" "$(percent "$rest")" "$(percent "$moving")"
}

printf '%-9s %-10s %-9s %8s %8s %10s %12s\n' path screen renderer "RSS MB" "peak MB" "CPU rest %" \
    "CPU moving %"
status=0
for driver in "${paths[@]}"; do
    for ((i = 0; i < ${#sizes[@]}; ++i)); do
        for ((run = 0; run < runs; ++run)); do
            if ! line=$(measure "$driver" ":$number.$i"); then
                status=1
                continue
            fi
            read -r renderer rss peak rest moving <<<"$line"
            printf '%-9s %-10s %-9s %8s %8s %10s %12s\n' "$driver" "${sizes[i]}" "$renderer" "$rss" \
                "$peak" "$rest" "$moving"
        done
    done
done
exit $status
