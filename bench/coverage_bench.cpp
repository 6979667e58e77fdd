// SPDX-License-Identifier: MIT
// The overlap area of two triangles on random pairs, and the overlap polygon alone.
#include <kocalvix/geometry.h>

#include <benchmark/benchmark.h>

#include <cstddef>
#include <random>
#include <utility>
#include <vector>

namespace {

// A fixed set of random triangle pairs; `spread` moves the second triangle away from the first
// (0: they overlap nearly always, larger: more disjoint pairs).
std::vector<std::pair<KoTriangle, KoTriangle>> RandomPairs(std::size_t n, double spread) {
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> coordinate(-1.0, 1.0);
    std::vector<std::pair<KoTriangle, KoTriangle>> pairs;
    pairs.reserve(n);
    for (std::size_t k = 0; k < n; ++k) {
        double v[12];
        for (double& c : v) {
            c = coordinate(rng);
        }
        const double shift = spread * coordinate(rng);
        pairs.emplace_back(
            KoTriangle(v[0], v[1], v[2], v[3], v[4], v[5]),
            KoTriangle(v[6] + shift, v[7], v[8] + shift, v[9], v[10] + shift, v[11]));
    }
    return pairs;
}

void BM_CoverageArea(benchmark::State& state) {
    auto pairs = RandomPairs(1024, static_cast<double>(state.range(0)));
    std::size_t k = 0;
    for (auto _ : state) {
        auto& pair = pairs[k];
        benchmark::DoNotOptimize(pair.first.CoverageArea(pair.second));
        k = (k + 1) % pairs.size();
    }
    state.SetItemsProcessed(static_cast<long long>(state.iterations()));
}
BENCHMARK(BM_CoverageArea)->Arg(0)->Arg(2)->Arg(4);

void BM_CalculatePolygonvertex(benchmark::State& state) {
    auto pairs = RandomPairs(1024, 0.0);
    std::size_t k = 0;
    for (auto _ : state) {
        auto& pair = pairs[k];
        const KoPolygon overlap = pair.first.CalculatePolygonvertex(pair.second);
        benchmark::DoNotOptimize(overlap.size());
        k = (k + 1) % pairs.size();
    }
    state.SetItemsProcessed(static_cast<long long>(state.iterations()));
}
BENCHMARK(BM_CalculatePolygonvertex);

}  // namespace
