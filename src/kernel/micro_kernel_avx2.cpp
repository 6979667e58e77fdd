// The AVX2 micro-kernel: a 6 x 8 tile (2 x 8 on 32-bit x86) in registers of four doubles.
// Compiled with AVX2 enabled for this file only; run only where the CPU and the operating system
// support it. Multiplies and adds stay separate instructions.
#include "kernel/micro_kernel.h"

#if KOCALVIX_KERNEL_X86
#include <immintrin.h>

namespace kocalvix::kernel {
namespace {

constexpr int kRows = sizeof(void*) == 8 ? 6 : 2;
constexpr int kVectors = 2;  // registers per row
constexpr int kCols = 4 * kVectors;
static_assert(kRows * kCols <= kMaxTileElements, "tile larger than the edge-tile scratch");

// Separate loops for the first block of a sum and for the later ones keep every accumulator in
// a register from start to end.
template <bool kAccumulate>
void RunTile(int kc, const double* a, const double* b, double* c, std::ptrdiff_t ldc) {
    __m256d acc[kRows][kVectors];
    KOCALVIX_UNROLL
    for (int i = 0; i < kRows; ++i) {
        KOCALVIX_UNROLL
        for (int v = 0; v < kVectors; ++v) {
            acc[i][v] = kAccumulate ? _mm256_loadu_pd(c + i * ldc + 4 * v) : _mm256_setzero_pd();
        }
    }
    for (int p = 0; p < kc; ++p, a += kRows, b += kCols) {
        __m256d bRow[kVectors];
        KOCALVIX_UNROLL
        for (int v = 0; v < kVectors; ++v) {
            bRow[v] = _mm256_loadu_pd(b + 4 * v);
        }
        KOCALVIX_UNROLL
        for (int i = 0; i < kRows; ++i) {
            const __m256d ai = _mm256_broadcast_sd(a + i);
            KOCALVIX_UNROLL
            for (int v = 0; v < kVectors; ++v) {
                acc[i][v] = _mm256_add_pd(acc[i][v], _mm256_mul_pd(ai, bRow[v]));
            }
        }
    }
    KOCALVIX_UNROLL
    for (int i = 0; i < kRows; ++i) {
        KOCALVIX_UNROLL
        for (int v = 0; v < kVectors; ++v) {
            _mm256_storeu_pd(c + i * ldc + 4 * v, acc[i][v]);
        }
    }
}

void Run(int kc, const double* a, const double* b, double* c, std::ptrdiff_t ldc, bool accumulate) {
    if (accumulate) {
        RunTile<true>(kc, a, b, c, ldc);
    } else {
        RunTile<false>(kc, a, b, c, ldc);
    }
}

}  // namespace

const MicroKernel& Avx2MicroKernel() {
    static constexpr MicroKernel kernel{"avx2", kRows, kCols, 256, 96, 2048, Run};
    return kernel;
}

}  // namespace kocalvix::kernel
#endif
