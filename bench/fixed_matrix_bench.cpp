// SPDX-License-Identifier: MIT
// The everyday 3 x 3 work: matrix product, determinant, inverse and matrix-vector product,
// next to the general KoMatrix product of the same size for comparison.
#include <kocalvix/fixed_matrix.h>

#include <benchmark/benchmark.h>

namespace {

const Matrix3x3 kA(2, -1, 0.5, 1, 3, 4, -2, 5, 1);
const Matrix3x3 kB(1, 0.25, 2, -1, 1, 0, 3, 2, 1);

void BM_Matrix3x3Product(benchmark::State& state) {
    const Matrix3x3 a(kA);
    const Matrix3x3 b(kB);
    for (auto _ : state) {
        Matrix3x3 c = a * b;
        benchmark::DoNotOptimize(c.at(0));
    }
}
BENCHMARK(BM_Matrix3x3Product);

void BM_Matrix3x3ProductInPlace(benchmark::State& state) {
    const Matrix3x3 b(kB);
    Matrix3x3 c(kA);
    for (auto _ : state) {
        c *= b;
        c /= 8.0;  // keeps the elements bounded
        benchmark::DoNotOptimize(c.at(0));
    }
}
BENCHMARK(BM_Matrix3x3ProductInPlace);

void BM_KoMatrixProduct3x3(benchmark::State& state) {
    const KoMatrix a(kA);
    const KoMatrix b(kB);
    for (auto _ : state) {
        KoMatrix c = a * b;
        benchmark::DoNotOptimize(c.at(0));
    }
}
BENCHMARK(BM_KoMatrixProduct3x3);

void BM_Matrix3x3Det(benchmark::State& state) {
    const Matrix3x3 a(kA);
    for (auto _ : state) {
        double d = a.Det();
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(BM_Matrix3x3Det);

void BM_Matrix3x3Inv(benchmark::State& state) {
    const Matrix3x3 a(kA);
    for (auto _ : state) {
        Matrix3x3 inverse = a.Inv();
        benchmark::DoNotOptimize(inverse.at(0));
    }
}
BENCHMARK(BM_Matrix3x3Inv);

// A singular matrix takes the general inverse through the reduced SVD.
void BM_Matrix3x3InvSingular(benchmark::State& state) {
    const Matrix3x3 a(1, 2, 0, 3, 4, 0, 0, 0, 0);
    for (auto _ : state) {
        Matrix3x3 inverse = a.Inv();
        benchmark::DoNotOptimize(inverse.at(0));
    }
}
BENCHMARK(BM_Matrix3x3InvSingular);

void BM_Matrix3x3TimesVector(benchmark::State& state) {
    const Matrix3x3 a(kA);
    const Matrix3x1 x(1, -2, 0.5);
    for (auto _ : state) {
        Matrix3x1 y = a * x;
        benchmark::DoNotOptimize(y.at(0));
    }
}
BENCHMARK(BM_Matrix3x3TimesVector);

}  // namespace
