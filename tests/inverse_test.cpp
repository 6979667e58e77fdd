// SPDX-License-Identifier: MIT
// Inverse and pseudo-inverse through the reduced SVD: the exact order of products, the
// threshold on singular values, the Moore-Penrose properties on random matrices, and the
// degenerate inputs.
#include <kocalvix/matrix.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "matrix_test_support.h"

namespace {

using test_support::MaxDifference;
using test_support::RandomMatrix;
using test_support::Rows;

// (V * (S+)^T) * U^T from the public reduced decomposition, S+ inverting the singular values
// outside the zero band.
KoMatrix PseudoInverseFromFactors(const KoMatrix& a) {
    KoMatrix U, S, V;
    EXPECT_EQ(a.SubSVDDecomposition(U, S, V), NoError);
    std::vector<double> inverted(static_cast<size_t>(S.RowSize()), 0.0);
    for (int k = 0; k < S.RowSize(); ++k) {
        if (S(k, k) > 1e-11 || S(k, k) < -1e-11) {
            inverted[k] = 1.0 / S(k, k);
        }
    }
    return (V * KoMatrix::DiagForm(inverted).Transpose()) * U.Transpose();
}

TEST(Inverse, IsTheProductOfTheReducedFactorsBitForBit) {
    std::mt19937 rng(4242);
    const int shapes[][2] = {{3, 3}, {4, 2}, {2, 5}, {6, 6}, {1, 3}};
    for (const auto& shape : shapes) {
        SCOPED_TRACE(testing::Message() << shape[0] << "x" << shape[1]);
        const KoMatrix a = RandomMatrix(shape[0], shape[1], rng);
        EXPECT_EQ(a.Inv(), PseudoInverseFromFactors(a));
    }
    // Also with a dropped singular value.
    const KoMatrix singular(Rows{{1, 2}, {2, 4}});
    EXPECT_EQ(singular.Inv(), PseudoInverseFromFactors(singular));
}

TEST(Inverse, PseudoInversePropertiesOnRandomMatrices) {
    // The eigenvectors behind the factors are accurate to about 1e-8, which a conditioned
    // product amplifies: 1e-5 is the accuracy to expect, not rounding.
    std::mt19937 rng(31337);
    const int shapes[][2] = {{4, 4}, {2, 3}, {3, 2}, {5, 3}, {3, 6}, {5, 5}};
    for (const auto& shape : shapes) {
        SCOPED_TRACE(testing::Message() << shape[0] << "x" << shape[1]);
        const KoMatrix a = RandomMatrix(shape[0], shape[1], rng);
        const KoMatrix x = a.Inv();
        EXPECT_EQ(x.RowSize(), shape[1]);
        EXPECT_EQ(x.ColumnSize(), shape[0]);
        EXPECT_LT(MaxDifference(a * x * a, a), 1e-5);
        EXPECT_LT(MaxDifference(x * a * x, x), 1e-5);
        if (shape[0] == shape[1]) {
            EXPECT_LT(MaxDifference(a * x, KoMatrix::Identity(shape[0])), 1e-5);
        }
    }
    // Rank 2 of 4 columns, exactly: two zero columns give exact zero singular values.
    KoMatrix deficient = RandomMatrix(3, 4, rng);
    ASSERT_EQ(deficient.SetColumn(1, 1, KoMatrix(3, 1)), NoError);
    ASSERT_EQ(deficient.SetColumn(3, 3, KoMatrix(3, 1)), NoError);
    const KoMatrix x = deficient.Transpose().Inv();
    EXPECT_LT(
        MaxDifference(deficient.Transpose() * x * deficient.Transpose(), deficient.Transpose()),
        1e-5);
    EXPECT_LT(MaxDifference(x * deficient.Transpose() * x, x), 1e-5);
}

TEST(Inverse, SingularValuesInTheZeroBandAreDropped) {
    EXPECT_EQ(KoMatrix(Rows{{1, 0}, {0, 1e-12}}).Inv().ToVec(), (Rows{{1, 0}, {0, 0}}));
    EXPECT_EQ(KoMatrix(Rows{{4, 0}, {0, 1e-10}}).Inv().ToVec(), (Rows{{0.25, 0}, {0, 1e10}}));
}

TEST(Inverse, ZeroAndEmptyMatrices) {
    EXPECT_EQ(KoMatrix(2, 3).Inv(), KoMatrix(3, 2));
    EXPECT_EQ(KoMatrix(3, 2).Inv(), KoMatrix(2, 3));
    EXPECT_EQ(KoMatrix(0, 0).Inv(), KoMatrix(0, 0));
    EXPECT_EQ(KoMatrix(0, 3).Inv(), KoMatrix(3, 0));
    EXPECT_EQ(KoMatrix(3, 0).Inv(), KoMatrix(0, 3));
}

TEST(Inverse, NaNInputGivesNaNMatrixOfTransposedShape) {
    const KoMatrix a(Rows{{1, std::numeric_limits<double>::quiet_NaN(), 2}, {3, 4, 5}});
    const KoMatrix x = a.Inv();
    EXPECT_EQ(x.RowSize(), 3);
    EXPECT_EQ(x.ColumnSize(), 2);
    for (int k = 0; k < x.ElementNum(); ++k) {
        EXPECT_TRUE(std::isnan(x[k]));
    }
}

}  // namespace
