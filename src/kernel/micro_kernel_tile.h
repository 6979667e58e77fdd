// SPDX-License-Identifier: MIT
// The register tile that every micro-kernel computes, written once over a small set of vector
// operations; each instruction set supplies them in its own file (compiled with its own flags)
// and instantiates the tile there. Private to the library.
#ifndef KOCALVIX_SRC_KERNEL_MICRO_KERNEL_TILE_H
#define KOCALVIX_SRC_KERNEL_MICRO_KERNEL_TILE_H

#include <cstddef>

#include "kernel/micro_kernel.h"

// Fully unrolls a loop over the registers of a tile, so that the accumulators stay in registers
// (GCC otherwise keeps a copy of some of them in memory, stored on every step).
#if defined(__GNUC__) || defined(__clang__)
#define KOCALVIX_UNROLL _Pragma("GCC unroll 32")
#else
#define KOCALVIX_UNROLL
#endif

namespace kocalvix::kernel {

// `Vector` provides: the type Register holding kWidth doubles; Load and Store (unaligned),
// Zero (+0.0 in every lane), Broadcast (one double into every lane), and the lane-wise Add and
// Multiply, each rounded once. The first block of a sum (kAccumulate false) starts from +0.0,
// a later one from the partial sums in c; separate instantiations for the two keep every
// accumulator in a register from start to end.
template <class Vector, int kRows, int kVectors, bool kAccumulate>
void RunTile(int kc, const double* a, const double* b, double* c, std::ptrdiff_t ldc) {
    using Register = typename Vector::Register;
    constexpr int kWidth = Vector::kWidth;
    Register acc[kRows][kVectors];
    KOCALVIX_UNROLL
    for (int i = 0; i < kRows; ++i) {
        KOCALVIX_UNROLL
        for (int v = 0; v < kVectors; ++v) {
            acc[i][v] = kAccumulate ? Vector::Load(c + i * ldc + kWidth * v) : Vector::Zero();
        }
    }
    for (int p = 0; p < kc; ++p, a += kRows, b += kWidth * kVectors) {
        Register bRow[kVectors];
        KOCALVIX_UNROLL
        for (int v = 0; v < kVectors; ++v) {
            bRow[v] = Vector::Load(b + kWidth * v);
        }
        KOCALVIX_UNROLL
        for (int i = 0; i < kRows; ++i) {
            const Register ai = Vector::Broadcast(a + i);
            KOCALVIX_UNROLL
            for (int v = 0; v < kVectors; ++v) {
                acc[i][v] = Vector::Add(acc[i][v], Vector::Multiply(ai, bRow[v]));
            }
        }
    }
    KOCALVIX_UNROLL
    for (int i = 0; i < kRows; ++i) {
        KOCALVIX_UNROLL
        for (int v = 0; v < kVectors; ++v) {
            Vector::Store(c + i * ldc + kWidth * v, acc[i][v]);
        }
    }
}

template <class Vector, int kRows, int kVectors>
void RunMicroKernel(int kc, const double* a, const double* b, double* c, std::ptrdiff_t ldc,
                    bool accumulate) {
    if (accumulate) {
        RunTile<Vector, kRows, kVectors, true>(kc, a, b, c, ldc);
    } else {
        RunTile<Vector, kRows, kVectors, false>(kc, a, b, c, ldc);
    }
}

/// The micro-kernel of kRows x kVectors registers of `Vector`, with the given block sizes.
template <class Vector, int kRows, int kVectors>
constexpr MicroKernel MakeMicroKernel(const char* name, int kc, int mc, int nc) {
    static_assert(kRows * kVectors * Vector::kWidth <= kMaxTileElements,
                  "tile larger than the edge-tile scratch");
    return MicroKernel{name,
                       kRows,
                       kVectors * Vector::kWidth,
                       kc,
                       mc,
                       nc,
                       &RunMicroKernel<Vector, kRows, kVectors>};
}

}  // namespace kocalvix::kernel

#endif  // KOCALVIX_SRC_KERNEL_MICRO_KERNEL_TILE_H
