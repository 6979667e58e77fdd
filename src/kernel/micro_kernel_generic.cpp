// The micro-kernel in portable C++: a 4 x 4 tile of scalar accumulators, which the compiler may
// vectorise across j (contraction into fused multiply-add is switched off for the whole build).
#include "kernel/micro_kernel.h"

namespace kocalvix::kernel {
namespace {

constexpr int kRows = 4;
constexpr int kCols = 4;
static_assert(kRows * kCols <= kMaxTileElements, "tile larger than the edge-tile scratch");

void Run(int kc, const double* a, const double* b, double* c, std::ptrdiff_t ldc, bool accumulate) {
    double acc[kRows][kCols];
    KOCALVIX_UNROLL
    for (int i = 0; i < kRows; ++i) {
        KOCALVIX_UNROLL
        for (int j = 0; j < kCols; ++j) {
            acc[i][j] = accumulate ? c[i * ldc + j] : 0.0;
        }
    }
    for (int p = 0; p < kc; ++p, a += kRows, b += kCols) {
        KOCALVIX_UNROLL
        for (int i = 0; i < kRows; ++i) {
            KOCALVIX_UNROLL
            for (int j = 0; j < kCols; ++j) {
                const double product = a[i] * b[j];
                acc[i][j] = acc[i][j] + product;
            }
        }
    }
    KOCALVIX_UNROLL
    for (int i = 0; i < kRows; ++i) {
        KOCALVIX_UNROLL
        for (int j = 0; j < kCols; ++j) {
            c[i * ldc + j] = acc[i][j];
        }
    }
}

}  // namespace

const MicroKernel& GenericMicroKernel() {
    static constexpr MicroKernel kernel{"generic", kRows, kCols, 256, 64, 2048, Run};
    return kernel;
}

}  // namespace kocalvix::kernel
