// SPDX-License-Identifier: MIT
// The SSE2 micro-kernel: a 4 x 4 tile (2 x 4 on 32-bit x86, which has only eight XMM registers)
// in registers of two doubles.
#include "kernel/micro_kernel_tile.h"

#if KOCALVIX_KERNEL_X86
#include <emmintrin.h>

namespace kocalvix::kernel {
namespace {

struct Sse2 {
    using Register = __m128d;
    static constexpr int kWidth = 2;
    static __m128d Load(const double* p) { return _mm_loadu_pd(p); }
    static void Store(double* p, __m128d x) { _mm_storeu_pd(p, x); }
    static __m128d Zero() { return _mm_setzero_pd(); }
    static __m128d Broadcast(const double* p) { return _mm_set1_pd(*p); }
    static __m128d Add(__m128d x, __m128d y) { return _mm_add_pd(x, y); }
    static __m128d Multiply(__m128d x, __m128d y) { return _mm_mul_pd(x, y); }
};

constexpr int kRows = sizeof(void*) == 8 ? 4 : 2;

}  // namespace

const MicroKernel& Sse2MicroKernel() {
    static constexpr MicroKernel kernel = MakeMicroKernel<Sse2, kRows, 2>("sse2", 256, 64, 2048);
    return kernel;
}

}  // namespace kocalvix::kernel
#endif
