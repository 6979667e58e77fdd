// SPDX-License-Identifier: MIT
// The matrix product, the kernel under every decomposition, at a few square sizes.
#include <kocalvix/matrix.h>

#include <benchmark/benchmark.h>

#include <random>

namespace {

KoMatrix RandomMatrix(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    KoMatrix m(n, n);
    for (int k = 0; k < m.ElementNum(); ++k) {
        m[k] = dist(rng);
    }
    return m;
}

void BM_Product(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const KoMatrix a = RandomMatrix(n, 1);
    const KoMatrix b = RandomMatrix(n, 2);
    for (auto _ : state) {
        KoMatrix c = a * b;
        benchmark::DoNotOptimize(c.at(0));
    }
    state.counters["flops"] =
        benchmark::Counter(2.0 * n * n * n * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Product)->Arg(8)->Arg(64)->Arg(256);

void BM_ProductInPlace(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const KoMatrix a = RandomMatrix(n, 1);
    const KoMatrix b = RandomMatrix(n, 2);
    KoMatrix c(a);
    for (auto _ : state) {
        c = a;
        c *= b;
        benchmark::DoNotOptimize(c.at(0));
    }
}
BENCHMARK(BM_ProductInPlace)->Arg(8)->Arg(64)->Arg(256);

}  // namespace
