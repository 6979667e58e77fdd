#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The size of the test suite against the size of the library, in raw lines (every line of every
# file, blank lines and comments included, as `wc -l` counts them): everything under tests/
# (programs, harnesses, CMake files, the corpus data, fuzz seeds) against src/ + include/.
# Fails when the tests exceed one third of the library (a CTest).
#
#   tools/test-size.sh    prints both counts and the ratio
set -euo pipefail
cd "$(dirname "$0")/.."
lines() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files --cached --others --exclude-standard -- "$@"
    else
        find "$@" -type f
    fi | while read -r f; do [ -f "$f" ] && cat "$f"; done | wc -l
}
tests=$(lines tests)
library=$(lines src include)
echo "tests: $tests lines; library (src + include): $library lines; ratio $(awk \
    "BEGIN { printf \"%.3f\", $tests / $library }")"
if [ $((3 * tests)) -gt "$library" ]; then
    echo "the tests exceed one third of the library" >&2
    exit 1
fi
