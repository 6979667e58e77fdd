// SPDX-License-Identifier: MIT
// What each factorization means, checked on random matrices of many shapes: the factors
// reproduce the matrix, the outer factors are orthogonal, the middle factor has its form, and
// the solver, rank, determinant and inverse agree with what they compute. The exact bits of all
// of these are pinned by the golden corpus; these checks say the bits are the right ones.
#include <kocalvix/matrix.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr KoMatrix::QRMethod kMethods[] = {KoMatrix::GramSchmidt, KoMatrix::Householder,
                                           KoMatrix::Givens};
const int kShapes[][2] = {{1, 1}, {2, 2}, {4, 4}, {7, 7}, {5, 3}, {6, 1},
                          {3, 5}, {2, 6}, {1, 4}, {8, 5}, {4, 2}};

KoMatrix Random(int rows, int cols, std::mt19937& rng) {
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    KoMatrix m(rows, cols);
    for (int k = 0; k < m.ElementNum(); ++k) {
        m[k] = uniform(rng);
    }
    return m;
}

// The largest element of |a - b|; infinity when the shapes differ.
double Gap(const KoMatrix& a, const KoMatrix& b) {
    return a.IsSameDimension(b) ? (a - b).ElementWiseInfiniteNorm() : INFINITY;
}

double OrthogonalityGap(const KoMatrix& q) {
    return Gap(q.Transpose() * q, KoMatrix::Identity(q.ColumnSize()));
}

// The largest |m(i, j)| with j < `columns` outside the band lo <= j - i <= hi.
double OutsideBand(const KoMatrix& m, int lo, int hi, int columns) {
    double largest = 0.0;
    for (int i = 0; i < m.RowSize(); ++i) {
        for (int j = 0; j < std::min(columns, m.ColumnSize()); ++j) {
            if (j - i < lo || j - i > hi) {
                largest = std::max(largest, std::fabs(m(i, j)));
            }
        }
    }
    return largest;
}

KoMatrix RandomOrthogonal(int n, std::mt19937& rng) {
    KoMatrix q, r;
    EXPECT_EQ(Random(n, n, rng).QRDecomposition(q, r, KoMatrix::Householder), NoError);
    return q;
}

TEST(Factorizations, QRGivesOrthonormalQAndTriangularR) {
    std::mt19937 rng(20240611);
    for (const auto& [m, n] : kShapes) {
        const KoMatrix a = Random(m, n, rng);
        for (KoMatrix::QRMethod method : kMethods) {
            SCOPED_TRACE(::testing::Message() << m << "x" << n << " method " << method);
            KoMatrix q, r;
            ASSERT_EQ(a.QRDecomposition(q, r, method), NoError);
            const bool gs = method == KoMatrix::GramSchmidt;
            EXPECT_LT(Gap(q * r, a), gs && m < n ? 1e-11 : 1e-13);
            if (gs && m < n) {
                continue;  // the later columns are dependent: only their residuals are dropped
            }
            EXPECT_EQ(q.ColumnSize(), gs ? n : m);
            EXPECT_LT(OrthogonalityGap(q), 1e-13);
            // Reduced columns: all n, or m - 1 when Householder or Givens run out of rows.
            const int steps = gs || m >= n ? n : m - 1;
            EXPECT_LT(OutsideBand(r, 0, n, steps), 1e-13);
            for (int j = 0; method != KoMatrix::Givens && j < steps; ++j) {
                EXPECT_GE(r(j, j), 0.0) << j;
            }
        }
    }
    // A dependent column: Gram-Schmidt keeps a zero column in Q, the others orthonormal.
    const KoMatrix thin = Random(5, 2, rng) * Random(2, 3, rng);
    KoMatrix q, r;
    ASSERT_EQ(thin.QRDecomposition(q, r, KoMatrix::GramSchmidt), NoError);
    EXPECT_EQ(q.GetColumn(2, 2), KoMatrix(5, 1));
    EXPECT_LT(OrthogonalityGap(q.GetColumn(0, 1)), 1e-13);
    EXPECT_LT(Gap(q * r, thin), 1e-13);
}

TEST(Factorizations, BiDiagonalizeGivesUBVWithTheSignsOfItsSteps) {
    std::mt19937 rng(161803);
    for (const auto& [m, n] : kShapes) {
        SCOPED_TRACE(::testing::Message() << m << "x" << n);
        const KoMatrix a = Random(m, n, rng);
        KoMatrix u, b, v;
        ASSERT_EQ(a.BiDiagonalize(u, b, v), NoError);
        EXPECT_LT(Gap(u * b * v, a), 1e-14);  // V itself, not its transpose
        EXPECT_LT(OrthogonalityGap(u), 1e-14);
        EXPECT_LT(OrthogonalityGap(v), 1e-14);
        EXPECT_LT(OutsideBand(b, 0, 1, n), 1e-14);
        for (int k = 0; k < std::min(m - 1, n); ++k) {
            EXPECT_GE(b(k, k), 0.0) << "made by a left step";
        }
        for (int k = 0; k + 2 < n && k < m; ++k) {
            EXPECT_GE(b(k, k + 1), 0.0) << "made by a right step";
        }
    }
}

