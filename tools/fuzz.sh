#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer target (configure preset "fuzz": Clang, AddressSanitizer + UBSan) and
# runs it for a bounded time, starting from the seed corpus in tests/fuzz/corpus. New inputs go
# to build/fuzz/corpus, crashes to build/fuzz/artifacts; the repository's corpus is only read.
#
#   tools/fuzz.sh [seconds] [extra libFuzzer options...]     (default: 60 seconds)
#
# To fuzz for longer, give more seconds (and -jobs=N -workers=N to use N cores), for instance
#   tools/fuzz.sh 3600 -jobs=2 -workers=2
# A crash input reruns with build/fuzz/tests/fuzz/kocalvix_fuzz <file>.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/corpus build/fuzz/artifacts
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    build/fuzz/tests/fuzz/kocalvix_fuzz -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -artifact_prefix=build/fuzz/artifacts/ -print_final_stats=1 "$@" \
    build/fuzz/corpus tests/fuzz/corpus
