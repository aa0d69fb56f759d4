#!/usr/bin/env bash
# Plays the built web page (tools/build_web.sh) in headless Chromium and in
# headless Firefox ESR, one after the other; fails when either fails.
# puppeteer-core comes from npm, at the version the lock file pins.
# Usage: tests/web/run_web_test.sh [site folder]   (default build-web/site)
# WEB_TEST_BROWSERS="chromium firefox" picks the browsers.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
site=$(cd "${1:-$here/../../build-web/site}" && pwd)
[[ -f $site/dellomar.wasm ]] || { echo "no web build in $site (run tools/build_web.sh)" >&2; exit 1; }
command -v npm >/dev/null || { echo "npm is missing (Debian: nodejs, npm)" >&2; exit 1; }
cd "$here"
npm ci --no-audit --no-fund --loglevel=error
failed=()
for browser in ${WEB_TEST_BROWSERS:-chromium firefox}; do
    echo "---- the page in $browser"
    node play_page.mjs "$site" "$browser" || failed+=("$browser")
done
if ((${#failed[@]} > 0)); then
    echo "the page test failed in: ${failed[*]}" >&2
    exit 1
fi
