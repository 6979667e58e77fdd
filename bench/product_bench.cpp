// SPDX-License-Identifier: MIT
// The matrix product in GFLOP/s (2 m n k per product): the kernel on every instruction-set path
// this CPU has, on 1 and 2 threads, next to OpenBLAS's dgemm on one thread and Eigen when they
// were found at configure time. Run OpenBLAS with OPENBLAS_CORETYPE unset so that it picks its
// own kernel for the CPU.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <random>
#include <string>
#include <vector>

#include "kernel/product_kernel.h"

#ifdef KOCALVIX_BENCH_OPENBLAS
#include <cblas.h>
#endif
#ifdef KOCALVIX_BENCH_EIGEN
#include <Eigen/Core>
#endif

namespace {

using kocalvix::kernel::ProductPath;

struct Shape {
    int m, k, n;
};

// Squares, then a wide product of low depth and a tall-skinny one, as the decompositions form.
const Shape kShapes[] = {{8, 8, 8},          {64, 64, 64},     {256, 256, 256}, {512, 512, 512},
                         {1024, 1024, 1024}, {1000, 300, 700}, {4000, 64, 96}};

std::vector<double> Random(const Shape& s, int rows, int cols, unsigned seed) {
    std::mt19937 rng(seed + static_cast<unsigned>(s.m + s.n + s.k));
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    std::vector<double> x(static_cast<std::size_t>(rows) * cols);
    for (double& v : x) {
        v = value(rng);
    }
    return x;
}

void SetFlops(benchmark::State& state, const Shape& s) {
    state.counters["GFLOP/s"] =
        benchmark::Counter(2.0 * s.m * s.n * s.k * static_cast<double>(state.iterations()) * 1e-9,
                           benchmark::Counter::kIsRate);
}

void KoCalvix(benchmark::State& state, ProductPath path, int threads, Shape s) {
    const std::vector<double> a = Random(s, s.m, s.k, 1), b = Random(s, s.k, s.n, 2);
    std::vector<double> c(static_cast<std::size_t>(s.m) * s.n);
    // Small products stay on one thread, as in the library's own products.
    const int used = kocalvix::kernel::ThreadsFor(threads, s.m, s.n, s.k);
    for (auto _ : state) {
        kocalvix::kernel::MultiplyOn(path, used, s.m, s.n, s.k, a.data(), s.k, b.data(), s.n,
                                     c.data(), s.n);
        benchmark::DoNotOptimize(c.data());
        benchmark::ClobberMemory();
    }
    SetFlops(state, s);
}

#ifdef KOCALVIX_BENCH_OPENBLAS
void OpenBlas(benchmark::State& state, Shape s) {
    openblas_set_num_threads(1);
    const std::vector<double> a = Random(s, s.m, s.k, 1), b = Random(s, s.k, s.n, 2);
    std::vector<double> c(static_cast<std::size_t>(s.m) * s.n);
    for (auto _ : state) {
        cblas_dgemm(CblasRowMajor, CblasNoTrans, CblasNoTrans, s.m, s.n, s.k, 1.0, a.data(), s.k,
                    b.data(), s.n, 0.0, c.data(), s.n);
        benchmark::DoNotOptimize(c.data());
        benchmark::ClobberMemory();
    }
    SetFlops(state, s);
}
#endif

#ifdef KOCALVIX_BENCH_EIGEN
void Eigen34(benchmark::State& state, Shape s) {
    using Matrix = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
    const std::vector<double> a = Random(s, s.m, s.k, 1), b = Random(s, s.k, s.n, 2);
    const Matrix ma = Eigen::Map<const Matrix>(a.data(), s.m, s.k);
    const Matrix mb = Eigen::Map<const Matrix>(b.data(), s.k, s.n);
    Matrix mc(s.m, s.n);
    for (auto _ : state) {
        mc.noalias() = ma * mb;
        benchmark::DoNotOptimize(mc.data());
        benchmark::ClobberMemory();
    }
    SetFlops(state, s);
}
#endif

std::string Name(const std::string& who, const Shape& s) {
    return who + "/" + std::to_string(s.m) + "x" + std::to_string(s.k) + "x" + std::to_string(s.n);
}

}  // namespace

int main(int argc, char** argv) {
    for (const Shape& s : kShapes) {
        for (const ProductPath path : {ProductPath::kGeneric, ProductPath::kSse2,
                                       ProductPath::kAvx2, ProductPath::kAvx512}) {
            if (kocalvix::kernel::SupportedPath(path) != path) {
                continue;
            }
            for (const int threads : {1, 2}) {
                const std::string who = std::string("KoCalvix_") +
                                        kocalvix::kernel::PathName(path) + "_" +
                                        std::to_string(threads) + "t";
                benchmark::RegisterBenchmark(Name(who, s).c_str(), KoCalvix, path, threads, s)
                    ->Unit(benchmark::kMicrosecond)
                    ->UseRealTime();
            }
        }
#ifdef KOCALVIX_BENCH_OPENBLAS
        benchmark::RegisterBenchmark(Name("OpenBLAS_1t", s).c_str(), OpenBlas, s)
            ->Unit(benchmark::kMicrosecond)
            ->UseRealTime();
#endif
#ifdef KOCALVIX_BENCH_EIGEN
        benchmark::RegisterBenchmark(Name("Eigen_1t", s).c_str(), Eigen34, s)
            ->Unit(benchmark::kMicrosecond)
            ->UseRealTime();
#endif
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
