// The AVX-512 micro-kernel: a 12 x 16 tile (2 x 16 on 32-bit x86) in registers of eight doubles.
// Compiled with AVX-512F enabled for this file only; run only where the CPU and the operating
// system support it. Multiplies and adds stay separate instructions.
#include "kernel/micro_kernel.h"

#if KOCALVIX_KERNEL_X86
#include <immintrin.h>

namespace kocalvix::kernel {
namespace {

constexpr int kRows = sizeof(void*) == 8 ? 12 : 2;
constexpr int kVectors = 2;  // registers per row
constexpr int kCols = 8 * kVectors;
static_assert(kRows * kCols <= kMaxTileElements, "tile larger than the edge-tile scratch");

// Separate loops for the first block of a sum and for the later ones keep every accumulator in
// a register from start to end.
template <bool kAccumulate>
void RunTile(int kc, const double* a, const double* b, double* c, std::ptrdiff_t ldc) {
    __m512d acc[kRows][kVectors];
    KOCALVIX_UNROLL
    for (int i = 0; i < kRows; ++i) {
        KOCALVIX_UNROLL
        for (int v = 0; v < kVectors; ++v) {
            acc[i][v] = kAccumulate ? _mm512_loadu_pd(c + i * ldc + 8 * v) : _mm512_setzero_pd();
        }
    }
    for (int p = 0; p < kc; ++p, a += kRows, b += kCols) {
        __m512d bRow[kVectors];
        KOCALVIX_UNROLL
        for (int v = 0; v < kVectors; ++v) {
            bRow[v] = _mm512_loadu_pd(b + 8 * v);
        }
        KOCALVIX_UNROLL
        for (int i = 0; i < kRows; ++i) {
            const __m512d ai = _mm512_set1_pd(a[i]);
            KOCALVIX_UNROLL
            for (int v = 0; v < kVectors; ++v) {
                acc[i][v] = _mm512_add_pd(acc[i][v], _mm512_mul_pd(ai, bRow[v]));
            }
        }
    }
    KOCALVIX_UNROLL
    for (int i = 0; i < kRows; ++i) {
        KOCALVIX_UNROLL
        for (int v = 0; v < kVectors; ++v) {
            _mm512_storeu_pd(c + i * ldc + 8 * v, acc[i][v]);
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

const MicroKernel& Avx512MicroKernel() {
    static constexpr MicroKernel kernel{"avx512", kRows, kCols, 256, 96, 2048, Run};
    return kernel;
}

}  // namespace kocalvix::kernel
#endif
