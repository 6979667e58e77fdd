// SPDX-License-Identifier: MIT
// The induced 1- and 2-norms and the special-matrix tests.
#include <kocalvix/matrix.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "matrix_test_support.h"

namespace {

using test_support::RandomMatrix;
using test_support::Rows;

TEST(MatrixNorm, OneNormAndUnknownOrders) {
    const KoMatrix a(Rows{{1, -2}, {3, 4}});
    EXPECT_EQ(a.MatrixNorm(1), 6.0);
    EXPECT_EQ(a.MatrixNorm(3), 0.0);
    EXPECT_EQ(a.MatrixNorm(0), 0.0);
    EXPECT_EQ(a.MatrixNorm(-1), 0.0);
    EXPECT_EQ(KoMatrix(3, 0).MatrixNorm(1), 0.0);
    EXPECT_EQ(KoMatrix(Rows{{-5}, {1}}).MatrixNorm(1), 6.0);
    // Running maximum: a NaN column sum is taken, and the next column replaces it.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(KoMatrix(Rows{{1, nan}}).MatrixNorm(1)));
    EXPECT_EQ(KoMatrix(Rows{{nan, 1}}).MatrixNorm(1), 1.0);
}

TEST(MatrixNorm, SpectralNorm) {
    EXPECT_EQ(KoMatrix(Rows{{3, 0}, {0, -4}}).MatrixNorm(2), 4.0);
    EXPECT_EQ(KoMatrix(Rows{{1, -2, 2}}).MatrixNorm(2), 3.0);  // Euclidean length of a row
    EXPECT_EQ(KoMatrix(Rows{{3, 4}}).MatrixNorm(2), 5.0);
    EXPECT_EQ(KoMatrix(0, 4).MatrixNorm(2), 0.0);
    EXPECT_EQ(KoMatrix(0, 0).MatrixNorm(2), 0.0);
    EXPECT_EQ(KoMatrix(2, 0).MatrixNorm(2), 0.0);

    // The largest singular value. A * A^T is rows x rows, so only wide and square matrices
    // are compared here: for a tall one its surplus zero eigenvalues come out as tiny
    // negatives whose roots are NaN, and the running maximum then takes what follows them.
    std::mt19937 rng(2718);
    const int shapes[][2] = {{3, 3}, {2, 5}, {4, 6}, {6, 6}, {1, 5}};
    for (const auto& shape : shapes) {
        const KoMatrix a = RandomMatrix(shape[0], shape[1], rng);
        KoMatrix U, S, V;
        ASSERT_EQ(a.SVDDecomposition(U, S, V), NoError);
        EXPECT_NEAR(a.MatrixNorm(2), S(0, 0), 1e-13) << shape[0] << "x" << shape[1];
    }
}

TEST(IsSpecialMatrix, KindsOfSmallMatrices) {
    const double c = std::cos(0.3);
    const double s = std::sin(0.3);
    const KoMatrix rotation(Rows{{c, -s}, {s, c}});
    EXPECT_TRUE(rotation.IsSpecialMatrix(KoMatrix::Orthogonal));
    EXPECT_TRUE(rotation.IsSpecialMatrix(KoMatrix::Normal));
    EXPECT_FALSE(rotation.IsSpecialMatrix(KoMatrix::Symmetric));
    EXPECT_FALSE((KoMatrix::Identity(3) * 0.5).IsSpecialMatrix(KoMatrix::Orthogonal));
    EXPECT_FALSE(KoMatrix(Rows{{1, 0}, {0, 1.00000000001}}).IsSpecialMatrix(KoMatrix::Orthogonal));

    EXPECT_FALSE(KoMatrix(Rows{{0, -1}, {1, 1}}).IsSpecialMatrix(KoMatrix::Normal));
    EXPECT_TRUE(KoMatrix(Rows{{0, 1}, {-1, 0}}).IsSpecialMatrix(KoMatrix::Normal));

    KoMatrix almost(Rows{{1, 2}, {2, 3}});
    EXPECT_TRUE(almost.IsSpecialMatrix(KoMatrix::Symmetric));
    EXPECT_TRUE(almost.IsSpecialMatrix(KoMatrix::Normal));
    almost(0, 1) = 2.0 + 4e-15;
    EXPECT_FALSE(almost.IsSpecialMatrix(KoMatrix::Symmetric));
    EXPECT_TRUE(almost.IsSpecialMatrix(KoMatrix::Normal));
    const KoMatrix withNaN(Rows{{std::numeric_limits<double>::quiet_NaN()}});
    EXPECT_FALSE(withNaN.IsSpecialMatrix(KoMatrix::Symmetric));
    EXPECT_FALSE(withNaN.IsSpecialMatrix(KoMatrix::Normal));
    EXPECT_FALSE(withNaN.IsSpecialMatrix(KoMatrix::Orthogonal));

    const KoMatrix singular(Rows{{1, 2}, {2, 4}});
    EXPECT_TRUE(singular.IsSpecialMatrix(KoMatrix::Singular));
    EXPECT_TRUE(singular.IsSpecialMatrix(KoMatrix::RankDeficient));
    EXPECT_FALSE(rotation.IsSpecialMatrix(KoMatrix::Singular));
    EXPECT_FALSE(rotation.IsSpecialMatrix(KoMatrix::RankDeficient));
}

TEST(IsSpecialMatrix, ShapesAndUnknownKinds) {
    const KoMatrix empty;
    for (auto kind : {KoMatrix::Square, KoMatrix::Normal, KoMatrix::Orthogonal, KoMatrix::Symmetric,
                      KoMatrix::Singular, KoMatrix::RankDeficient}) {
        EXPECT_TRUE(empty.IsSpecialMatrix(kind)) << kind;
    }
    // Every kind but Square needs a square matrix; a wide matrix with orthonormal rows is not
    // orthogonal.
    const KoMatrix wide(Rows{{1, 0, 0}, {0, 1, 0}});
    EXPECT_FALSE(wide.IsSpecialMatrix(KoMatrix::Square));
    for (auto kind : {KoMatrix::Normal, KoMatrix::Orthogonal, KoMatrix::Symmetric,
                      KoMatrix::Singular, KoMatrix::RankDeficient}) {
        EXPECT_FALSE(wide.IsSpecialMatrix(kind)) << kind;
    }
    const KoMatrix identity = KoMatrix::Identity(2);
    EXPECT_TRUE(identity.IsSpecialMatrix(KoMatrix::Square));
    EXPECT_FALSE(identity.IsSpecialMatrix(static_cast<KoMatrix::MatrixType>(6)));
    EXPECT_FALSE(identity.IsSpecialMatrix(static_cast<KoMatrix::MatrixType>(-1)));
    EXPECT_FALSE(empty.IsSpecialMatrix(static_cast<KoMatrix::MatrixType>(6)));
}

}  // namespace
