// SPDX-License-Identifier: MIT
// Singular value decomposition, full and reduced: the exact small cases (ordering, exchange
// sort, completion of the square factor), the reconstruction and orthogonality of the factors
// on random matrices, and the refusals and aliasing rules of the outputs.
#include <kocalvix/matrix.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "matrix_test_support.h"

namespace {

using test_support::ExpectShape;
using test_support::MaxDifference;
using test_support::OrthogonalityError;
using test_support::RandomMatrix;
using test_support::Rows;

// The eigen step is an unshifted QR iteration whose eigenvectors stall near 1e-8, so the
// partner factor is only that accurate; reconstruction itself is accurate to rounding.
constexpr double kOrthogonality = 1e-5;
constexpr double kReconstruction = 1e-12;

TEST(SVD, LargestFirstByAnExchangeSort) {
    // Eigenvalues delivered as (1, 1, 4) end as (4, 1, 1) with perm (2, 1, 0): the first
    // delivered 1 (eigenvector e0) ends last. A stable sort would give the columns e2, e0, e1.
    const KoMatrix a(Rows{{1, 0, 0}, {0, 1, 0}, {0, 0, 2}});
    const Rows reversed = {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}};
    KoMatrix U, S, V;
    EXPECT_EQ(a.SVDDecomposition(U, S, V), NoError);
    EXPECT_EQ(S.ToVec(), (Rows{{2, 0, 0}, {0, 1, 0}, {0, 0, 1}}));
    EXPECT_EQ(U.ToVec(), reversed);
    EXPECT_EQ(V.ToVec(), reversed);
    EXPECT_EQ(U * S * V.Transpose(), a);

    // Equal values alone are never exchanged: the eigen step's order stands.
    const KoMatrix sorted(Rows{{2, 0, 0}, {0, 1, 0}, {0, 0, 1}});
    EXPECT_EQ(sorted.SVDDecomposition(U, S, V), NoError);
    EXPECT_EQ(U, KoMatrix::Identity(3));
    EXPECT_EQ(S, sorted);
}

TEST(SVD, CompletesTallAndWideFactors) {
    // Tall: V from A^T * A, the first two columns of U from A * V * D, the third completed.
    const KoMatrix tall(Rows{{1, 0}, {0, 2}, {0, 0}});
    KoMatrix U, S, V;
    EXPECT_EQ(tall.SVDDecomposition(U, S, V), NoError);
    EXPECT_EQ(S.ToVec(), (Rows{{2, 0}, {0, 1}, {0, 0}}));
    EXPECT_EQ(V.ToVec(), (Rows{{0, 1}, {1, 0}}));
    EXPECT_EQ(U.ToVec(), (Rows{{0, 1, 0}, {1, 0, 0}, {0, 0, 1}}));

    // Wide: the mirror image, the completed column lands in V.
    EXPECT_EQ(tall.Transpose().SVDDecomposition(U, S, V), NoError);
    EXPECT_EQ(S.ToVec(), (Rows{{2, 0, 0}, {0, 1, 0}}));
    EXPECT_EQ(U.ToVec(), (Rows{{0, 1}, {1, 0}}));
    EXPECT_EQ(V.ToVec(), (Rows{{0, 1, 0}, {1, 0, 0}, {0, 0, 1}}));

    // (1, 1, 0)^T: e0 is accepted and orthogonalised, e1 then lies in the span and is
    // rejected, e2 completes the basis.
    const KoMatrix column(Rows{{1}, {1}, {0}});
    EXPECT_EQ(column.SVDDecomposition(U, S, V), NoError);
    const double r = std::sqrt(0.5);
    EXPECT_LT(MaxDifference(U, KoMatrix(Rows{{r, r, 0}, {r, -r, 0}, {0, 0, 1}})), 1e-15);
    EXPECT_EQ(U.GetColumn(2, 2).ToVec(), (Rows{{0}, {0}, {1}}));
    EXPECT_LT(MaxDifference(U * S * V.Transpose(), column), 1e-15);
}

