// SPDX-License-Identifier: MIT
// Helpers shared by the matrix test programs: random matrices, element-wise distances and the
// orthogonality error.
#ifndef KOCALVIX_TESTS_MATRIX_TEST_SUPPORT_H
#define KOCALVIX_TESTS_MATRIX_TEST_SUPPORT_H

#include <kocalvix/matrix.h>

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace test_support {

using Rows = std::vector<std::vector<double>>;

// A rows x cols matrix of values drawn uniformly from [-1, 1).
inline KoMatrix RandomMatrix(int rows, int cols, std::mt19937& rng) {
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    KoMatrix m(rows, cols);
    for (int k = 0; k < m.ElementNum(); ++k) {
        m[k] = dist(rng);
    }
    return m;
}

// The largest absolute element of a - b; the shapes must agree.
inline double MaxDifference(const KoMatrix& a, const KoMatrix& b) {
    EXPECT_TRUE(a.IsSameDimension(b));
    return (a - b).ElementWiseInfiniteNorm();
}

// How far q^T * q is from the identity, element-wise.
inline double OrthogonalityError(const KoMatrix& q) {
    return MaxDifference(q.Transpose() * q, KoMatrix::Identity(q.ColumnSize()));
}

inline void ExpectShape(const KoMatrix& m, int rows, int cols) {
    EXPECT_EQ(m.RowSize(), rows);
    EXPECT_EQ(m.ColumnSize(), cols);
}

}  // namespace test_support

#endif  // KOCALVIX_TESTS_MATRIX_TEST_SUPPORT_H
