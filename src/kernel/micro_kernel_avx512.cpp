// The AVX-512 micro-kernel: an 8 x 24 tile (2 x 16 on 32-bit x86) in registers of eight doubles.
// Compiled with AVX-512F enabled for this file only; run only where the CPU and the operating
// system support it. Multiplies and adds stay separate instructions.
#include "kernel/micro_kernel.h"

#if KOCALVIX_KERNEL_X86
#include <immintrin.h>

namespace kocalvix::kernel {
namespace {

constexpr int kRows = sizeof(void*) == 8 ? 8 : 2;
constexpr int kVectors = sizeof(void*) == 8 ? 3 : 2;  // registers per row
constexpr int kCols = 8 * kVectors;

void Run(int kc, const double* a, const double* b, double* c, std::ptrdiff_t ldc, bool accumulate) {
    __m512d acc[kRows][kVectors];
    KOCALVIX_UNROLL
    for (int i = 0; i < kRows; ++i) {
        KOCALVIX_UNROLL
        for (int v = 0; v < kVectors; ++v) {
            acc[i][v] = accumulate ? _mm512_loadu_pd(c + i * ldc + 8 * v) : _mm512_setzero_pd();
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

}  // namespace

const MicroKernel& Avx512MicroKernel() {
    static constexpr MicroKernel kernel{"avx512", kRows, kCols, 256, 96, 2040, Run};
    return kernel;
}

}  // namespace kocalvix::kernel
#endif