TEST(SVD, RandomMatricesOfSeveralShapes) {
    std::mt19937 rng(20240611);
    const int shapes[][2] = {{4, 4}, {5, 3}, {3, 5}, {6, 2}, {2, 6}, {1, 4}, {4, 1}, {6, 6}};
    for (const auto& shape : shapes) {
        const int m = shape[0];
        const int n = shape[1];
        const int p = std::min(m, n);
        SCOPED_TRACE(testing::Message() << m << "x" << n);
        const KoMatrix a = RandomMatrix(m, n, rng);
        KoMatrix U, S, V;
        EXPECT_EQ(a.SVDDecomposition(U, S, V), NoError);
        ExpectShape(U, m, m);
        ExpectShape(S, m, n);
        ExpectShape(V, n, n);
        EXPECT_LT(MaxDifference(U * S * V.Transpose(), a), kReconstruction);
        EXPECT_LT(OrthogonalityError(U), kOrthogonality);
        EXPECT_LT(OrthogonalityError(V), kOrthogonality);
        // S is diagonal, largest first. The partner columns, bit for bit: (A * W) * D^T for
        // tall A, ((D^T * W^T) * A)^T otherwise, D inverting the singular values.
        KoMatrix offDiagonal = S;
        std::vector<double> inverted(static_cast<size_t>(p), 0.0);
        for (int k = 0; k < p; ++k) {
            inverted[k] = 1.0 / S(k, k);
            offDiagonal(k, k) = 0.0;
            if (k > 0) {
                EXPECT_GE(S(k - 1, k - 1), S(k, k));
            }
        }
        EXPECT_EQ(offDiagonal, KoMatrix(m, n));
        const KoMatrix D = KoMatrix::DiagForm(inverted);
        if (m > n) {
            EXPECT_EQ(U.GetColumn(0, p - 1), (a * V) * D.Transpose());
        } else {
            EXPECT_EQ(V.GetColumn(0, p - 1), ((D.Transpose() * U.Transpose()) * a).Transpose());
        }

        // The reduced form is the full one without completion: the same numbers, cut.
        KoMatrix u, s, v;
        EXPECT_EQ(a.SubSVDDecomposition(u, s, v), NoError);
        EXPECT_EQ(u, U.GetColumn(0, p - 1));
        EXPECT_EQ(v, V.GetColumn(0, p - 1));
        EXPECT_EQ(s, S.GetRow(0, p - 1).GetColumn(0, p - 1));
    }
}

TEST(SVD, DroppedSingularValuesLeaveZeroPartnerColumns) {
    // Square and singular: the partner factor V has a zero column for the dropped value, the
    // eigen side U stays orthogonal, and no completion happens.
    const KoMatrix a(Rows{{1, 2}, {2, 4}});
    KoMatrix U, S, V;
    EXPECT_EQ(a.SVDDecomposition(U, S, V), NoError);
    EXPECT_LE(std::fabs(S(1, 1)), 1e-11);
    EXPECT_EQ(V.GetColumn(1, 1).ToVec(), (Rows{{0}, {0}}));
    EXPECT_LT(OrthogonalityError(U), 1e-15);
    EXPECT_LT(MaxDifference(U * S * V.Transpose(), a), 1e-14);

    // Tall with a zero column (rank 3 of 4): the zero singular value is exact, its column of
    // U is zero, and the completion cannot place a column beside a zero one.
    std::mt19937 rng(7);
    KoMatrix tall = RandomMatrix(5, 4, rng);
    ASSERT_EQ(tall.SetColumn(1, 1, KoMatrix(5, 1)), NoError);
    EXPECT_EQ(tall.SVDDecomposition(U, S, V), NoError);
    EXPECT_EQ(S(3, 3), 0.0);
    EXPECT_EQ(U.GetColumn(3, 4), KoMatrix(5, 2));
    EXPECT_LT(OrthogonalityError(V), 1e-12);
    EXPECT_LT(OrthogonalityError(U.GetColumn(0, 2)), kOrthogonality);
    EXPECT_LT(MaxDifference(U * S * V.Transpose(), tall), kReconstruction);
}

