#!/usr/bin/env bash
# The game core reaches the platform only through platform/*.h: no file of it
# may include SDL, a Windows header or an Emscripten one. Its includes point
# down: only app/ (start-up, shut-down, the main loop) includes app/ headers.
# A backend knows the game only through the seam: no file under platform/
# includes a game header; what it must know the game tells it there.
set -euo pipefail
cd "$(dirname "$0")/.."
pattern='#[[:space:]]*include[[:space:]]*[<"](SDL|windows\.h|ddraw|dinput|dsound|dmusic|mmsystem|objbase|emscripten)'
if grep -rnEi "$pattern" app window field screens display input sound; then
    echo "the game core includes platform headers (above); they belong behind platform/" >&2
    exit 1
fi
if grep -rnE '#[[:space:]]*include[[:space:]]*"app/' window field screens display input sound; then
    echo "a lower module includes app/ (above); what it needs belongs in window/ or below" >&2
    exit 1
fi
if grep -rnE '#[[:space:]]*include[[:space:]]*"(app|window|field|screens|display|input|sound)/' platform; then
    echo "a backend includes the game (above); what it must know belongs in the seam (platform/*.h)" >&2
    exit 1
fi
echo "game core includes: clean"
