#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh game
cmake --preset default
cmake --build --preset default -j"$(nproc)" --target dellomar
cd build/game
exec ./dellomar
