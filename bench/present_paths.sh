#!/usr/bin/env bash
# Resident memory and CPU share of the real game at rest in play, on each way
# of presenting its picture, side by side under one private Xvfb:
#   bench/present_paths.sh [GAME_DIR] [SECONDS]
# GAME_DIR defaults to build/game, SECONDS (the measured rest) to 5. Each path
# is forced through SDL_RENDER_DRIVER: "software" (what a machine without a
# graphics device gets) and "opengl" (through whatever GL the machine has;
# under Xvfb that is Mesa drawing on the processor). RUNS=3 repeats each.
set -u
here=$(dirname "$(realpath "$0")")
game_dir=$(realpath "${1:-$here/../build/game}")
rest=${2:-5}
runs=${RUNS:-1}
[[ -x $game_dir/dellomar ]] || { echo "no $game_dir/dellomar: build first" >&2; exit 1; }
source "$here/../tests/smoke/lib/xvfb.sh"
start_xvfb 24 800x600 || exit 1
make_run_dir "$game_dir"
hz=$(getconf CLK_TCK)

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
status_kb() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }
reported() { grep -q "presenting through" "$1"; }

# One run: prints "renderer start-up-ms rss-MB peak-MB cpu-percent".
measure() {
    local driver=$1 log pid before after renderer startup rss peak
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
    # The first second settles what start-up left behind; then the game rests.
    sleep 1
    before=$(cpu_ticks "$pid")
    sleep "$rest"
    after=$(cpu_ticks "$pid")
    rss=$(status_kb "$pid" VmRSS)
    peak=$(status_kb "$pid" VmHWM)
    kill "$pid"
    wait "$pid"
    renderer=$(sed -n 's/.*presenting through \([^ ]*\).*/\1/p' "$log")
    startup=$(sed -n 's/.*first frame after \([0-9]*\) ms.*/\1/p' "$log")
    rm -f "$log"
    awk -v r="$renderer" -v s="$startup" -v rss="$rss" -v peak="$peak" \
        -v ticks=$((after - before)) -v hz="$hz" -v secs="$rest" \
        'BEGIN { printf "%s %s %.1f %.1f %.1f\n", r, s, rss / 1024, peak / 1024, 100 * ticks / hz / secs }'
}

printf '%-9s %-9s %12s %10s %10s %16s\n' path renderer "start-up ms" "RSS MB" "peak MB" "CPU % of a core"
status=0
for driver in software opengl; do
    for ((run = 0; run < runs; ++run)); do
        if ! line=$(measure "$driver"); then
            status=1
            continue
        fi
        read -r renderer startup rss peak cpu <<<"$line"
        printf '%-9s %-9s %12s %10s %10s %16s\n' "$driver" "$renderer" "$startup" "$rss" "$peak" "$cpu"
    done
done
exit $status
