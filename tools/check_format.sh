#!/usr/bin/env bash
# Fails when clang-format (.clang-format at the top) would change a tracked C++
# file; with --fix it applies the formatter to the same files instead. The
# JavaScript in EM_JS blocks sits between "clang-format off" and "on" marks:
# clang-format reads it as C++ and breaks it.
set -euo pipefail
cd "$(dirname "$0")/.."
formatter=${CLANG_FORMAT:-clang-format}
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [[ ${1:-} == --fix ]]; then
    "$formatter" -i "${files[@]}"
    exit 0
fi
if ! "$formatter" --dry-run --Werror "${files[@]}" 2>/dev/null; then
    "$formatter" --dry-run "${files[@]}" 2>&1 | grep -E '^[^ ]+:[0-9]+:[0-9]+: ' | cut -d: -f1 | sort -u |
        sed 's/^/not formatted: /' >&2
    echo "run tools/check_format.sh --fix" >&2
    exit 1
fi
echo "formatting: clean"
