#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzzer for a while (default 60 s each)
# on a temporary copy of its seed corpus, so the repository is never changed.
# Fails on the first finding; the input that broke the game is copied to
# fuzz-findings/<target>/ for keeping under tests/regressions/<target>/.
#   tools/run_fuzzers.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(bitmap wav saved_game)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for target in "${targets[@]}"; do
    mkdir -p "$work/$target/corpus" "$work/$target/found"
    cp fuzz/corpus/"$target"/* "$work/$target/corpus/"
    echo "fuzzing $target for ${seconds}s"
    if ! build-fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -print_final_stats=1 \
        -rss_limit_mb=2048 -timeout=20 -artifact_prefix="$work/$target/found/" \
        "$work/$target/corpus" >"$work/$target/log" 2>&1; then
        grep -E "ERROR|runtime error|invariant broken|SUMMARY" "$work/$target/log" | head -20 || true
        mkdir -p fuzz-findings/"$target"
        cp "$work/$target/found"/* fuzz-findings/"$target"/ 2>/dev/null || true
        echo "fuzzer $target found a fault; inputs kept in fuzz-findings/$target/"
        status=1
        continue
    fi
    grep -E "stat::number_of_executed_units|stat::new_units_added" "$work/$target/log"
done
exit $status
