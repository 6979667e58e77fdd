// SPDX-License-Identifier: MIT
// Complex arithmetic as "<Operation>/KoCalvix" next to "<Operation>/Inline", a hand-written
// struct with the same formulas compiled into the benchmark itself: the difference is the cost
// of calling the library. tools/bench-ratios.py turns a run into a table of ratios.
#include <kocalvix/complex.h>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// The same formulas, inlined into the caller.
struct Inline {
    double re;
    double im;
    Inline operator*(const Inline& o) const {
        return Inline{re * o.re - im * o.im, re * o.im + im * o.re};
    }
    Inline operator/(const Inline& o) const {
        const double r = 1.0 / (o.re * o.re + o.im * o.im);
        return Inline{(re * o.re + im * o.im) * r, (im * o.re - re * o.im) * r};
    }
    Inline& operator+=(const Inline& o) {
        re += o.re;
        im += o.im;
        return *this;
    }
    double abs() const { return std::sqrt(re * re + im * im); }
};

template <typename T>
struct Operands {
    T a{1.5, -2.0};
    T b{0.25, 3.0};
};

template <typename T, typename Op>
void Loop(benchmark::State& state, Op op) {
    Operands<T> o;
    for (auto _ : state) {
        benchmark::DoNotOptimize(o);
        auto result = op(o);
        benchmark::DoNotOptimize(result);
    }
}

#define KOCALVIX_COMPLEX_PAIR(Op, expression)                                  \
    void Op##_KoCalvix(benchmark::State& state) {                              \
        Loop<Complex>(state, [](Operands<Complex>& o) { return expression; }); \
    }                                                                          \
    void Op##_Inline(benchmark::State& state) {                                \
        Loop<Inline>(state, [](Operands<Inline>& o) { return expression; });   \
    }                                                                          \
    BENCHMARK(Op##_KoCalvix)->Name(#Op "/KoCalvix");                           \
    BENCHMARK(Op##_Inline)->Name(#Op "/Inline");

KOCALVIX_COMPLEX_PAIR(ComplexProduct, o.a* o.b)
KOCALVIX_COMPLEX_PAIR(ComplexQuotient, o.a / o.b)
KOCALVIX_COMPLEX_PAIR(ComplexAddInPlace, (o.a += o.b, o.a.abs()))
KOCALVIX_COMPLEX_PAIR(ComplexModulus, o.a.abs())

}  // namespace
