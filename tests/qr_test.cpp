// QR decomposition by Gram-Schmidt, Householder reflections and Givens rotations: the exact
// small cases (signs, skipped steps, shapes), the refusals, and the factorisation properties
// on random matrices.
#include <kocalvix/matrix.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "matrix_test_support.h"

namespace {

using test_support::MaxDifference;
using test_support::RandomMatrix;
using test_support::Rows;

constexpr KoMatrix::QRMethod kMethods[] = {KoMatrix::GramSchmidt, KoMatrix::Householder,
                                           KoMatrix::Givens};

TEST(QR, InvalidMethodLeavesOutputsUntouched) {
    const KoMatrix a(Rows{{1, 2}, {3, 4}});
    for (int method : {3, -1, 100}) {
        KoMatrix q(Rows{{7}});
        KoMatrix r(Rows{{8, 9}});
        EXPECT_EQ(a.QRDecomposition(q, r, static_cast<KoMatrix::QRMethod>(method)), InvalidMethod);
        EXPECT_EQ(q.ToVec(), (Rows{{7}}));
        EXPECT_EQ(r.ToVec(), (Rows{{8, 9}}));
    }
}

TEST(QR, OneByOneSignRules) {
    KoMatrix q;
    KoMatrix r;
    // Householder maps x onto +|x|: a negative element is flipped unless 2|a| is in the band.
    const std::vector<std::vector<double>> householder = {
        {2, 1, 2}, {0, 1, 0}, {-3, -1, 3}, {-6e-12, -1, 6e-12}, {-4e-12, 1, -4e-12}};
    for (const auto& c : householder) {
        EXPECT_EQ(KoMatrix(Rows{{c[0]}}).QRDecomposition(q, r, KoMatrix::Householder), NoError);
        EXPECT_EQ(q.ToVec(), (Rows{{c[1]}})) << c[0];
        EXPECT_EQ(r.ToVec(), (Rows{{c[2]}})) << c[0];
    }
    // Givens has nothing to rotate: Q = [1], R = [a] whatever the sign.
    for (double a : {2.0, -3.0, 0.0}) {
        EXPECT_EQ(KoMatrix(Rows{{a}}).QRDecomposition(q, r, KoMatrix::Givens), NoError);
        EXPECT_EQ(q.ToVec(), (Rows{{1}}));
        EXPECT_EQ(r.ToVec(), (Rows{{a}}));
    }
    // Gram-Schmidt normalises: Q = [sign], R = [|a|].
    EXPECT_EQ(KoMatrix(Rows{{-3}}).QRDecomposition(q, r, KoMatrix::GramSchmidt), NoError);
    EXPECT_EQ(q.ToVec(), (Rows{{-1}}));
    EXPECT_EQ(r.ToVec(), (Rows{{3}}));
}

TEST(QR, ColumnThreeFour) {
    const KoMatrix a(Rows{{3}, {4}});
    KoMatrix q;
    KoMatrix r;
    const double eps = 1e-15;

    EXPECT_EQ(a.QRDecomposition(q, r, KoMatrix::GramSchmidt), NoError);
    EXPECT_LT(MaxDifference(q, KoMatrix(Rows{{0.6}, {0.8}})), eps);
    EXPECT_LT(MaxDifference(r, KoMatrix(Rows{{5}})), 4 * eps);

    EXPECT_EQ(a.QRDecomposition(q, r, KoMatrix::Householder), NoError);
    EXPECT_LT(MaxDifference(q, KoMatrix(Rows{{0.6, 0.8}, {0.8, -0.6}})), eps);
    EXPECT_LT(MaxDifference(r, KoMatrix(Rows{{5}, {0}})), 4 * eps);

    EXPECT_EQ(a.QRDecomposition(q, r, KoMatrix::Givens), NoError);
    EXPECT_LT(MaxDifference(q, KoMatrix(Rows{{0.6, -0.8}, {0.8, 0.6}})), eps);
    EXPECT_LT(MaxDifference(r, KoMatrix(Rows{{5}, {0}})), 4 * eps);
}

TEST(QR, GramSchmidtDependentAndZeroColumns) {
    KoMatrix q;
    KoMatrix r;
    // Third column = first + second: Q's third column and R's third row are exactly zero.
    const KoMatrix a(Rows{{1, 2, 3}, {0, 1, 1}, {2, -1, 1}, {1, 1, 2}});
    EXPECT_EQ(a.QRDecomposition(q, r, KoMatrix::GramSchmidt), NoError);
    ASSERT_EQ(q.RowSize(), 4);
    ASSERT_EQ(q.ColumnSize(), 3);
    EXPECT_EQ(q.GetColumn(2, 2), KoMatrix(4, 1));
    EXPECT_EQ(r.GetRow(2, 2), KoMatrix(1, 3));
    EXPECT_LT(MaxDifference(q * r, a), 1e-14);

    // Entries of size 1e6 leave a residual above the absolute threshold: the noise column is
    // normalised into a unit column instead.
    const KoMatrix big = a * 1e6;
    EXPECT_EQ(big.QRDecomposition(q, r, KoMatrix::GramSchmidt), NoError);
    EXPECT_NE(q.GetColumn(2, 2), KoMatrix(4, 1));

    // An exactly zero column 0 stays zero in Q, like a dependent column.
    const KoMatrix z(Rows{{0, 1}, {0, 2}, {0, 2}});
    EXPECT_EQ(z.QRDecomposition(q, r, KoMatrix::GramSchmidt), NoError);
    EXPECT_EQ(q.ToVec(), (Rows{{0, 1.0 / 3}, {0, 2.0 / 3}, {0, 2.0 / 3}}));
    EXPECT_EQ(r.GetRow(0, 0), KoMatrix(1, 2));
    EXPECT_EQ(r(1, 1), 3.0);
    // A tiny but non-zero column 0 is normalised all the same.
    EXPECT_EQ(KoMatrix(Rows{{1e-12}, {0}}).QRDecomposition(q, r, KoMatrix::GramSchmidt), NoError);
    EXPECT_EQ(q.ToVec(), (Rows{{1}, {0}}));
    EXPECT_EQ(r.ToVec(), (Rows{{1e-12}}));
    // Even when its squares underflow to a zero norm: the division then gives inf and NaN.
    EXPECT_EQ(KoMatrix(Rows{{1e-200, 1}, {-1e-200, 0}, {0, 1}})
                  .QRDecomposition(q, r, KoMatrix::GramSchmidt),
              NoError);
    EXPECT_EQ(q(0, 0), std::numeric_limits<double>::infinity());
    EXPECT_EQ(q(1, 0), -std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(q(2, 0)));

    // Rows but no columns: Q is m x 0 and R is 0 x 0.
    EXPECT_EQ(KoMatrix(3, 0).QRDecomposition(q, r, KoMatrix::GramSchmidt), NoError);
    EXPECT_EQ(q.RowSize(), 3);
    EXPECT_EQ(q.ColumnSize(), 0);
    EXPECT_EQ(r.RowSize(), 0);
    EXPECT_EQ(r.ColumnSize(), 0);
}

TEST(QR, StepCountsAndSkippedSteps) {
    KoMatrix q;
    KoMatrix r;
    // Wide: one step only; the last diagonal element keeps its sign under both methods.
    const KoMatrix wide(Rows{{1, 2, 3}, {0, -1, 4}});
    for (KoMatrix::QRMethod method : {KoMatrix::Householder, KoMatrix::Givens}) {
        EXPECT_EQ(wide.QRDecomposition(q, r, method), NoError);
        EXPECT_EQ(q, KoMatrix::Identity(2));
        EXPECT_EQ(r, wide);
    }
    // Square with a negative diagonal entry and zeros below it: Householder flips the row,
    // Givens leaves it.
    const KoMatrix upper(Rows{{2, 1}, {0, -3}});
    EXPECT_EQ(upper.QRDecomposition(q, r, KoMatrix::Householder), NoError);
    EXPECT_EQ(q.ToVec(), (Rows{{1, 0}, {0, -1}}));
    EXPECT_EQ(r.ToVec(), (Rows{{2, 1}, {0, 3}}));
    EXPECT_EQ(upper.QRDecomposition(q, r, KoMatrix::Givens), NoError);
    EXPECT_EQ(q, KoMatrix::Identity(2));
    EXPECT_EQ(r, upper);

    // Givens pairs the pivot row with every row below it and skips exact zeros only.
    const KoMatrix tall(Rows{{-1, 2}, {0, 1}, {0, 1}});
    EXPECT_EQ(tall.QRDecomposition(q, r, KoMatrix::Givens), NoError);
    EXPECT_EQ(r(0, 0), -1.0);
    EXPECT_LT(std::fabs(r(1, 1) - std::sqrt(2.0)), 1e-15);
    EXPECT_LT(std::fabs(r(2, 1)), 1e-15);
    EXPECT_LT(MaxDifference(q * r, tall), 1e-15);

    // A tiny but non-zero b is rotated: the pivot becomes +r.
    EXPECT_EQ(KoMatrix(Rows{{-1}, {1e-20}}).QRDecomposition(q, r, KoMatrix::Givens), NoError);
    EXPECT_EQ(r(0, 0), 1.0);
    EXPECT_EQ(q(0, 0), -1.0);

    // Without a sign choice, a column within rounding of +|x| e is reflected onto the wrong
    // side: here the two reflections cancel and the sub-diagonal entry stays.
    const KoMatrix nearlyReduced(Rows{{1, 0}, {1e-9, 1}});
    EXPECT_EQ(nearlyReduced.QRDecomposition(q, r, KoMatrix::Householder), NoError);
    EXPECT_EQ(q, KoMatrix::Identity(2));
    EXPECT_EQ(r, nearlyReduced);

    // 0 x 0: Householder and Givens give empty factors; Gram-Schmidt refuses.
    for (KoMatrix::QRMethod method : {KoMatrix::Householder, KoMatrix::Givens}) {
        KoMatrix q0(Rows{{1}});
        KoMatrix r0(Rows{{1}});
        EXPECT_EQ(KoMatrix().QRDecomposition(q0, r0, method), NoError);
        EXPECT_EQ(q0.ElementNum(), 0);
        EXPECT_EQ(r0.RowSize(), 0);
        EXPECT_EQ(r0.ColumnSize(), 0);
    }
    // No rows: nothing to do, R keeps the 0 x n shape.
    EXPECT_EQ(KoMatrix(0, 3).QRDecomposition(q, r, KoMatrix::Householder), NoError);
    EXPECT_EQ(q.RowSize(), 0);
    EXPECT_EQ(r.ColumnSize(), 3);
}

TEST(QR, OutputsAliasingTheInputOrWrappingBuffers) {
    const KoMatrix a(Rows{{4, 1, 2}, {-1, 3, 0}, {2, 2, 5}});
    for (KoMatrix::QRMethod method : kMethods) {
        KoMatrix q;
        KoMatrix r;
        ASSERT_EQ(a.QRDecomposition(q, r, method), NoError);
        // The matrix itself as Q or as R: factored as if copied first.
        KoMatrix selfQ(a);
        KoMatrix r2;
        EXPECT_EQ(selfQ.QRDecomposition(selfQ, r2, method), NoError);
        EXPECT_EQ(selfQ, q);
        EXPECT_EQ(r2, r);
        KoMatrix selfR(a);
        KoMatrix q2;
        EXPECT_EQ(selfR.QRDecomposition(q2, selfR, method), NoError);
        EXPECT_EQ(q2, q);
        EXPECT_EQ(selfR, r);

        // Wrapped outputs of the result's shape receive the values in the caller's buffers.
        double qBuffer[9] = {};
        double rBuffer[9] = {};
        KoMatrix wq(3, 3, qBuffer, KoMatrix::ShallowCopy);
        KoMatrix wr(3, 3, rBuffer, KoMatrix::ShallowCopy);
        EXPECT_EQ(a.QRDecomposition(wq, wr, method), NoError);
        EXPECT_EQ(KoMatrix(3, 3, qBuffer, KoMatrix::DeepCopy), q);
        EXPECT_EQ(KoMatrix(3, 3, rBuffer, KoMatrix::DeepCopy), r);

        // A wrapped output of another shape: refused, both outputs untouched.
        double small[2] = {5, 6};
        KoMatrix wSmall(1, 2, small, KoMatrix::ShallowCopy);
        KoMatrix other(Rows{{9}});
        EXPECT_EQ(a.QRDecomposition(other, wSmall, method), ExternalBuffer);
        EXPECT_EQ(other.ToVec(), (Rows{{9}}));
        EXPECT_EQ(small[0], 5.0);
        EXPECT_EQ(small[1], 6.0);
        EXPECT_EQ(a.QRDecomposition(wSmall, other, method), ExternalBuffer);
        EXPECT_EQ(other.ToVec(), (Rows{{9}}));
        EXPECT_EQ(small[1], 6.0);
    }
    // The singularity test comes before the buffer check.
    double small[1] = {5};
    KoMatrix wSmall(1, 1, small, KoMatrix::ShallowCopy);
    KoMatrix other;
    EXPECT_EQ(KoMatrix(2, 2).QRDecomposition(wSmall, other, KoMatrix::GramSchmidt), SingularMatrix);
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
            KoMatrix q;
            KoMatrix r;
            ASSERT_EQ(a.QRDecomposition(q, r, method), NoError);
            const bool gs = method == KoMatrix::GramSchmidt;
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
            EXPECT_LT(MaxDifference(q.Transpose() * q, KoMatrix::Identity(qCols)), tol);
            if (!gs) {
                EXPECT_LT(MaxDifference(q * q.Transpose(), KoMatrix::Identity(m)), tol);
            }
            const int steps = gs ? n : (m >= n ? n : m - 1);
            for (int j = 0; j < steps; ++j) {
                for (int i = j + 1; i < r.RowSize(); ++i) {
                    EXPECT_LT(std::fabs(r(i, j)), tol) << i << "," << j;
                }
                if (method != KoMatrix::Givens) {
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
    KoMatrix q(Rows{{1}});
    KoMatrix r(Rows{{2}});
    EXPECT_EQ(square.QRDecomposition(q, r, KoMatrix::GramSchmidt), SingularMatrix);
    EXPECT_EQ(q.ToVec(), (Rows{{1}}));
    EXPECT_EQ(r.ToVec(), (Rows{{2}}));

    for (const KoMatrix* a : {&square, &tall}) {
        for (KoMatrix::QRMethod method : kMethods) {
            if (a == &square && method == KoMatrix::GramSchmidt) {
                continue;
            }
            SCOPED_TRACE(::testing::Message() << a->RowSize() << " rows, method " << method);
            ASSERT_EQ(a->QRDecomposition(q, r, method), NoError);
            EXPECT_LT(MaxDifference(q * r, *a), 1e-12);
            const int qCols = q.ColumnSize();
            if (method == KoMatrix::GramSchmidt) {
                // The dependent column of Q is zero, the others orthonormal.
                EXPECT_EQ(q.GetColumn(2, 2), KoMatrix(a->RowSize(), 1));
                const KoMatrix q2 = q.GetColumn(0, 1);
                EXPECT_LT(MaxDifference(q2.Transpose() * q2, KoMatrix::Identity(2)), 1e-13);
            } else {
                EXPECT_LT(MaxDifference(q.Transpose() * q, KoMatrix::Identity(qCols)), 1e-13);
            }
        }
    }
}

}  // namespace
