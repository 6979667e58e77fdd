// SPDX-License-Identifier: MIT
// The AVX2 micro-kernel: a 6 x 8 tile (2 x 8 on 32-bit x86) in registers of four doubles.
// Compiled with AVX2 enabled for this file only; run only where the CPU and the operating system
// support it. Multiplies and adds stay separate instructions.
#include "kernel/micro_kernel_tile.h"

#if KOCALVIX_KERNEL_X86
#include <immintrin.h>

namespace kocalvix::kernel {
namespace {

struct Avx2 {
    using Register = __m256d;
    static constexpr int kWidth = 4;
    static __m256d Load(const double* p) { return _mm256_loadu_pd(p); }
    static void Store(double* p, __m256d x) { _mm256_storeu_pd(p, x); }
    static __m256d Zero() { return _mm256_setzero_pd(); }
    static __m256d Broadcast(const double* p) { return _mm256_broadcast_sd(p); }
    static __m256d Add(__m256d x, __m256d y) { return _mm256_add_pd(x, y); }
    static __m256d Multiply(__m256d x, __m256d y) { return _mm256_mul_pd(x, y); }
};

constexpr int kRows = sizeof(void*) == 8 ? 6 : 2;

}  // namespace

const MicroKernel& Avx2MicroKernel() {
    static constexpr MicroKernel kernel = MakeMicroKernel<Avx2, kRows, 2>("avx2", 256, 96, 2048);
    return kernel;
}

}  // namespace kocalvix::kernel
#endif
