#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Rewrites tests/corpus/golden_corpus.txt from a fresh release build. Run it only when a result
# changes on purpose; the diff of the file then lists the operations and inputs that changed.
#
#   tools/update-corpus.sh [build-dir]    (default: build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
cmake --preset release >/dev/null
cmake --build "$build" --target golden_corpus
"$build/tests/corpus/golden_corpus" --write tests/corpus/golden_corpus.txt
git --no-pager diff --stat -- tests/corpus/golden_corpus.txt || true
