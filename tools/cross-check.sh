#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the library and the golden-corpus check for another platform and runs the check there
# under emulation, with one and with two product threads: every result must have the same bits
# as on the machine that wrote the corpus.
#
#   tools/cross-check.sh aarch64      64-bit ARM Linux (g++-aarch64-linux-gnu, qemu-aarch64)
#   tools/cross-check.sh windows64    64-bit Windows (MinGW-w64, wine64)
#   tools/cross-check.sh windows32    32-bit Windows (MinGW-w64, Wine's 32-bit part)
#
# Installs the cross compiler and the emulator with apt-get when missing; exits with status 3
# when they cannot be installed or started for windows32 (Wine's 32-bit part needs Debian's i386
# archive and a kernel that runs 32-bit x86 programs).
# The build goes to build/<platform> unless a second argument names another directory.
set -euo pipefail
cd "$(dirname "$0")/.."
platform=${1:?usage: tools/cross-check.sh aarch64|windows64|windows32 [build-dir]}
build=${2:-build/$platform}

case "$platform" in
aarch64)
    toolchain=aarch64-linux
    need=(aarch64-linux-gnu-g++:g++-aarch64-linux-gnu qemu-aarch64:qemu-user)
    ;;
windows64)
    toolchain=mingw64
    need=(x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix
          x86_64-w64-mingw32-windres:binutils-mingw-w64-x86-64 /usr/lib/wine/wine64:wine64)
    ;;
windows32)
    toolchain=mingw32
    need=(i686-w64-mingw32-g++-posix:g++-mingw-w64-i686-posix
          i686-w64-mingw32-windres:binutils-mingw-w64-i686 /usr/lib/wine/wine:wine32)
    ;;
*)
    echo "unknown platform '$platform'" >&2
    exit 2
    ;;
esac

missing=()
for pair in "${need[@]}"; do
    command -v "${pair%%:*}" >/dev/null || missing+=("${pair#*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt="apt-get -o DPkg::Lock::Timeout=600"
    if [[ " ${missing[*]} " == *" wine32 "* ]]; then
        # Wine's 32-bit part lives in Debian's i386 archive. When it cannot be had, say so with
        # exit status 3 (not a failure of the check) and leave the package manager as it was.
        dpkg --add-architecture i386
        if ! { $apt update && $apt install -y --no-install-recommends "${missing[@]}"; }; then
            dpkg --remove-architecture i386 2>/dev/null || true
            $apt update || true
            echo "$platform: Wine's 32-bit part could not be installed; check not run" >&2
            exit 3
        fi
    else
        $apt update
        $apt install -y --no-install-recommends "${missing[@]}"
    fi
fi

# Wine's 32-bit part is an i386 program: a kernel without 32-bit x86 support cannot start it.
if [ "$platform" = windows32 ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "$platform: Wine's 32-bit part does not start here (no 32-bit x86 support); check not run" >&2
    exit 3
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/toolchains/$toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DKOCALVIX_WARNINGS_AS_ERRORS=ON \
    -DKOCALVIX_BUILD_TESTS=OFF -DKOCALVIX_BUILD_BENCHMARKS=OFF -DKOCALVIX_BUILD_EXAMPLES=OFF \
    -DKOCALVIX_BUILD_CORPUS=ON -DKOCALVIX_TEST_INSTALL=OFF \
    -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$PWD/$build/bin"
cmake --build "$build"

# Wine prints its own start-up notes; keep them out of the report, and keep its prefix inside
# the build directory so that a fresh machine needs no set-up.
export WINEDEBUG=-all WINEPREFIX="$PWD/$build/wineprefix"
for threads in 1 2; do
    echo "== $platform, $threads product thread(s)"
    KOCALVIX_THREADS=$threads ctest --test-dir "$build" --output-on-failure
done
