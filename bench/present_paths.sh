#!/usr/bin/env bash
# Resident memory and CPU share of the real game in play, on each way of
# presenting its picture and at three screen sizes, side by side under one
# private Xvfb whose screen takes each size in turn:
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
command -v xdotool >/dev/null && command -v xrandr >/dev/null ||
    { echo "xdotool and xrandr are needed (Debian: xdotool, x11-xserver-utils)" >&2; exit 1; }
source "$here/../tests/smoke/lib/xvfb.sh"

# One server, as large as the largest size; each size is a mode of its one
# output, set before the runs at that size (xrandr), at 60 Hz as the game
# reads it.
largest=$(printf '%s\n' "${sizes[@]}" | sort -t x -k1,1n | tail -n 1)
start_xvfb 24 "$largest" || exit 1
for size in "${sizes[@]}"; do
    w=${size%x*}
    h=${size#*x}
    clock=$(awk -v w="$w" -v h="$h" 'BEGIN { printf "%.3f", w * h * 60 / 1e6 }')
    xrandr --newmode "bench$size" "$clock" "$w" "$w" "$w" "$w" "$h" "$h" "$h" "$h" &&
        xrandr --addmode screen "bench$size" || { echo "xrandr cannot add $size" >&2; exit 1; }
done
make_run_dir "$game_dir"
hz=$(getconf CLK_TCK)

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
status_kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }
reported() { grep -q "presenting through" "$1"; }
now() { date +%s.%N; }
# The share of a core that TICKS over the stretch since START make.
percent() {
    awk -v t="$1" -v hz="$hz" -v from="$2" -v to="$(now)" 'BEGIN { printf "%.1f", 100 * t / hz / (to - from) }'
}

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
    xdotool "${args[@]}"
}

# One run on a screen: prints "renderer rss-MB peak-MB rest-% moving-%".
measure() {
    local driver=$1 log pid before start rest moving rss peak renderer
    log=$(mktemp)
    (cd "$RUN_DIR" && SDL_RENDER_DRIVER=$driver SDL_AUDIODRIVER=dummy \
        DELLOMAR_REPORT_PRESENTATION=1 exec ./dellomar) 2>"$log" &
    pid=$!
    if ! wait_until 60 reported "$log"; then
        echo "the game showed no frame on $driver:" >&2
        cat "$log" >&2
        kill "$pid" 2>/dev/null
        rm -f "$log"
        return 1
    fi
    sleep 3
    before=$(cpu_ticks "$pid")
    start=$(now)
    sleep "$span"
    rest=$(percent $(($(cpu_ticks "$pid") - before)) "$start")
    rss=$(status_kb "$pid" VmRSS)
    before=$(cpu_ticks "$pid")
    start=$(now)
    wiggle
    moving=$(percent $(($(cpu_ticks "$pid") - before)) "$start")
    peak=$(status_kb "$pid" VmHWM)
    kill "$pid"
    wait "$pid"
    renderer=$(sed -n 's/.*presenting through \([^ ]*\).*/\1/p' "$log")
    rm -f "$log"
    printf '%s %.1f %.1f %s %s\n' "$renderer" "$(awk -v k="$rss" 'BEGIN { print k / 1024 }')" \
        "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')" "$rest" "$moving"
}

printf '%-9s %-10s %-9s %8s %8s %10s %12s\n' path screen renderer "RSS MB" "peak MB" "CPU rest %" \
    "CPU moving %"
status=0
for size in "${sizes[@]}"; do
    xrandr --output screen --mode "bench$size" || { status=1; continue; }
    for driver in "${paths[@]}"; do
        for ((run = 0; run < runs; ++run)); do
            if ! line=$(measure "$driver"); then
                status=1
                continue
            fi
            read -r renderer rss peak rest moving <<<"$line"
            printf '%-9s %-10s %-9s %8s %8s %10s %12s\n' "$driver" "$size" "$renderer" "$rss" \
                "$peak" "$rest" "$moving"
        done
    done
done
exit $status
