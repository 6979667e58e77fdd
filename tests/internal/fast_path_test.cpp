// SPDX-License-Identifier: MIT
// Every fast path against its literal twin, bit for bit (NaN payloads aside): the product
// kernel on each instruction-set path this CPU has and on 1, 2 and 3 threads against the
// textbook loop, and each decomposition against its literal form (every reflection and rotation
// applied as a full product with the embedding identity), on random and special inputs.
#include <gtest/gtest.h>
#include <kocalvix/complex.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "fixed/fixed_implement.h"
#include "kernel/product_kernel.h"
#include "linalg/literal_forms.h"
#include "matrix/KoMatrixImplement.h"

namespace {

using kocalvix::kernel::ProductPath;
using Implement = KoMatrixImplement;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool SameBits(double x, double y) {
    return std::memcmp(&x, &y, sizeof x) == 0 || (std::isnan(x) && std::isnan(y));
}

// Uniform in [-1, 1); with `special`, one value in eight is NaN, an infinity, a signed zero, a
// denormal, or large or tiny enough that products overflow or underflow.
double Value(std::mt19937& rng, bool special) {
    static const double kSpecial[] = {kNaN,     kInf,    -kInf, 0.0,    -0.0,
                                      4.9e-324, -3e-310, 1e300, -1e-200};
    return special && rng() % 8 == 0 ? kSpecial[rng() % 9]
                                     : std::uniform_real_distribution<double>(-1.0, 1.0)(rng);
}

TEST(FastPaths, ProductKernelOnEveryPathAndThreadCount) {
    // qemu-i386 hangs in pthread_create: KOCALVIX_THREADS=1 keeps every test on one thread.
    const bool single =
        std::getenv("KOCALVIX_THREADS") && std::getenv("KOCALVIX_THREADS")[0] == '1';
    std::mt19937 rng(2024);
    // Empty products, k == 0, a lone -0.0 product that must become +0.0, depths past a packed
    // block, rows past a row block, columns past a column block, then random small shapes.
    std::vector<std::vector<int>> shapes = {
        {0, 0, 5},     {0, 7, 3},     {4, 0, 3},    {5, 6, 0},     {1, 1, 1},       {9, 25, 1},
        {17, 13, 300}, {130, 37, 21}, {3, 2100, 5}, {41, 49, 530}, {210, 190, 200}, {60, 50, 1}};
    for (int t = 0; t < 40; ++t) {
        shapes.push_back({int(rng() % 30), int(rng() % 60), int(rng() % 20)});
    }
    for (const std::vector<int>& s : shapes) {
        const int m = s[0], n = s[1], k = s[2], lda = k + int(rng() % 3), ldb = n + int(rng() % 3),
                  ldc = n + int(rng() % 3);
        const bool special = k <= 32 && rng() % 2 == 0;  // a deep sum of them is all NaN
        std::vector<double> a(size_t(m) * lda), b(size_t(k) * ldb), want(size_t(m) * ldc, -7.5);
        for (double& x : a) {
            x = Value(rng, special);
        }
        for (double& x : b) {
            x = k == 1 ? 0.0 : Value(rng, special);
        }
        if (k == 1 && m > 0) {
            a[0] = -1.0;
        }
        for (int i = 0; i < m; ++i) {  // the literal form: from 0.0, ascending p, no fusion
            for (int j = 0; j < n; ++j) {
                want[i * ldc + j] = 0.0;
                for (int p = 0; p < k; ++p) {
                    want[i * ldc + j] = a[i * lda + p] * b[p * ldb + j] + want[i * ldc + j];
                }
            }
        }
        for (ProductPath path : {ProductPath::kGeneric, ProductPath::kSse2, ProductPath::kAvx2,
                                 ProductPath::kAvx512}) {
            for (int threads = 1; threads <= (single ? 1 : 3); ++threads) {
                if (kocalvix::kernel::SupportedPath(path) != path) {
                    continue;
                }
                std::vector<double> c(want.size(), -7.5);  // outside the product: untouched
                kocalvix::kernel::MultiplyOn(path, threads, m, n, k, a.data(), lda, b.data(), ldb,
                                             c.data(), ldc);
                size_t e = 0;
                while (e < c.size() && SameBits(c[e], want[e])) {
                    ++e;
                }
                ASSERT_EQ(e, c.size()) << kocalvix::kernel::PathName(path) << ", " << threads
                                       << " threads, " << m << "x" << k << " * " << k << "x" << n;
            }
        }
    }
    // Threads: never more than allowed, one for a small product, all for a large one.
    EXPECT_EQ(kocalvix::kernel::ThreadsFor(1, 500, 500, 500), 1);
    EXPECT_EQ(kocalvix::kernel::ThreadsFor(3, 500, 500, 500), 3);
    EXPECT_EQ(kocalvix::kernel::ThreadsFor(64, 8, 8, 8), 1);
    // The thread setting: clamped to 64, restored by -1; the public path name is the active one.
    const int initial = Calvix::ThreadCount();
    Calvix::SetThreadCount(1000);
    EXPECT_EQ(Calvix::ThreadCount(), 64);
    Calvix::SetThreadCount(-1);
    EXPECT_EQ(Calvix::ThreadCount(), initial);
    EXPECT_EQ(std::string(Calvix::ProductKernel()),
              kocalvix::kernel::PathName(kocalvix::kernel::ActiveProductPath()));
}

// A matrix of one kind: 0 random, 1 small integers, 2 rank-deficient (last row and column copy
// the first), 3 half signed zeros, 4 denormal, 5 one infinity, 6 one NaN, 7 huge (squares
// overflow), 8 tiny (squares underflow), 9 integers with a zero first column, 10 integers whose
// last row is zero but for an infinity at its end (a row no rotation touches).
Implement Make(int m, int n, int kind, std::mt19937& rng) {
    static const double kScale[] = {1, 1, 1, 1, 1e-310, 1, 1, 1e200, 1e-170, 1, 1};
    Implement a(m, n);
    for (int e = 0; e < a.count; ++e) {
        const bool whole = kind == 1 || kind >= 9;
        a.data[e] = (whole ? int(rng() % 7) - 3 : Value(rng, false)) * kScale[kind];
        if (kind == 3 && rng() % 2 == 0) {
            a.data[e] = rng() % 2 == 0 ? 0.0 : -0.0;
        }
    }
    for (int i = 0; i < m && n > 0; ++i) {
        for (int j = 0; j < n; ++j) {
            if (kind == 2 && m > 1 && n > 1 && (i == m - 1 || j == n - 1)) {
                a(i, j) = i == m - 1 ? a(0, j) : a(i, 0);
            } else if ((kind == 9 && j == 0) || (kind == 10 && i == m - 1)) {
                a(i, j) = kind == 10 && j == n - 1 ? kInf : (rng() % 2 == 0 ? 0.0 : -0.0);
            }
        }
    }
    if ((kind == 5 || kind == 6) && a.count > 0) {
        a.data[rng() % a.count] = kind == 6 ? kNaN : rng() % 2 == 0 ? kInf : -kInf;
    }
    return a;
}

// Same shape and bits, NaN payloads aside.
bool Same(const Implement& fast, const Implement& literal) {
    bool same = fast.rows == literal.rows && fast.cols == literal.cols;
    for (int e = 0; same && e < fast.count; ++e) {
        same = SameBits(fast.data[e], literal.data[e]);
    }
    return same;
}

// A decomposition with up to three outputs; the code it returns.
using Run = std::function<KoMatrixError(const Implement&, Implement&, Implement&, Implement&)>;

struct Twin {
    const char* name;
    Run fast, literal;
    bool symmetric, square;
    int largest;  // the eigen iteration's literal form is slow: a bound on the dimensions
};

// The path in use is the widest supported one, or the supported path nearest below the one that
// KOCALVIX_ISA names (CTest runs this once for every name).
TEST(FastPaths, KernelChoiceFollowsTheCpuAndKOCALVIX_ISA) {
    using kocalvix::kernel::SupportedPath;
    EXPECT_EQ(SupportedPath(ProductPath::kGeneric), ProductPath::kGeneric);
    const ProductPath widest = SupportedPath(ProductPath::kAvx512);
    ProductPath expected = widest;
    if (const char* isa = std::getenv("KOCALVIX_ISA")) {
        int named = 0;
        for (ProductPath path : {ProductPath::kGeneric, ProductPath::kSse2, ProductPath::kAvx2,
                                 ProductPath::kAvx512}) {
            if (std::string(isa) == kocalvix::kernel::PathName(path)) {
                expected = SupportedPath(path), ++named;
            }
        }
        EXPECT_EQ(named, 1) << "KOCALVIX_ISA=" << isa << " names no path";
    }
    EXPECT_EQ(kocalvix::kernel::ActiveProductPath(), expected);
}

TEST(FastPaths, DecompositionsMatchTheirLiteralForms) {
    namespace literal = kocalvix::literal;
    using I = const Implement&;
    using O = Implement&;
    const Twin twins[] = {
        {"GramSchmidt", [](I a, O q, O r, O) { return a.GramSchmidt(q, r); },
         [](I a, O q, O r, O) { return literal::GramSchmidt(a, q, r); }, false, false, 12},
        {"Householder", [](I a, O q, O r, O) { return a.Householder(q, r); },
         [](I a, O q, O r, O) { return literal::Householder(a, q, r); }, false, false, 12},
        {"Givens", [](I a, O q, O r, O) { return a.Givens(q, r); },
         [](I a, O q, O r, O) { return literal::Givens(a, q, r); }, false, false, 12},
        {"BiDiagonalize", [](I a, O u, O b, O v) { return a.BiDiagonalize(u, b, v); },
         literal::BiDiagonalize, false, false, 12},
        {"Eigen", [](I a, O v, O w, O) { return a.Eigen(v, w); },
         [](I a, O v, O w, O) { return literal::Eigen(a, v, w); }, true, true, 9},
        {"EigenValues", [](I a, O v, O, O) { return a.EigenValues(v); },
         [](I a, O v, O, O) { return literal::EigenValues(a, v); }, false, true, 9},
        {"SVDDecomposition", [](I a, O u, O s, O v) { return a.SVDDecomposition(u, s, v); },
         literal::SVDDecomposition, false, false, 9},
        {"SubSVDDecomposition", [](I a, O u, O s, O v) { return a.SubSVDDecomposition(u, s, v); },
         literal::SubSVDDecomposition, false, false, 9},
        {"Inv", [](I a, O x, O, O) { return (x = a.Inv(), NoError); },
         [](I a, O x, O, O) { return (x = literal::Inv(a), NoError); }, false, false, 9},
        {"MatrixNorm(2)",
         [](I a, O x, O, O) { return (x = Implement(1, 1), x.data[0] = a.MatrixNorm(2), NoError); },
         [](I a, O x, O, O) {
             return (x = Implement(1, 1), x.data[0] = literal::MatrixNorm(a, 2), NoError);
         },
         false, false, 9},
    };
    const int shapes[][2] = {{0, 0}, {0, 3}, {3, 0}, {1, 1}, {1, 2},  {1, 4},
                             {2, 1}, {4, 1}, {2, 2}, {3, 3}, {5, 5},  {3, 5},
                             {4, 7}, {6, 3}, {7, 4}, {9, 9}, {12, 12}};
    for (const Twin& twin : twins) {
        std::mt19937 rng(2024);
        for (const auto& [m, n] : shapes) {
            for (int run = 0;
                 run < 33 && (!twin.square || m == n) && m <= twin.largest && n <= twin.largest;
                 ++run) {
                Implement a = Make(m, n, run % 11, rng);
                for (int i = 0; twin.symmetric && run < 22 && i < m; ++i) {
                    for (int j = 0; j < i; ++j) {
                        a(i, j) = a(j, i);
                    }
                }
                Implement f1(1, 1), f2(2, 3), f3, l1(1, 1), l2(2, 3), l3;
                const std::string where = std::string(twin.name) + " " + std::to_string(m) + "x" +
                                          std::to_string(n) + " run " + std::to_string(run);
                ASSERT_EQ(twin.fast(a, f1, f2, f3), twin.literal(a, l1, l2, l3)) << where;
                ASSERT_TRUE(Same(f1, l1) && Same(f2, l2) && Same(f3, l3)) << where;
            }
        }
    }
}

TEST(FastPaths, MovesKeepTheWrappingRuleAndFixedSizeBlocks) {
    double buffer[4] = {1.0, 2.0, 3.0, 4.0};
    Implement wrapped(2, 2, buffer, Implement::WrapTag{});
    const double values[9] = {5.0, 6.0, 7.0, 8.0, 9.0, 10.0, 11.0, 12.0, 13.0};
    wrapped = Implement(3, 2, values);  // another shape: the buffer keeps its content
    EXPECT_EQ(buffer[0], 1.0);
    wrapped = Implement(2, 2, values);  // same shape: the buffer takes the elements
    EXPECT_TRUE(wrapped.data == buffer && buffer[3] == 8.0);
    Implement owning(1, 1), source(3, 2, values);
    const double* taken = source.data;
    owning = std::move(source);
    EXPECT_TRUE(owning.data == taken && owning.rows == 3 && source.count == 0);
    owning = std::move(wrapped);  // a wrapped source is copied, never taken over
    EXPECT_TRUE(owning.data != buffer && owning(1, 1) == 8.0 && wrapped.data == buffer);
    // A fixed-size value's elements share one block with it: moves copy them out, an
    // assignment of as many elements stays in the block, one of another count leaves it.
    std::unique_ptr<Implement> fixed(kocalvix::fixed::NewFixedImplement<3, 3>(values));
    const Implement moved(std::move(*fixed));
    EXPECT_TRUE(fixed->coallocated && !moved.coallocated && moved.data != fixed->data);
    EXPECT_TRUE(fixed->count == 9 && moved.data[5] == 10.0 && fixed->data[5] == 10.0);
    const Implement row(1, 9, moved.data);
    *fixed = row;
    EXPECT_TRUE(fixed->coallocated && fixed->rows == 1);
    owning = std::move(*fixed);
    EXPECT_TRUE(!owning.coallocated && owning.count == 9 && fixed->count == 9);
    *fixed = Implement(2, 2);
    EXPECT_TRUE(!fixed->coallocated && fixed->count == 4);
}

}  // namespace
