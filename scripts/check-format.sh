#!/usr/bin/env bash
# Fails when a source file differs from what clang-format makes of it (the project's
# .clang-format, clang-format 14). `scripts/check-format.sh --fix` formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
tool=clang-format-14
command -v "$tool" >/dev/null || { echo "check-format: $tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
mapfile -t files < <(git ls-files -- 'src/*.h' 'src/*.cpp' 'cli/*.h' 'cli/*.cpp' 'tests/*.h' 'tests/*.cpp' \
    'bench/*.h' 'bench/*.cpp' 'fuzz/*.h' 'fuzz/*.cpp' 'tools/*.h' 'tools/*.cpp')
if [ "${1:-}" = --fix ]; then
    "$tool" -i "${files[@]}"
    exit 0
fi
bad=0
for f in "${files[@]}"; do
    if ! "$tool" --dry-run --Werror "$f" >/dev/null 2>&1; then
        echo "check-format: $f differs from clang-format (scripts/check-format.sh --fix)"
        bad=$((bad + 1))
    fi
done
echo "check-format: ${#files[@]} files, $bad to format"
[ "$bad" -eq 0 ]
