// SPDX-License-Identifier: MIT
// Polygon area and the overlap of two triangles, as "<Operation>/KoCalvix" and, when Boost is
// installed, "<Operation>/Boost" with Boost.Geometry on the same values: area per vertex of a
// large polygon, and the overlap area of random triangle pairs (Boost: intersection, then the
// area of the pieces). tools/bench-ratios.py turns a run into a table of ratios.
#include <kocalvix/geometry.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

#ifdef KOCALVIX_BENCH_BOOST
#include <boost/geometry.hpp>
#include <boost/geometry/geometries/point_xy.hpp>
#include <boost/geometry/geometries/polygon.hpp>
#endif

namespace {

// The vertices of a star-shaped polygon of n vertices around the origin, in angular order.
std::vector<KoPoint> StarPolygon(int n) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> radius(0.5, 1.0);
    std::vector<KoPoint> points;
    for (int i = 0; i < n; ++i) {
        const double angle = 6.283185307179586 * i / n;
        const double r = radius(rng);
        points.emplace_back(r * std::cos(angle), r * std::sin(angle));
    }
    return points;
}

// A fixed set of random triangle pairs, each as twelve coordinates x0, y0 .. x2, y2 of the first
// then the second; `spread` moves the second triangle away from the first (0: they overlap
// nearly always, larger: more disjoint pairs).
std::vector<double> RandomPairs(std::size_t n, double spread) {
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> coordinate(-1.0, 1.0);
    std::vector<double> pairs;
    for (std::size_t k = 0; k < n; ++k) {
        double v[12];
        for (double& c : v) {
            c = coordinate(rng);
        }
        const double shift = spread * coordinate(rng);
        for (int i = 6; i < 12; i += 2) {
            v[i] += shift;
        }
        pairs.insert(pairs.end(), v, v + 12);
    }
    return pairs;
}

constexpr std::size_t kPairCount = 1024;

std::vector<KoTriangle> Triangles(const std::vector<double>& v) {
    std::vector<KoTriangle> triangles;
    for (std::size_t k = 0; k + 6 <= v.size(); k += 6) {
        triangles.emplace_back(v[k], v[k + 1], v[k + 2], v[k + 3], v[k + 4], v[k + 5]);
    }
    return triangles;
}

void BM_PolygonArea(benchmark::State& state) {
    KoPolygon polygon(StarPolygon(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        benchmark::DoNotOptimize(polygon.Area());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PolygonArea)->Name("PolygonAreaPerVertex/KoCalvix")->Arg(1000);

void BM_CoverageArea(benchmark::State& state) {
    const std::vector<KoTriangle> t = Triangles(RandomPairs(kPairCount, state.range(0)));
    std::size_t k = 0;
    for (auto _ : state) {
        KoTriangle& other = const_cast<KoTriangle&>(t[2 * k + 1]);
        benchmark::DoNotOptimize(t[2 * k].CoverageArea(other));
        k = (k + 1) % kPairCount;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CoverageArea)->Name("CoverageArea/KoCalvix")->Arg(0)->Arg(2)->Arg(4);

void BM_CalculatePolygonvertex(benchmark::State& state) {
    const std::vector<KoTriangle> t = Triangles(RandomPairs(kPairCount, 0.0));
    std::size_t k = 0;
    for (auto _ : state) {
        KoTriangle& other = const_cast<KoTriangle&>(t[2 * k + 1]);
        const KoPolygon overlap = t[2 * k].CalculatePolygonvertex(other);
        benchmark::DoNotOptimize(overlap.size());
        k = (k + 1) % kPairCount;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CalculatePolygonvertex);

#ifdef KOCALVIX_BENCH_BOOST
// GCC warns about a variable inside Boost's rescaling policy once it is inlined here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
namespace bg = boost::geometry;
using BoostPoint = bg::model::d2::point_xy<double>;
using BoostPolygon = bg::model::polygon<BoostPoint>;

// Boost's polygons: closed rings, oriented as Boost expects (bg::correct).
BoostPolygon ToBoost(const double* v, int n) {
    BoostPolygon polygon;
    for (int i = 0; i < n; ++i) {
        bg::append(polygon.outer(), BoostPoint(v[2 * i], v[2 * i + 1]));
    }
    bg::correct(polygon);
    return polygon;
}

void BM_BoostPolygonArea(benchmark::State& state) {
    std::vector<double> v;
    for (const KoPoint& p : StarPolygon(static_cast<int>(state.range(0)))) {
        v.push_back(p.at(0));
        v.push_back(p.at(1));
    }
    const BoostPolygon polygon = ToBoost(v.data(), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(bg::area(polygon));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BoostPolygonArea)->Name("PolygonAreaPerVertex/Boost")->Arg(1000);

void BM_BoostCoverageArea(benchmark::State& state) {
    const std::vector<double> v = RandomPairs(kPairCount, state.range(0));
    std::vector<BoostPolygon> t;
    for (std::size_t k = 0; k + 6 <= v.size(); k += 6) {
        t.push_back(ToBoost(&v[k], 3));
    }
    std::size_t k = 0;
    for (auto _ : state) {
        std::vector<BoostPolygon> pieces;
        bg::intersection(t[2 * k], t[2 * k + 1], pieces);
        double area = 0.0;
        for (const BoostPolygon& piece : pieces) {
            area += bg::area(piece);
        }
        benchmark::DoNotOptimize(area);
        k = (k + 1) % kPairCount;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BoostCoverageArea)->Name("CoverageArea/Boost")->Arg(0)->Arg(2)->Arg(4);
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#endif

}  // namespace
