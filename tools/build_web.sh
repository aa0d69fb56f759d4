#!/usr/bin/env bash
# Builds the game as a web page with Emscripten into build-web/site/:
# index.html, dellomar.js, dellomar.wasm and dellomar.data (the pictures and
# sounds). Serve that folder with any static file server and open index.html.
# The host tools' build (build/, preset "default") comes first.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-$(nproc)}
# Debian's emcc runs the first python3 on PATH, and its JavaScript tools look
# for their modules in the system's node folder.
export PATH=/usr/bin:$PATH
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}

source tools/lib/common.sh

# Emscripten keeps its compiled system libraries in a cache; where the
# system's copy is read-only, a copy inside the build tree serves.
if [[ -z ${EM_CACHE:-} ]]; then
    system_cache=/usr/share/emscripten/cache
    if [[ ! -w $system_cache ]]; then
        export EM_CACHE=$PWD/build-web/emscripten-cache
        if [[ ! -d $EM_CACHE ]]; then
            mkdir -p build-web
            cp -r "$system_cache" "$EM_CACHE"
        fi
    fi
fi

build_host_tools

step "web page (build-web/site)"
cmake --preset web >/dev/null
cmake --build --preset web -j"$jobs"
ls -l build-web/site