TEST(Factorizations, SVDFullAndReduced) {
    std::mt19937 rng(4242);
    for (const auto& [m, n] : kShapes) {
        SCOPED_TRACE(::testing::Message() << m << "x" << n);
        const int p = std::min(m, n);
        const KoMatrix a = Random(m, n, rng);
        KoMatrix u, s, v;
        ASSERT_EQ(a.SVDDecomposition(u, s, v), NoError);
        EXPECT_LT(Gap(u * s * v.Transpose(), a), 1e-12);
        // The eigenvectors behind the factors stall near 1e-8, so orthogonality is that good.
        EXPECT_LT(OrthogonalityGap(u), 1e-5);
        EXPECT_LT(OrthogonalityGap(v), 1e-5);
        EXPECT_EQ(OutsideBand(s, 0, 0, n), 0.0);
        for (int k = 0; k < p; ++k) {
            EXPECT_GE(s(k, k), k + 1 < p ? s(k + 1, k + 1) : 0.0) << "largest first";
        }
        KoMatrix ru, rs, rv;  // the reduced form: the same numbers without the completion
        ASSERT_EQ(a.SubSVDDecomposition(ru, rs, rv), NoError);
        EXPECT_EQ(ru, u.GetColumn(0, p - 1));
        EXPECT_EQ(rv, v.GetColumn(0, p - 1));
        EXPECT_EQ(rs, s.GetRow(0, p - 1).GetColumn(0, p - 1));
        // The pseudo-inverse is the product of the reduced factors, singular values inverted.
        std::vector<double> inverted(static_cast<size_t>(p));
        for (int k = 0; k < p; ++k) {
            inverted[k] = std::fabs(rs(k, k)) > 1e-11 ? 1.0 / rs(k, k) : 0.0;
        }
        const KoMatrix x = a.Inv();
        EXPECT_EQ(x, (rv * KoMatrix::DiagForm(inverted).Transpose()) * ru.Transpose());
        EXPECT_LT(Gap(a * x * a, a), 1e-5);
        EXPECT_LT(Gap(x * a * x, x), 1e-5);
    }
}

TEST(Factorizations, EigenpairsOfSymmetricMatrices) {
    std::mt19937 rng(12345);
    const std::vector<double> chosen = {6.0, -4.0, 2.5, 1.5, -0.8, 0.3};
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        std::vector<double> lambda(chosen.begin(), chosen.begin() + n);
        const KoMatrix p = RandomOrthogonal(n, rng);
        KoMatrix a = p * KoMatrix::DiagForm(lambda) * p.Transpose();
        a = (a + a.Transpose()) * 0.5;
        KoMatrix values, vectors, alone;
        ASSERT_EQ(a.Eigen(values, vectors), NoError);
        ASSERT_EQ(a.EigenValues(alone), NoError);
        EXPECT_EQ(alone, values);
        EXPECT_LT(OrthogonalityGap(vectors), 1e-12);
        EXPECT_LT(Gap(a * vectors, vectors * KoMatrix::DiagForm(n, values.data())), 1e-6);
        std::vector<double> found(values.begin(), values.end());
        std::sort(found.begin(), found.end());
        std::sort(lambda.begin(), lambda.end());
        for (int k = 0; k < n; ++k) {
            EXPECT_NEAR(found[k], lambda[k], 1e-9);
        }
    }
}

TEST(Factorizations, EliminationSolvesRanksAndMultipliesDeterminants) {
    std::mt19937 rng(11);
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(n);
        const KoMatrix a = Random(n, n, rng), b = Random(n, n, rng), want = Random(n, 1, rng);
        KoMatrix x, reduced, echelon;
        ASSERT_EQ(a.GaussElimination(a * want, x, reduced), NoError);
        EXPECT_LT(Gap(x, want), 1e-9);
        ASSERT_EQ(a.GaussElimination(echelon), NoError);
        EXPECT_EQ(reduced, echelon);
        EXPECT_LT(OutsideBand(echelon, 0, n, n), 1e-12);
        EXPECT_NEAR((a * b).Det(), a.Det() * b.Det(), 1e-10);
        EXPECT_EQ(a.Rank(), n);
        const KoMatrix thin = Random(n + 2, 2, rng) * Random(2, n + 1, rng);
        KoMatrix basis;
        EXPECT_EQ(thin.Rank(basis), std::min(n + 1, 2));
        EXPECT_EQ(basis.ColumnSize(), std::min(n + 1, 2));
    }
}

}  // namespace
