#!/usr/bin/env bash
# The build names its sources one by one (CMakeLists.txt, cmake/*.cmake), so a
# file nobody listed is never compiled, and a test nobody listed never runs.
# Every source file and smoke script must be named there: by its path, or by
# its name beside a loop over "<its folder>/${...}".
set -euo pipefail
cd "$(dirname "$0")/.."
build_text=$(cat CMakeLists.txt cmake/*.cmake)
unlisted=0
while IFS= read -r file; do
    [[ $build_text == *"$file"* ]] && continue
    folder=${file%/*}
    stem=${file##*/}
    stem=${stem%.*}
    if [[ $build_text == *"$folder/\${"* ]] && grep -qw -- "$stem" <<<"$build_text"; then
        continue
    fi
    echo "$file is named nowhere in the build" >&2
    unlisted=1
done < <(find app bench display field fuzz input platform screens sound tests tools window \
    -path tests/web/node_modules -prune -o \
    \( -name '*.cpp' -o -path 'tests/smoke/*.sh' -not -path 'tests/smoke/lib/*' \) -print | sort)
if ((unlisted)); then
    echo "list each file above where its target's sources are (sorted, a line for each folder)" >&2
    exit 1
fi
echo "sources: every one listed"
