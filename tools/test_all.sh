#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the normal
# build with its unit, end-to-end and smoke tests, the same unit and
# end-to-end tests as 32-bit x86 code under emulation, the sanitizer build, a
# minute of each fuzzer, Release builds with GCC and Clang, the packages with
# smoke tests of both Windows builds and their setup programs under Wine and of
# the installed .deb, and the web page played in headless Chromium and Firefox.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
source tools/lib/common.sh

step "dependencies"
tools/install_deps.sh

step "normal build and tests (with the game core's include and formatting checks)"
# Tests and benchmarks required: a missing package must fail the run, not skip them.
cmake --preset default -DDELLOMAR_TESTS=ON -DDELLOMAR_BENCH=ON
cmake --build --preset default -j"$jobs"
ctest --preset default -j"$jobs"

step "the game core's tests as 32-bit x86 code, under qemu-i386"
# The host tools come from build/ (above); ctest runs each test program in
# the emulator, so this runs where the kernel starts no 32-bit program.
cmake --preset i386
cmake --build --preset i386 -j"$jobs"
ctest --preset i386 -j"$jobs"

step "sanitizer build and tests"
cmake --preset sanitize -DDELLOMAR_TESTS=ON
cmake --build --preset sanitize -j"$jobs"
ctest --preset sanitize -j"$jobs"

step "fuzzers, a minute each"
tools/run_fuzzers.sh 60

step "Release builds (-O3) of the game and its unit tests, with GCC and with Clang"
for preset in release release-clang; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$jobs" --target dellomar dellomar_tests
done

step "packages into dist/: .deb, Windows and web zips"
tools/package.sh

step "Wine smoke test of the i686 and x86_64 builds and their setup programs"
tests/win32/smoke_wine.sh

step "the installed .deb"
tests/package/installed_game.sh dist/dellomar_*_"$(dpkg --print-architecture)".deb

step "the web page (built by tools/package.sh) in headless Chromium and Firefox"
tests/web/run_web_test.sh

step "all tests passed"
