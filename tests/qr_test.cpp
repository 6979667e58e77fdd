// SPDX-License-Identifier: MIT
// QR decomposition by Gram-Schmidt, Householder reflections and Givens rotations: the exact
// small cases (signs, skipped steps, shapes), the refusals, and the factorisation properties
// on random matrices.
#include <kocalvix/matrix.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "matrix_test_support.h"

namespace {

using test_support::ExpectShape;
using test_support::MaxDifference;
using test_support::OrthogonalityError;
using test_support::RandomMatrix;
using test_support::Rows;

constexpr KoMatrix::QRMethod kGS = KoMatrix::GramSchmidt;
constexpr KoMatrix::QRMethod kHH = KoMatrix::Householder;
constexpr KoMatrix::QRMethod kGivens = KoMatrix::Givens;
constexpr KoMatrix::QRMethod kMethods[] = {kGS, kHH, kGivens};

TEST(QR, InvalidMethodLeavesOutputsUntouched) {
    const KoMatrix a(Rows{{1, 2}, {3, 4}});
    for (int method : {3, -1, 100}) {
        KoMatrix q(Rows{{7}}), r(Rows{{8, 9}});
        EXPECT_EQ(a.QRDecomposition(q, r, static_cast<KoMatrix::QRMethod>(method)), InvalidMethod);
        EXPECT_EQ(q.ToVec(), (Rows{{7}}));
        EXPECT_EQ(r.ToVec(), (Rows{{8, 9}}));
    }
}

// Factors of small matrices, bit for bit unless a tolerance is given (R then gets four times
// as much).
TEST(QR, ExactFactorsOfSmallMatrices) {
    const Rows column = {{3}, {4}}, wide = {{1, 2, 3}, {0, -1, 4}}, upper = {{2, 1}, {0, -3}},
               nearlyReduced = {{1, 0}, {1e-9, 1}}, i2 = {{1, 0}, {0, 1}},
               zeroColumn = {{0, 1}, {0, 2}, {0, 2}};
    const struct {
        KoMatrix::QRMethod method;
        Rows a, q, r;
        double tolerance;
    } cases[] = {
        // Householder maps x onto +|x|: a negative element is flipped unless 2|a| is in the
        // band. Givens has nothing to rotate in a 1 x 1 matrix; Gram-Schmidt normalises.
        {kHH, {{2}}, {{1}}, {{2}}, 0},
        {kHH, {{0}}, {{1}}, {{0}}, 0},
        {kHH, {{-3}}, {{-1}}, {{3}}, 0},
        {kHH, {{-6e-12}}, {{-1}}, {{6e-12}}, 0},
        {kHH, {{-4e-12}}, {{1}}, {{-4e-12}}, 0},
        {kGivens, {{-3}}, {{1}}, {{-3}}, 0},
        {kGivens, {{0}}, {{1}}, {{0}}, 0},
        {kGS, {{-3}}, {{-1}}, {{3}}, 0},
        {kGS, column, {{0.6}, {0.8}}, {{5}}, 1e-15},
        {kHH, column, {{0.6, 0.8}, {0.8, -0.6}}, {{5}, {0}}, 1e-15},
        {kGivens, column, {{0.6, -0.8}, {0.8, 0.6}}, {{5}, {0}}, 1e-15},
        // Nothing to do, Q = I and R = A: a wide matrix gets one step only, so its last
        // diagonal element keeps its sign; Givens leaves a negative diagonal entry with zeros
        // below it, where Householder flips its row; and without a sign choice, Householder
        // would reflect a column within rounding of +|x| e onto the wrong side.
        {kHH, wide, i2, wide, 0},
        {kGivens, wide, i2, wide, 0},
        {kGivens, upper, i2, upper, 0},
        {kHH, upper, {{1, 0}, {0, -1}}, {{2, 1}, {0, 3}}, 0},
        {kHH, nearlyReduced, i2, nearlyReduced, 0},
        // Gram-Schmidt keeps an exactly zero column 0 zero in Q, like a dependent column, but
        // normalises a tiny one.
        {kGS, zeroColumn, {{0, 1.0 / 3}, {0, 2.0 / 3}, {0, 2.0 / 3}}, {{0, 0}, {0, 3}}, 0},
        {kGS, {{1e-12}, {0}}, {{1}, {0}}, {{1e-12}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "method " << c.method << ", a(0, 0) " << c.a[0][0]);
        KoMatrix q, r;
        EXPECT_EQ(KoMatrix(c.a).QRDecomposition(q, r, c.method), NoError);
        if (c.tolerance == 0) {
            EXPECT_EQ(q.ToVec(), c.q);
            EXPECT_EQ(r.ToVec(), c.r);
        } else {
            EXPECT_LT(MaxDifference(q, KoMatrix(c.q)), c.tolerance);
            EXPECT_LT(MaxDifference(r, KoMatrix(c.r)), 4 * c.tolerance);
        }
    }
}

TEST(QR, GramSchmidtDependentAndZeroColumns) {
    KoMatrix q, r;
    // Third column = first + second: Q's third column and R's third row are exactly zero.
    const KoMatrix a(Rows{{1, 2, 3}, {0, 1, 1}, {2, -1, 1}, {1, 1, 2}});
    EXPECT_EQ(a.QRDecomposition(q, r, kGS), NoError);
    ExpectShape(q, 4, 3);
    EXPECT_EQ(q.GetColumn(2, 2), KoMatrix(4, 1));
    EXPECT_EQ(r.GetRow(2, 2), KoMatrix(1, 3));
    EXPECT_LT(MaxDifference(q * r, a), 1e-14);

    // Entries of size 1e6 leave a residual above the absolute threshold: the noise column is
    // normalised into a unit column instead.
    EXPECT_EQ((a * 1e6).QRDecomposition(q, r, kGS), NoError);
    EXPECT_NE(q.GetColumn(2, 2), KoMatrix(4, 1));

    // A tiny column 0 is normalised even when its squares underflow to a zero norm: the
    // division then gives inf and NaN.
    EXPECT_EQ(KoMatrix(Rows{{1e-200, 1}, {-1e-200, 0}, {0, 1}}).QRDecomposition(q, r, kGS),
              NoError);
    EXPECT_EQ(q(0, 0), std::numeric_limits<double>::infinity());
    EXPECT_EQ(q(1, 0), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(q(2, 0)));

    // Rows but no columns: Q is m x 0 and R is 0 x 0.
    EXPECT_EQ(KoMatrix(3, 0).QRDecomposition(q, r, kGS), NoError);
    ExpectShape(q, 3, 0);
    ExpectShape(r, 0, 0);
}

TEST(QR, StepCountsAndSkippedSteps) {
    KoMatrix q, r;
    // Givens pairs the pivot row with every row below it and skips exact zeros only.
    EXPECT_EQ(KoMatrix(Rows{{-1, 2}, {0, 1}, {0, 1}}).QRDecomposition(q, r, kGivens), NoError);
    EXPECT_EQ(r(0, 0), -1.0);
    EXPECT_LT(std::fabs(r(1, 1) - std::sqrt(2.0)), 1e-15);
    EXPECT_LT(std::fabs(r(2, 1)), 1e-15);
    // A tiny but non-zero b is rotated: the pivot becomes +r.
    EXPECT_EQ(KoMatrix(Rows{{-1}, {1e-20}}).QRDecomposition(q, r, kGivens), NoError);
    EXPECT_EQ(r(0, 0), 1.0);
    EXPECT_EQ(q(0, 0), -1.0);

    // 0 x 0: Householder and Givens give empty factors; no rows: R keeps the 0 x n shape.
    for (KoMatrix::QRMethod method : {kHH, kGivens}) {
        KoMatrix q0(Rows{{1}}), r0(Rows{{1}});
        EXPECT_EQ(KoMatrix().QRDecomposition(q0, r0, method), NoError);
        EXPECT_EQ(q0.ElementNum(), 0);
        ExpectShape(r0, 0, 0);
    }
    EXPECT_EQ(KoMatrix(0, 3).QRDecomposition(q, r, kHH), NoError);
    EXPECT_EQ(q.RowSize(), 0);
    EXPECT_EQ(r.ColumnSize(), 3);
}

TEST(QR, OutputsAliasingTheInputOrWrappingBuffers) {
    const KoMatrix a(Rows{{4, 1, 2}, {-1, 3, 0}, {2, 2, 5}});
    for (KoMatrix::QRMethod method : kMethods) {
        KoMatrix q, r;
        ASSERT_EQ(a.QRDecomposition(q, r, method), NoError);
        // The matrix itself as Q or as R: factored as if copied first.
        KoMatrix selfQ(a), selfR(a), r2, q2;
        EXPECT_EQ(selfQ.QRDecomposition(selfQ, r2, method), NoError);
        EXPECT_EQ(selfQ, q);
        EXPECT_EQ(r2, r);
        EXPECT_EQ(selfR.QRDecomposition(q2, selfR, method), NoError);
        EXPECT_EQ(q2, q);
        EXPECT_EQ(selfR, r);

        // Wrapped outputs of the result's shape receive the values in the caller's buffers.
        double qBuffer[9] = {}, rBuffer[9] = {};
        KoMatrix wq(3, 3, qBuffer, KoMatrix::ShallowCopy), wr(3, 3, rBuffer, KoMatrix::ShallowCopy);
        EXPECT_EQ(a.QRDecomposition(wq, wr, method), NoError);
        EXPECT_EQ(KoMatrix(3, 3, qBuffer, KoMatrix::DeepCopy), q);
        EXPECT_EQ(KoMatrix(3, 3, rBuffer, KoMatrix::DeepCopy), r);

        // A wrapped output of another shape, as R or as Q: refused, both outputs untouched.
        double small[2] = {5, 6};
        KoMatrix wSmall(1, 2, small, KoMatrix::ShallowCopy), other(Rows{{9}});
        EXPECT_EQ(a.QRDecomposition(other, wSmall, method), ExternalBuffer);
        EXPECT_EQ(a.QRDecomposition(wSmall, other, method), ExternalBuffer);
        EXPECT_EQ(other.ToVec(), (Rows{{9}}));
        EXPECT_EQ(small[0], 5.0);
        EXPECT_EQ(small[1], 6.0);
    }
    // The singularity test comes before the buffer check.
    double small[1] = {5};
    KoMatrix wSmall(1, 1, small, KoMatrix::ShallowCopy), other;
    EXPECT_EQ(KoMatrix(2, 2).QRDecomposition(wSmall, other, kGS), SingularMatrix);
}

// Q * R reproduces A, Q has orthonormal columns, and R is upper triangular in its reduced
// columns, for every method on random matrices of several shapes.
TEST(QR, RandomMatrixProperties) {
    std::mt19937 rng(20240611);
    const int shapes[][2] = {{1, 1}, {2, 2}, {4, 4}, {6, 6}, {5, 3}, {6, 1},
                             {3, 5}, {2, 6}, {1, 4}, {4, 2}, {6, 4}};
    const double tol = 1e-13;
    for (const auto& shape : shapes) {
        const int m = shape[0];
        const int n = shape[1];
        const KoMatrix a = RandomMatrix(m, n, rng);
        for (KoMatrix::QRMethod method : kMethods) {
            SCOPED_TRACE(::testing::Message() << m << "x" << n << " method " << method);
            KoMatrix q, r;
            ASSERT_EQ(a.QRDecomposition(q, r, method), NoError);
            const bool gs = method == kGS;
            if (gs && m < n) {
                // More columns than rows: the later columns are dependent and only their
                // residuals below the threshold are dropped.
                EXPECT_LT(MaxDifference(q * r, a), 1e-11);
                continue;
            }
            const int qCols = gs ? n : m;
            ASSERT_EQ(q.RowSize(), m);
            ASSERT_EQ(q.ColumnSize(), qCols);
            ASSERT_EQ(r.RowSize(), qCols);
            ASSERT_EQ(r.ColumnSize(), n);
            EXPECT_LT(MaxDifference(q * r, a), tol);
            EXPECT_LT(OrthogonalityError(q), tol);
            if (!gs) {
                EXPECT_LT(MaxDifference(q * q.Transpose(), KoMatrix::Identity(m)), tol);
            }
            const int steps = gs ? n : (m >= n ? n : m - 1);
            for (int j = 0; j < steps; ++j) {
                for (int i = j + 1; i < r.RowSize(); ++i) {
                    EXPECT_LT(std::fabs(r(i, j)), tol) << i << "," << j;
                }
                if (method != kGivens) {
                    EXPECT_GE(r(j, j), 0.0) << j;
                }
            }
        }
    }
}

TEST(QR, RankDeficientMatrices) {
    std::mt19937 rng(7);
    // 4 x 4 of rank 2 and 5 x 3 of rank 2, built as products of thin factors.
    const KoMatrix square = RandomMatrix(4, 2, rng) * RandomMatrix(2, 4, rng);
    const KoMatrix tall = RandomMatrix(5, 2, rng) * RandomMatrix(2, 3, rng);
    KoMatrix q(Rows{{1}}), r(Rows{{2}});
    EXPECT_EQ(square.QRDecomposition(q, r, kGS), SingularMatrix);
    EXPECT_EQ(q.ToVec(), (Rows{{1}}));
    EXPECT_EQ(r.ToVec(), (Rows{{2}}));

    for (const KoMatrix* a : {&square, &tall}) {
        for (KoMatrix::QRMethod method : kMethods) {
            if (a == &square && method == kGS) {
                continue;
            }
            SCOPED_TRACE(::testing::Message() << a->RowSize() << " rows, method " << method);
            ASSERT_EQ(a->QRDecomposition(q, r, method), NoError);
            EXPECT_LT(MaxDifference(q * r, *a), 1e-12);
            if (method == kGS) {
                // The dependent column of Q is zero, the others orthonormal.
                EXPECT_EQ(q.GetColumn(2, 2), KoMatrix(a->RowSize(), 1));
                EXPECT_LT(OrthogonalityError(q.GetColumn(0, 1)), 1e-13);
            } else {
                EXPECT_LT(OrthogonalityError(q), 1e-13);
            }
        }
    }
}

}  // namespace
