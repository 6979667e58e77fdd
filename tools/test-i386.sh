#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the library and every test as 32-bit x86 (the library's first target) with the
# i686-linux-gnu cross compiler and runs them under qemu-i386 user emulation, so that results,
# the golden corpus included, are checked bit for bit on the 32-bit ABI with SSE2 arithmetic.
# GoogleTest is built for 32 bits from Debian's sources.
#
#   tools/test-i386.sh [build-dir]        (default: build/i386)
#
# Needs g++-i686-linux-gnu, qemu-user and googletest; installs them with apt-get when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/i386}
toolchain="$PWD/cmake/toolchains/i686-linux.cmake"

missing=()
command -v i686-linux-gnu-g++ >/dev/null || missing+=(g++-i686-linux-gnu)
command -v qemu-i386 >/dev/null || missing+=(qemu-user)
[ -d /usr/src/googletest ] || missing+=(googletest)
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get -o DPkg::Lock::Timeout=600 update
    apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
fi

gtest="$build/googletest"
if [ ! -f "$gtest/prefix/lib/libgtest.a" ]; then
    cmake -S /usr/src/googletest -B "$gtest/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$PWD/$gtest/prefix" \
        -DCMAKE_INSTALL_LIBDIR=lib
    cmake --build "$gtest/build"
    cmake --install "$gtest/build"
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DGTest_DIR="$PWD/$gtest/prefix/lib/cmake/GTest" \
    -DKOCALVIX_WARNINGS_AS_ERRORS=ON -DKOCALVIX_BUILD_BENCHMARKS=OFF -DKOCALVIX_TEST_INSTALL=OFF
cmake --build "$build"
# qemu-i386 user emulation on this Debian hangs when a program starts a thread (even a bare
# std::thread), so tests that start threads (named ...Threads) run only natively, and
# KOCALVIX_THREADS=1 keeps every matrix product (and the product-kernel test) on the calling thread.
# The full allocation-failure sweep (label "sweep") runs each operation in a fresh thread too.
KOCALVIX_THREADS=1 ctest --test-dir "$build" --output-on-failure -j2 -E 'Threads$' -LE sweep
