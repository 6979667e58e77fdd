// The SSE2 micro-kernel: a 4 x 4 tile (2 x 4 on 32-bit x86, which has only eight XMM registers)
// held in pairs of doubles, one register per two adjacent elements of a row.
#include "kernel/micro_kernel.h"

#if KOCALVIX_KERNEL_X86
#include <emmintrin.h>

namespace kocalvix::kernel {
namespace {

constexpr int kRows = sizeof(void*) == 8 ? 4 : 2;
constexpr int kVectors = 2;  // registers per row
constexpr int kCols = 2 * kVectors;
static_assert(kRows * kCols <= kMaxTileElements, "tile larger than the edge-tile scratch");

// Separate loops for the first block of a sum and for the later ones keep every accumulator in
// a register from start to end.
template <bool kAccumulate>
void RunTile(int kc, const double* a, const double* b, double* c, std::ptrdiff_t ldc) {
    __m128d acc[kRows][kVectors];
    KOCALVIX_UNROLL
    for (int i = 0; i < kRows; ++i) {
        KOCALVIX_UNROLL
        for (int v = 0; v < kVectors; ++v) {
            acc[i][v] = kAccumulate ? _mm_loadu_pd(c + i * ldc + 2 * v) : _mm_setzero_pd();
        }
    }
    for (int p = 0; p < kc; ++p, a += kRows, b += kCols) {
        __m128d bRow[kVectors];
        KOCALVIX_UNROLL
        for (int v = 0; v < kVectors; ++v) {
            bRow[v] = _mm_loadu_pd(b + 2 * v);
        }
        KOCALVIX_UNROLL
        for (int i = 0; i < kRows; ++i) {
            const __m128d ai = _mm_set1_pd(a[i]);
            KOCALVIX_UNROLL
            for (int v = 0; v < kVectors; ++v) {
                acc[i][v] = _mm_add_pd(acc[i][v], _mm_mul_pd(ai, bRow[v]));
            }
        }
    }
    KOCALVIX_UNROLL
    for (int i = 0; i < kRows; ++i) {
        KOCALVIX_UNROLL
        for (int v = 0; v < kVectors; ++v) {
            _mm_storeu_pd(c + i * ldc + 2 * v, acc[i][v]);
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

const MicroKernel& Sse2MicroKernel() {
    static constexpr MicroKernel kernel{"sse2", kRows, kCols, 256, 64, 2048, Run};
    return kernel;
}

}  // namespace kocalvix::kernel
#endif
