#!/usr/bin/env bash
# The web page's benchmarks: the bytes of a first visit, then Lighthouse's
# mobile audit (bench/web/). Node packages at the versions the lock file pins.
# Usage: bench/web_page.sh [site folder] [Lighthouse runs]   (default build-web/site, 5)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
site=$(cd "${1:-$here/../build-web/site}" && pwd)
[[ -f $site/dellomar.wasm ]] || { echo "no web build in $site (run tools/build_web.sh)" >&2; exit 1; }
cd "$here/web"
npm ci --no-audit --no-fund --loglevel=error
printf '\n==== A first visit, from a server that compresses nothing\n'
node first_visit.mjs "$site"
printf '\n==== Lighthouse, mobile profile\n'
node lighthouse.mjs "$site" "${2:-5}"
