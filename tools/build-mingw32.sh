#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Cross-builds the library and the tour as a 32-bit Windows DLL with MinGW-w64 (warnings as
# errors), which compiles the Windows-only pieces: the export macro as dllexport, the DLL entry
# routine and the version resource. Checks that the DLL carries version 2.2.0.1.
#
#   tools/build-mingw32.sh [build-dir]    (default: build/mingw32)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/mingw32}

missing=()
command -v i686-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-i686-posix)
command -v i686-w64-mingw32-windres >/dev/null || missing+=(binutils-mingw-w64-i686)
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get -o DPkg::Lock::Timeout=600 update
    apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw32.cmake \
    -DCMAKE_BUILD_TYPE=Release -DKOCALVIX_WARNINGS_AS_ERRORS=ON \
    -DKOCALVIX_BUILD_TESTS=OFF -DKOCALVIX_BUILD_BENCHMARKS=OFF
cmake --build "$build"
if ! strings -el "$build/libKoCalvix.dll" | grep -qx '2.2.0.1'; then
    echo "libKoCalvix.dll carries no version record 2.2.0.1" >&2
    exit 1
fi
echo "mingw32: libKoCalvix.dll built with version record 2.2.0.1"
