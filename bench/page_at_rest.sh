#!/usr/bin/env bash
# The page's cost to the browser: headless Chromium's whole process tree, CPU
# over SECONDS on a blank page, then on the game at rest in play (after 3 s
# of rest), then while the mouse moves the lamp every ~20 ms, at 1280 x 800.
#   bench/page_at_rest.sh [SITE] [SECONDS]
# SITE defaults to build-web/site (tools/build_web.sh), SECONDS to 10.
# puppeteer-core comes from tests/web, at the version its lock file pins.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
site=$(cd "${1:-$here/../build-web/site}" && pwd)
[[ -f $site/dellomar.wasm ]] || { echo "no web build in $site (run tools/build_web.sh)" >&2; exit 1; }
(cd "$here/../tests/web" && npm ci --no-audit --no-fund --loglevel=error)
exec node "$here/page_at_rest.mjs" "$site" "${2:-10}"
