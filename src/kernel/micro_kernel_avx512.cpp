// SPDX-License-Identifier: MIT
// The AVX-512 micro-kernel: a 12 x 16 tile (2 x 16 on 32-bit x86) in registers of eight doubles.
// Compiled with AVX-512F enabled for this file only; run only where the CPU and the operating
// system support it. Multiplies and adds stay separate instructions.
#include "kernel/micro_kernel_tile.h"

#if KOCALVIX_KERNEL_X86
#include <immintrin.h>

namespace kocalvix::kernel {
namespace {

struct Avx512 {
    using Register = __m512d;
    static constexpr int kWidth = 8;
    static __m512d Load(const double* p) { return _mm512_loadu_pd(p); }
    static void Store(double* p, __m512d x) { _mm512_storeu_pd(p, x); }
    static __m512d Zero() { return _mm512_setzero_pd(); }
    static __m512d Broadcast(const double* p) { return _mm512_set1_pd(*p); }
    static __m512d Add(__m512d x, __m512d y) { return _mm512_add_pd(x, y); }
    static __m512d Multiply(__m512d x, __m512d y) { return _mm512_mul_pd(x, y); }
};

constexpr int kRows = sizeof(void*) == 8 ? 12 : 2;

}  // namespace

const MicroKernel& Avx512MicroKernel() {
    static constexpr MicroKernel kernel =
        MakeMicroKernel<Avx512, kRows, 2>("avx512", 256, 96, 2048);
    return kernel;
}

}  // namespace kocalvix::kernel
#endif
