// SPDX-License-Identifier: MIT
// Householder bidiagonalization A = U * B * V: the exact small cases (skipped steps, signs,
// shapes), the factorisation and bidiagonal form on random matrices, and the output rules.
#include <kocalvix/matrix.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "matrix_test_support.h"

namespace {

using test_support::MaxDifference;
using test_support::OrthogonalityError;
using test_support::RandomMatrix;
using test_support::Rows;

TEST(BiDiagonalize, RandomMatricesOfSeveralShapes) {
    std::mt19937 rng(161803);
    const int shapes[][2] = {{4, 4}, {3, 5}, {5, 3}, {2, 6}, {6, 2}, {3, 4}, {1, 5}, {5, 1}};
    for (const auto& shape : shapes) {
        const int m = shape[0];
        const int n = shape[1];
        SCOPED_TRACE(testing::Message() << m << "x" << n);
        const KoMatrix a = RandomMatrix(m, n, rng);
        KoMatrix U, B, V;
        EXPECT_EQ(a.BiDiagonalize(U, B, V), NoError);
        EXPECT_EQ(U.RowSize(), m);
        EXPECT_EQ(U.ColumnSize(), m);
        EXPECT_EQ(V.RowSize(), n);
        EXPECT_EQ(V.ColumnSize(), n);
        EXPECT_LT(MaxDifference(U * B * V, a), 1e-14);
        EXPECT_LT(OrthogonalityError(U), 1e-14);
        EXPECT_LT(OrthogonalityError(V), 1e-14);
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j < n; ++j) {
                if (j != i && j != i + 1) {
                    EXPECT_LT(std::fabs(B(i, j)), 1e-14) << i << "," << j;
                }
            }
        }
        // Every diagonal entry made by a left step and every superdiagonal entry made by a
        // right step is non-negative.
        for (int k = 0; k < std::min(m - 1, n); ++k) {
            EXPECT_GE(B(k, k), 0.0);
        }
        for (int k = 0; k + 2 < n && k < m; ++k) {
            EXPECT_GE(B(k, k + 1), 0.0);
        }
    }
    // V itself is the right factor: with two or more right steps V is not symmetric and
    // U * B * V^T misses A.
    for (const auto& shape : {std::vector<int>{4, 4}, std::vector<int>{3, 5}}) {
        const KoMatrix a = RandomMatrix(shape[0], shape[1], rng);
        KoMatrix U, B, V;
        ASSERT_EQ(a.BiDiagonalize(U, B, V), NoError);
        EXPECT_GT(MaxDifference(U * B * V.Transpose(), a), 1e-3);
    }
}

