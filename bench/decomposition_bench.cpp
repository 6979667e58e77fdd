// SPDX-License-Identifier: MIT
// Every decomposition at n = 16 .. 256 on random square matrices, each next to its literal form
// (every reflection and rotation applied as a full product with the embedding identity), in the
// same run: compare the two times of one size, not times across runs. The literal forms run only
// up to the sizes where one call stays within seconds. Inv/diagnosed is KoDiagnostics::Inv.
//
//   build/release/bench/decomposition_bench --benchmark_filter=Householder
#include <benchmark/benchmark.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include <kocalvix/diagnostics.h>

#include "linalg/literal_forms.h"
#include "matrix/KoMatrixImplement.h"

namespace {

KoMatrixImplement RandomMatrix(int n, bool symmetric) {
    std::mt19937 rng(static_cast<unsigned>(n));
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    KoMatrixImplement a(n, n);
    for (int k = 0; k < a.count; ++k) {
        a.data[k] = value(rng);
    }
    for (int i = 0; symmetric && i < n; ++i) {
        for (int j = 0; j < i; ++j) {
            a(i, j) = a(j, i);
        }
    }
    return a;
}

using Run = std::function<double(const KoMatrixImplement&)>;

struct Decomposition {
    const char* name;
    bool symmetric;  // the input must be symmetric (Eigen)
    int largestFast;
    int largestLiteral;
    Run fast;
    Run literal;
};

// Each run returns one element of its result, so that nothing is optimised away.
double First(const KoMatrixImplement& m) {
    return m.count > 0 ? m.data[0] : 0.0;
}

const std::vector<Decomposition>& Decompositions() {
    using namespace kocalvix;
    using M = KoMatrixImplement;
    static const std::vector<Decomposition> all = {
        {"GramSchmidt", false, 256, 256,
         [](const M& a) {
             M q, r;
             a.GramSchmidt(q, r);
             return First(r);
         },
         [](const M& a) {
             M q, r;
             literal::GramSchmidt(a, q, r);
             return First(r);
         }},
        {"Householder", false, 256, 256,
         [](const M& a) {
             M q, r;
             a.Householder(q, r);
             return First(r);
         },
         [](const M& a) {
             M q, r;
             literal::Householder(a, q, r);
             return First(r);
         }},
        {"Givens", false, 256, 64,
         [](const M& a) {
             M q, r;
             a.Givens(q, r);
             return First(r);
         },
         [](const M& a) {
             M q, r;
             literal::Givens(a, q, r);
             return First(r);
         }},
        {"BiDiagonalize", false, 256, 256,
         [](const M& a) {
             M u, b, v;
             a.BiDiagonalize(u, b, v);
             return First(b);
         },
         [](const M& a) {
             M u, b, v;
             literal::BiDiagonalize(a, u, b, v);
             return First(b);
         }},
        {"EigenValues", false, 128, 128,
         [](const M& a) {
             M v;
             a.EigenValues(v);
             return First(v);
         },
         [](const M& a) {
             M v;
             literal::EigenValues(a, v);
             return First(v);
         }},
        {"Eigen", true, 128, 128,
         [](const M& a) {
             M v, w;
             a.Eigen(v, w);
             return First(w);
         },
         [](const M& a) {
             M v, w;
             literal::Eigen(a, v, w);
             return First(w);
         }},
        {"SVDDecomposition", false, 128, 128,
         [](const M& a) {
             M u, s, v;
             a.SVDDecomposition(u, s, v);
             return First(v);
         },
         [](const M& a) {
             M u, s, v;
             literal::SVDDecomposition(a, u, s, v);
             return First(v);
         }},
        {"SubSVDDecomposition", false, 128, 128,
         [](const M& a) {
             M u, s, v;
             a.SubSVDDecomposition(u, s, v);
             return First(v);
         },
         [](const M& a) {
             M u, s, v;
             literal::SubSVDDecomposition(a, u, s, v);
             return First(v);
         }},
        {"Inv", false, 128, 128, [](const M& a) { return First(a.Inv()); },
         [](const M& a) { return First(literal::Inv(a)); }},
        {"MatrixNorm2", false, 128, 128, [](const M& a) { return a.MatrixNorm(2); },
         [](const M& a) { return literal::MatrixNorm(a, 2); }},
    };
    return all;
}

void Measure(benchmark::State& state, const Run& run, bool symmetric) {
    const KoMatrixImplement a = RandomMatrix(static_cast<int>(state.range(0)), symmetric);
    for (auto _ : state) {
        benchmark::DoNotOptimize(run(a));
    }
}

const bool registered = [] {
    for (const Decomposition& d : Decompositions()) {
        for (const bool literal : {false, true}) {
            const std::string name = std::string(d.name) + (literal ? "/literal" : "/fast");
            const int largest = literal ? d.largestLiteral : d.largestFast;
            auto* bench =
                benchmark::RegisterBenchmark(name.c_str(), [&d, literal](benchmark::State& state) {
                    Measure(state, literal ? d.literal : d.fast, d.symmetric);
                });
            bench->Unit(benchmark::kMillisecond);
            for (int n = 16; n <= largest; n *= 2) {
                bench->Arg(n);
            }
        }
    }
    return true;
}();

// KoDiagnostics::Inv, to compare with Inv/fast of the same size: the diagnostics read the
// decomposition the inverse is built on and add a few products of the result with the input.
const bool diagnosedRegistered = [] {
    auto* bench = benchmark::RegisterBenchmark("Inv/diagnosed", [](benchmark::State& state) {
        const int n = static_cast<int>(state.range(0));
        const KoMatrixImplement random = RandomMatrix(n, false);
        KoMatrix a(n, n);
        for (int k = 0; k < random.count; ++k) {
            a(k / n, k % n) = random.data[k];
        }
        KoDiagnostics::Report report;
        for (auto _ : state) {
            benchmark::DoNotOptimize(KoDiagnostics::Inv(a, report)(0, 0));
        }
    });
    bench->Unit(benchmark::kMillisecond)->RangeMultiplier(2)->Range(16, 128);
    return true;
}();

}  // namespace
