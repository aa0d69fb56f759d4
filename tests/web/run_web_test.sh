#!/usr/bin/env bash
# Plays the built web page (tools/build_web.sh) in headless Chromium.
# puppeteer-core comes from npm, at the version the lock file pins.
# Usage: tests/web/run_web_test.sh [site folder]   (default build-web/site)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
site=$(cd "${1:-$here/../../build-web/site}" && pwd)
[[ -f $site/dellomar.wasm ]] || { echo "no web build in $site (run tools/build_web.sh)" >&2; exit 1; }
command -v npm >/dev/null || { echo "npm is missing (Debian: nodejs, npm)" >&2; exit 1; }
cd "$here"
npm ci --no-audit --no-fund --loglevel=error
node play_page.mjs "$site"
