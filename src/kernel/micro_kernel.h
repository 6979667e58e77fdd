// SPDX-License-Identifier: MIT
// The register-tile micro-kernels under the product kernel: one per instruction set, each in its
// own file, all computing the same bits. Private to the library.
#ifndef KOCALVIX_SRC_KERNEL_MICRO_KERNEL_H
#define KOCALVIX_SRC_KERNEL_MICRO_KERNEL_H

#include <cstddef>

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#define KOCALVIX_KERNEL_X86 1
#else
#define KOCALVIX_KERNEL_X86 0
#endif

namespace kocalvix::kernel {

/// The largest tile any micro-kernel uses (rows * cols), for the edge-tile scratch buffer.
constexpr int kMaxTileElements = 12 * 16;

/// A micro-kernel and the block sizes of the loops around it.
///
/// `run(kc, a, b, c, ldc, accumulate)` updates the rows x cols tile c (row stride ldc):
///     acc(i, j) = accumulate ? c(i, j) : +0.0;
///     acc(i, j) = acc(i, j) + a[p * rows + i] * b[p * cols + j]   for p = 0, 1, ..., kc - 1;
///     c(i, j) = acc(i, j),
/// one rounding per multiply and per add, no fused multiply-add. `a` is a packed panel of
/// `rows` rows of the left operand (column by column), `b` a packed panel of `cols` columns of
/// the right operand (row by row); kc >= 1.
struct MicroKernel {
    const char* name;
    int rows;
    int cols;
    int kc;  // depth of a packed block: a panel of b of kc x cols stays in the first-level cache
    int mc;  // rows of the packed block of a, which stays in the second-level cache
    int nc;  // columns of the packed block of b
    void (*run)(int kc, const double* a, const double* b, double* c, std::ptrdiff_t ldc,
                bool accumulate);
};

/// Portable C++; the only micro-kernel on targets other than x86.
const MicroKernel& GenericMicroKernel();
#if KOCALVIX_KERNEL_X86
/// Two doubles per register; every x86 CPU the library runs on has it.
const MicroKernel& Sse2MicroKernel();
/// Four doubles per register; needs AVX2 and an operating system that saves YMM state.
const MicroKernel& Avx2MicroKernel();
/// Eight doubles per register; needs AVX-512F and an operating system that saves ZMM state.
const MicroKernel& Avx512MicroKernel();
#endif

}  // namespace kocalvix::kernel

#endif  // KOCALVIX_SRC_KERNEL_MICRO_KERNEL_H
