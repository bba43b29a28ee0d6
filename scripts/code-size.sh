#!/usr/bin/env bash
# Lines of C++ (non-blank, non-comment) in the code (src, sim, bench) and in the tests
# (tests, fuzz), and their ratio: the project keeps its tests at about a quarter to a third
# of its code. Prints one line; never fails.
cd "$(dirname "$0")/.."
count() {
    git ls-files -- "$@" | grep -E '\.(cpp|h)$' | xargs -r cat | grep -cvE '^\s*(//.*|/?\*.*)?$'
}
code=$(count src sim bench)
tests=$(count tests fuzz)
awk -v c="$code" -v t="$tests" \
    'BEGIN { printf "size: code %d lines, tests %d lines, tests/code %.2f (aim <= 0.35)\n", c, t, t / c }'