TEST(BiDiagonalize, SmallShapes) {
    KoMatrix U, B, V;
    // 2x2: one left step, no right step, so B(0, 1) keeps its sign.
    EXPECT_EQ(KoMatrix(Rows{{3, -4}, {4, -2}}).BiDiagonalize(U, B, V), NoError);
    EXPECT_EQ(V, KoMatrix::Identity(2));
    EXPECT_NEAR(B(0, 0), 5.0, 1e-15);
    EXPECT_NEAR(B(0, 1), -4.0, 1e-15);
    EXPECT_LT(std::fabs(B(1, 0)), 1e-15);

    // 1 x n: no left step; the final right step folds the rest of the row into B(0, 1).
    const KoMatrix row(Rows{{-7, 2, -1, 2}});
    EXPECT_EQ(row.BiDiagonalize(U, B, V), NoError);
    EXPECT_EQ(U, KoMatrix::Identity(1));
    EXPECT_EQ(B(0, 0), -7.0);
    EXPECT_NEAR(B(0, 1), 3.0, 1e-15);
    EXPECT_LT(std::fabs(B(0, 2)) + std::fabs(B(0, 3)), 1e-15);
    EXPECT_LT(MaxDifference(U * B * V, row), 1e-15);

    // 1x2: nothing to do.
    const KoMatrix pair(Rows{{-1, -2}});
    EXPECT_EQ(pair.BiDiagonalize(U, B, V), NoError);
    EXPECT_EQ(B, pair);
    EXPECT_EQ(U, KoMatrix::Identity(1));
    EXPECT_EQ(V, KoMatrix::Identity(2));

    // m x 1: one left step.
    EXPECT_EQ(KoMatrix(Rows{{3}, {4}}).BiDiagonalize(U, B, V), NoError);
    EXPECT_LT(MaxDifference(B, KoMatrix(Rows{{5}, {0}})), 1e-15);
    EXPECT_LT(MaxDifference(U, KoMatrix(Rows{{0.6, 0.8}, {0.8, -0.6}})), 1e-15);
    EXPECT_EQ(V, KoMatrix::Identity(1));

    // No rows: B = A, U is 0x0, V the identity.
    EXPECT_EQ(KoMatrix(0, 3).BiDiagonalize(U, B, V), NoError);
    EXPECT_EQ(B, KoMatrix(0, 3));
    EXPECT_EQ(U, KoMatrix(0, 0));
    EXPECT_EQ(V, KoMatrix::Identity(3));
    EXPECT_EQ(KoMatrix(3, 0).BiDiagonalize(U, B, V), NoError);
    EXPECT_EQ(U, KoMatrix::Identity(3));
    EXPECT_EQ(V, KoMatrix(0, 0));
}

TEST(BiDiagonalize, ReflectsOnlyWhatIsNotInForm) {
    // Already bidiagonal with a non-negative diagonal and superdiagonal: every reflector is
    // the identity.
    const KoMatrix bidiagonal(Rows{{1, 2, 0, 0}, {0, 3, 4, 0}, {0, 0, 5, 6}});
    KoMatrix U, B, V;
    EXPECT_EQ(bidiagonal.BiDiagonalize(U, B, V), NoError);
    EXPECT_EQ(B, bidiagonal);
    EXPECT_EQ(U, KoMatrix::Identity(3));
    EXPECT_EQ(V, KoMatrix::Identity(4));

    // The first left step flips row 0; the last diagonal entry is never processed.
    EXPECT_EQ(KoMatrix(Rows{{-2, 0, 0}, {0, 3, 0}, {0, 0, -5}}).BiDiagonalize(U, B, V), NoError);
    EXPECT_EQ(B.ToVec(), (Rows{{2, 0, 0}, {0, 3, 0}, {0, 0, -5}}));
    EXPECT_EQ(U.ToVec(), (Rows{{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}}));
    EXPECT_EQ(V, KoMatrix::Identity(3));
}

TEST(BiDiagonalize, OutputRules) {
    std::mt19937 rng(5);
    const KoMatrix original = RandomMatrix(3, 4, rng);
    KoMatrix U, B, V;
    ASSERT_EQ(original.BiDiagonalize(U, B, V), NoError);

    // A wrapped output that cannot take its shape: refused, nothing touched.
    double buffer[9] = {};
    KoMatrix wrapped(3, 3, buffer, KoMatrix::ShallowCopy);
    KoMatrix u(Rows{{7}}), v(Rows{{9}});
    EXPECT_EQ(original.BiDiagonalize(u, wrapped, v), ExternalBuffer);
    EXPECT_EQ(u.ToVec(), (Rows{{7}}));
    EXPECT_EQ(v.ToVec(), (Rows{{9}}));
    EXPECT_EQ(wrapped, KoMatrix(3, 3));
    // One of the right shape takes the result.
    EXPECT_EQ(original.BiDiagonalize(wrapped, B, V), NoError);
    EXPECT_EQ(wrapped, U);

    // The input as an output: read completely before it is replaced.
    KoMatrix a = original;
    EXPECT_EQ(a.BiDiagonalize(u, a, v), NoError);
    EXPECT_EQ(a, B);
    EXPECT_EQ(u, U);
    EXPECT_EQ(v, V);
}

}  // namespace