TEST(SVD, MatricesWithoutElements) {
    KoMatrix U, S, V;
    EXPECT_EQ(KoMatrix(0, 3).SVDDecomposition(U, S, V), NoError);
    ExpectShape(U, 0, 0);
    ExpectShape(S, 0, 3);
    EXPECT_EQ(V, KoMatrix::Identity(3));

    EXPECT_EQ(KoMatrix(3, 0).SVDDecomposition(U, S, V), NoError);
    EXPECT_EQ(U, KoMatrix::Identity(3));
    ExpectShape(S, 3, 0);
    ExpectShape(V, 0, 0);

    EXPECT_EQ(KoMatrix(0, 3).SubSVDDecomposition(U, S, V), NoError);
    ExpectShape(U, 0, 0);
    ExpectShape(S, 0, 0);
    ExpectShape(V, 3, 0);
}

TEST(SVD, NonSymmetricGramMatrixLeavesOutputsUntouched) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // A NaN, and infinities whose products cancel to a NaN in the Gram matrix.
    for (const KoMatrix& a : {KoMatrix(Rows{{nan, 1}, {1, 1}}), KoMatrix(Rows{{inf, inf}, {1, -1}}),
                              KoMatrix(Rows{{1, 2, nan}})}) {
        KoMatrix U(Rows{{7}}), S(Rows{{8}}), V(Rows{{9}});
        EXPECT_EQ(a.SVDDecomposition(U, S, V), NotSymmetric);
        EXPECT_EQ(a.SubSVDDecomposition(U, S, V), NotSymmetric);
        EXPECT_EQ(U.ToVec(), (Rows{{7}}));
        EXPECT_EQ(S.ToVec(), (Rows{{8}}));
        EXPECT_EQ(V.ToVec(), (Rows{{9}}));
    }
}

TEST(SVD, WrappedOutputsMustFitTheirResult) {
    const KoMatrix a(Rows{{1, 0, 0}, {0, 2, 0}});
    double buffer[4] = {1, 2, 3, 4};
    KoMatrix wrapped(2, 2, buffer, KoMatrix::ShallowCopy);  // S would be 2x3
    KoMatrix U(Rows{{7}}), V(Rows{{9}});
    EXPECT_EQ(a.SVDDecomposition(U, wrapped, V), ExternalBuffer);
    EXPECT_EQ(U.ToVec(), (Rows{{7}}));
    EXPECT_EQ(V.ToVec(), (Rows{{9}}));
    EXPECT_EQ(buffer[0], 1.0);
    // Checked before the symmetry of the Gram matrix.
    KoMatrix bad = a;
    bad(0, 0) = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(bad.SVDDecomposition(U, wrapped, V), ExternalBuffer);

    // The reduced S is 2x2 and fits; the reduced V (3x2) would not fit a 2x2 buffer.
    EXPECT_EQ(a.SubSVDDecomposition(U, wrapped, V), NoError);
    EXPECT_EQ(wrapped.ToVec(), (Rows{{2, 0}, {0, 1}}));
    EXPECT_EQ(a.SubSVDDecomposition(U, V, wrapped), ExternalBuffer);
    EXPECT_EQ(wrapped.ToVec(), (Rows{{2, 0}, {0, 1}}));
}

TEST(SVD, OutputsMayAliasTheInputAndEachOther) {
    std::mt19937 rng(99);
    const KoMatrix original = RandomMatrix(4, 3, rng);
    KoMatrix U, S, V;
    EXPECT_EQ(original.SVDDecomposition(U, S, V), NoError);

    KoMatrix a = original;
    KoMatrix s, v;
    EXPECT_EQ(a.SVDDecomposition(a, s, v), NoError);  // A is read before U replaces it
    EXPECT_EQ(a, U);
    EXPECT_EQ(s, S);
    EXPECT_EQ(v, V);

    // Outputs are assigned S, then U, then V: the last one named remains.
    KoMatrix x;
    EXPECT_EQ(original.SVDDecomposition(x, x, v), NoError);
    EXPECT_EQ(x, U);
    EXPECT_EQ(original.SubSVDDecomposition(U, x, x), NoError);
    EXPECT_EQ(x, V);
}

}  // namespace
