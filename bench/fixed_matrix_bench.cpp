// SPDX-License-Identifier: MIT
// The everyday 3 x 3 and 3 x 1 work, each operation as "<Operation>/KoCalvix" and, when Eigen
// is installed, "<Operation>/Eigen" on Matrix3d / Vector3d: the same values, the operands made
// opaque to the optimiser in every iteration, the result kept. tools/bench-ratios.py turns a run
// into a table of ratios. The general KoMatrix product of the same size and the singular-matrix
// inverse (general path) are measured for comparison.
#include <kocalvix/fixed_matrix.h>

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

#ifdef KOCALVIX_BENCH_EIGEN
#include <Eigen/Dense>
#define KOCALVIX_EIGEN(...) __VA_ARGS__
#else
#define KOCALVIX_EIGEN(...) nullptr
#endif

namespace {

const double kA[9] = {2, -1, 0.5, 1, 3, 4, -2, 5, 1};
const double kB[9] = {1, 0.25, 2, -1, 1, 0, 3, 2, 1};
const double kX[3] = {1, -2, 0.5};
const double kY[3] = {0.75, 4, -3};
const double kScalar = 1.5;

struct KoOperands {
    Matrix3x3 a{kA[0], kA[1], kA[2], kA[3], kA[4], kA[5], kA[6], kA[7], kA[8]};
    Matrix3x3 b{kB[0], kB[1], kB[2], kB[3], kB[4], kB[5], kB[6], kB[7], kB[8]};
    Matrix3x1 x{kX[0], kX[1], kX[2]};
    Matrix3x1 y{kY[0], kY[1], kY[2]};
    double s = kScalar;
};

#ifdef KOCALVIX_BENCH_EIGEN
struct EigenOperands {
    EigenOperands() {
        a = Eigen::Map<const Eigen::Matrix<double, 3, 3, Eigen::RowMajor>>(kA);
        b = Eigen::Map<const Eigen::Matrix<double, 3, 3, Eigen::RowMajor>>(kB);
        x = Eigen::Map<const Eigen::Vector3d>(kX);
        y = Eigen::Map<const Eigen::Vector3d>(kY);
    }
    Eigen::Matrix3d a;
    Eigen::Matrix3d b;
    Eigen::Vector3d x;
    Eigen::Vector3d y;
    double s = kScalar;
};
#endif

// Runs `op` on the operands once per iteration. The operands are made opaque first, so no
// side can hoist the work out of the loop, and the result is kept, so none can drop it.
template <typename Operands, typename Op>
void Loop(benchmark::State& state, Op op) {
    Operands operands;
    for (auto _ : state) {
        benchmark::DoNotOptimize(operands);
        auto result = op(operands);
        benchmark::DoNotOptimize(result);
        benchmark::ClobberMemory();
    }
}

template <typename KoOp, typename EigenOp>
void Compare(const std::string& name, KoOp ko, EigenOp eigen) {
    benchmark::RegisterBenchmark((name + "/KoCalvix").c_str(),
                                 [ko](benchmark::State& state) { Loop<KoOperands>(state, ko); });
#ifdef KOCALVIX_BENCH_EIGEN
    benchmark::RegisterBenchmark((name + "/Eigen").c_str(), [eigen](benchmark::State& state) {
        Loop<EigenOperands>(state, eigen);
    });
#else
    static_cast<void>(eigen);
#endif
}

#ifdef KOCALVIX_BENCH_EIGEN
using M3 = Eigen::Matrix3d;
using V3 = Eigen::Vector3d;
using EO = EigenOperands;
#endif
using KO = KoOperands;

const bool kRegistered = [] {
    // The operations with their own targets first: product, inverse, matrix-vector product and
    // determinant.
    Compare(
        "Matrix3x3Product", [](KO& o) { return o.a * o.b; },
        KOCALVIX_EIGEN([](EO& o) -> M3 { return o.a * o.b; }));
    Compare(
        "Matrix3x3Inv", [](KO& o) { return o.a.Inv(); },
        KOCALVIX_EIGEN([](EO& o) -> M3 { return o.a.inverse(); }));
    Compare(
        "Matrix3x3TimesVector", [](KO& o) { return o.a * o.x; },
        KOCALVIX_EIGEN([](EO& o) -> V3 { return o.a * o.x; }));
    Compare(
        "Matrix3x3Det", [](KO& o) { return o.a.Det(); },
        KOCALVIX_EIGEN([](EO& o) { return o.a.determinant(); }));

    // Every other value operation of Matrix3x3.
    Compare(
        "Matrix3x3Transpose", [](KO& o) { return o.a.Transpose(); },
        KOCALVIX_EIGEN([](EO& o) -> M3 { return o.a.transpose(); }));
    Compare(
        "Matrix3x3Copy", [](KO& o) { return Matrix3x3(o.a); },
        KOCALVIX_EIGEN([](EO& o) -> M3 { return o.a; }));
    Compare(
        "Matrix3x3Identity", [](KO&) { return Matrix3x3::Identity(); },
        KOCALVIX_EIGEN([](EO&) -> M3 { return M3::Identity(); }));
    Compare(
        "Matrix3x3FromDiagonal", [](KO& o) { return Matrix3x3(o.x); },
        KOCALVIX_EIGEN([](EO& o) -> M3 { return o.x.asDiagonal(); }));
    Compare(
        "Matrix3x3Plus", [](KO& o) { return o.a + o.b; },
        KOCALVIX_EIGEN([](EO& o) -> M3 { return o.a + o.b; }));
    Compare(
        "Matrix3x3Minus", [](KO& o) { return o.a - o.b; },
        KOCALVIX_EIGEN([](EO& o) -> M3 { return o.a - o.b; }));
    Compare(
        "Matrix3x3PlusScalar", [](KO& o) { return o.a + o.s; },
        KOCALVIX_EIGEN([](EO& o) -> M3 { return o.a.array() + o.s; }));
    Compare(
        "Matrix3x3TimesScalar", [](KO& o) { return o.a * o.s; },
        KOCALVIX_EIGEN([](EO& o) -> M3 { return o.a * o.s; }));
    Compare(
        "Matrix3x3DividedByScalar", [](KO& o) { return o.a / o.s; },
        KOCALVIX_EIGEN([](EO& o) -> M3 { return o.a / o.s; }));
    Compare(
        "Matrix3x3HadamardProduct", [](KO& o) { return o.a.HadamardProduct(o.b); },
        KOCALVIX_EIGEN([](EO& o) -> M3 { return o.a.cwiseProduct(o.b); }));
    Compare(
        "Matrix3x3HadamardDivision", [](KO& o) { return o.a.HadamardDivision(o.b); },
        KOCALVIX_EIGEN([](EO& o) -> M3 { return o.a.cwiseQuotient(o.b); }));
    Compare(
        "Matrix3x3Power3", [](KO& o) { return o.a ^ 3; },
        KOCALVIX_EIGEN([](EO& o) -> M3 { return o.a * o.a * o.a; }));

    // The value operations of Matrix3x1.
    Compare(
        "Matrix3x1Plus", [](KO& o) { return o.x + o.y; },
        KOCALVIX_EIGEN([](EO& o) -> V3 { return o.x + o.y; }));
    Compare(
        "Matrix3x1Minus", [](KO& o) { return o.x - o.y; },
        KOCALVIX_EIGEN([](EO& o) -> V3 { return o.x - o.y; }));
    Compare(
        "Matrix3x1Copy", [](KO& o) { return Matrix3x1(o.x); },
        KOCALVIX_EIGEN([](EO& o) -> V3 { return o.x; }));
    Compare(
        "Matrix3x1PlusScalar", [](KO& o) { return o.x + o.s; },
        KOCALVIX_EIGEN([](EO& o) -> V3 { return o.x.array() + o.s; }));
    Compare(
        "Matrix3x1TimesScalar", [](KO& o) { return o.x * o.s; },
        KOCALVIX_EIGEN([](EO& o) -> V3 { return o.x * o.s; }));
    Compare(
        "Matrix3x1DividedByScalar", [](KO& o) { return o.x / o.s; },
        KOCALVIX_EIGEN([](EO& o) -> V3 { return o.x / o.s; }));
    Compare(
        "Matrix3x1HadamardProduct", [](KO& o) { return o.x.HadamardProduct(o.y); },
        KOCALVIX_EIGEN([](EO& o) -> V3 { return o.x.cwiseProduct(o.y); }));
    Compare(
        "Matrix3x1HadamardDivision", [](KO& o) { return o.x.HadamardDivision(o.y); },
        KOCALVIX_EIGEN([](EO& o) -> V3 { return o.x.cwiseQuotient(o.y); }));

    // The floor under these ratios: every value operation is at least two calls into the
    // library through the dynamic linker (creating the value and releasing it), and Det is one.
    // Trivial members stand in for them here, against Eigen's copy and determinant, so these
    // rows show the ratio no implementation behind the exported calls can go below.
    Compare(
        "TwoLibraryCallsVsCopy", [](KO& o) { return o.x.ElementNum() + o.y.ElementNum(); },
        KOCALVIX_EIGEN([](EO& o) -> V3 { return o.x; }));
    Compare(
        "OneLibraryCallVsDet", [](KO& o) { return o.a.ElementNum(); },
        KOCALVIX_EIGEN([](EO& o) { return o.a.determinant(); }));

    // In place: no object is created on either side.
    Compare(
        "Matrix3x3PlusInPlace", [](KO& o) { return &(o.a += o.b); },
        KOCALVIX_EIGEN([](EO& o) { return &(o.a += o.b); }));
    Compare(
        "Matrix3x1TimesScalarInPlace", [](KO& o) { return &(o.x *= o.s); },
        KOCALVIX_EIGEN([](EO& o) { return &(o.x *= o.s); }));
    return true;
}();

void BM_Matrix3x3ProductInPlace(benchmark::State& state) {
    const Matrix3x3 b(kB[0], kB[1], kB[2], kB[3], kB[4], kB[5], kB[6], kB[7], kB[8]);
    Matrix3x3 c(kA[0], kA[1], kA[2], kA[3], kA[4], kA[5], kA[6], kA[7], kA[8]);
    for (auto _ : state) {
        c *= b;
        c /= 8.0;  // keeps the elements bounded
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_Matrix3x3ProductInPlace);

void BM_KoMatrixProduct3x3(benchmark::State& state) {
    const KoMatrix a(3, 3, const_cast<double*>(kA), KoMatrix::DeepCopy);
    const KoMatrix b(3, 3, const_cast<double*>(kB), KoMatrix::DeepCopy);
    for (auto _ : state) {
        KoMatrix c = a * b;
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_KoMatrixProduct3x3);

// A singular matrix takes the general inverse through the reduced SVD.
void BM_Matrix3x3InvSingular(benchmark::State& state) {
    const Matrix3x3 a(1, 2, 0, 3, 4, 0, 0, 0, 0);
    for (auto _ : state) {
        Matrix3x3 inverse = a.Inv();
        benchmark::DoNotOptimize(inverse);
    }
}
BENCHMARK(BM_Matrix3x3InvSingular);

}  // namespace
