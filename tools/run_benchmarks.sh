#!/usr/bin/env bash
# Builds the benchmarks (the default preset: optimized, with debug info) and
# runs them: first the presentation of a frame on the SDL backend without a
# window system, then the frames, board rules and loaders on the fake backend,
# ending with each frame's time against the memory floor measured in the same
# run. Extra arguments go to the headless benchmarks, for instance
#   tools/run_benchmarks.sh --benchmark_filter='Frame|Floor'
# JSON results are left in build/bench/.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${BENCH_JOBS:-2}
repetitions=${BENCH_REPETITIONS:-5}

cmake --preset default >/dev/null
cmake --build --preset default -j"$jobs" --target dellomar_bench dellomar_bench_sdl dellomar_data

common=(--benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true
        --benchmark_out_format=json)

printf '\n==== Machine\n'
lscpu | grep -E '^(Model name|CPU\(s\)|Thread\(s\) per core|Core\(s\) per socket)' || true
c++ --version | head -n 1
grep -E '^CMAKE_BUILD_TYPE' build/CMakeCache.txt || true

if [[ -x build/bench/dellomar_bench_sdl ]]; then
  printf '\n==== Presenting a frame on the SDL backend (dummy video driver)\n'
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy build/bench/dellomar_bench_sdl "${common[@]}" \
    --benchmark_out=build/bench/sdl_results.json
fi

printf '\n==== Frames, board rules and loaders on the fake backend\n'
build/bench/dellomar_bench "${common[@]}" --benchmark_out=build/bench/results.json "$@"
