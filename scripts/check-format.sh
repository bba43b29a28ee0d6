#!/usr/bin/env bash
# Checks that every C++ file git tracks is formatted by .clang-format (Debian's
# clang-format); with --fix, formats them instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/need-packages.sh clang-format
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --fix ]; then
    clang-format -i "${files[@]}"
    exit 0
fi
if clang-format --dry-run --Werror "${files[@]}" 2>/tmp/plx-format.$$; then
    echo "format: ${#files[@]} files as .clang-format has them"
    rm -f /tmp/plx-format.$$
else
    grep -E '^[^ ].*: (error|warning):' /tmp/plx-format.$$ | cut -d: -f1 | sort -u | sed 's/$/: not formatted/'
    rm -f /tmp/plx-format.$$
    echo "format: run scripts/check-format.sh --fix"
    exit 1
fi
