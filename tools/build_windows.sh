#!/usr/bin/env bash
# Builds the Windows game for 32- and 64-bit x86 with MinGW-w64, packs each
# into a zip ready to hand out and makes its setup program (NSIS):
#   build-win32-<arch>/game/                 dellomar.exe, Textures\, Sounds\
#   build-win32-<arch>/dellomar-windows-<arch>.zip
#   build-win32-<arch>/dellomar-windows-setup.exe
# The host tools' build (build/, preset "default") comes first.
# Usage: tools/build_windows.sh [i686] [x86_64]   (both when none is named)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}
arches=("$@")
((${#arches[@]})) || arches=(i686 x86_64)

source tools/lib/common.sh

build_host_tools

for arch in "${arches[@]}"; do
    step "Windows game for $arch"
    cmake --preset "win32-$arch" >/dev/null
    cmake --build --preset "win32-$arch" -j"$jobs"
    cmake --build --preset "win32-$arch" -j"$jobs" --target dellomar_setup
    out=build-win32-$arch
    # The player's folder inside the zip: the game and its data, nothing else.
    stage=$out/package
    rm -rf "$stage"
    mkdir -p "$stage"
    cp -r "$out/game/dellomar.exe" "$out/game/Textures" "$out/game/Sounds" "$stage/"
    zip_folder "$stage" dellomar "$out/dellomar-windows-$arch.zip"
    echo "$out/dellomar-windows-$arch.zip"
    echo "$out/dellomar-windows-setup.exe"
done
