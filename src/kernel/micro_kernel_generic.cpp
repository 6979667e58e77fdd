// SPDX-License-Identifier: MIT
// The micro-kernel in portable C++: a 4 x 4 tile of scalar accumulators, which the compiler may
// vectorise across j (contraction into fused multiply-add is switched off for the whole build).
#include "kernel/micro_kernel_tile.h"

namespace kocalvix::kernel {
namespace {

struct Scalar {
    using Register = double;
    static constexpr int kWidth = 1;
    static double Load(const double* p) { return *p; }
    static void Store(double* p, double x) { *p = x; }
    static double Zero() { return 0.0; }
    static double Broadcast(const double* p) { return *p; }
    static double Add(double x, double y) { return x + y; }
    static double Multiply(double x, double y) { return x * y; }
};

}  // namespace

const MicroKernel& GenericMicroKernel() {
    static constexpr MicroKernel kernel = MakeMicroKernel<Scalar, 4, 4>("generic", 256, 64, 2048);
    return kernel;
}

}  // namespace kocalvix::kernel
