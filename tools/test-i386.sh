#!/usr/bin/env bash
# Builds the library and every test as 32-bit x86 (the library's first target) and runs the tests
# under qemu-i386 user emulation, so that results are checked bit for bit on the 32-bit ABI with
# SSE2 arithmetic. GoogleTest is built for 32 bits from Debian's sources.
#
#   tools/test-i386.sh [build-dir]        (default: build/i386)
#
# Needs g++-multilib, qemu-user and libgtest-dev; installs them with apt-get when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/i386}

missing=()
echo 'int main() { return 0; }' | g++ -m32 -x c++ - -o /dev/null 2>/dev/null || missing+=(g++-multilib)
command -v qemu-i386 >/dev/null || missing+=(qemu-user)
[ -d /usr/src/googletest ] || missing+=(libgtest-dev)
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
fi

gtest="$build/googletest"
if [ ! -f "$gtest/prefix/lib/libgtest.a" ] && [ ! -f "$gtest/prefix/lib32/libgtest.a" ]; then
    CFLAGS=-m32 CXXFLAGS=-m32 cmake -S /usr/src/googletest -B "$gtest/build" -G Ninja \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DCMAKE_INSTALL_PREFIX="$PWD/$gtest/prefix"
    cmake --build "$gtest/build"
    cmake --install "$gtest/build"
fi

CXXFLAGS=-m32 LDFLAGS=-m32 cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$PWD/$gtest/prefix" -DCMAKE_CROSSCOMPILING_EMULATOR="qemu-i386;-L;/" \
    -DKOCALVIX_WARNINGS_AS_ERRORS=ON -DKOCALVIX_BUILD_BENCHMARKS=OFF -DKOCALVIX_TEST_INSTALL=OFF
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2
