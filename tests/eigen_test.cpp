// SPDX-License-Identifier: MIT
// Eigenvalues and eigenvectors by the unshifted QR iteration: the exact small cases, the
// stalled and non-converging ones, the refusals, and eigenpairs of random symmetric matrices.
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

TEST(Eigen, TriangularMatricesStopAfterOneStep) {
    KoMatrix v, w;
    // A diagonal matrix is its own eigen decomposition, except that the first reflector flips
    // row 0 of a negative entry: R * Q restores the value and W keeps the flip.
    const struct {
        Rows a, v, w;
    } flips[] = {
        {{{2, 0, 0}, {0, 3, 0}, {0, 0, 1}}, {{2}, {3}, {1}}, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}},
        {{{-2, 0}, {0, 3}}, {{-2}, {3}}, {{-1, 0}, {0, 1}}},
        {{{-3}}, {{-3}}, {{-1}}}};
    for (const auto& c : flips) {
        EXPECT_EQ(KoMatrix(c.a).Eigen(v, w), NoError);
        EXPECT_EQ(v.ToVec(), c.v);
        EXPECT_EQ(w.ToVec(), c.w);
    }

    // Upper triangular, not symmetric: eigenvalues in diagonal order; Eigen refuses.
    const KoMatrix upper(Rows{{1, 2}, {0, 3}});
    EXPECT_EQ(upper.EigenValues(v), NoError);
    EXPECT_EQ(v.ToVec(), (Rows{{1}, {3}}));
    KoMatrix v0(Rows{{7}}), w0(Rows{{8}});
    EXPECT_EQ(upper.Eigen(v0, w0), NotSymmetric);
    EXPECT_EQ(v0.ToVec(), (Rows{{7}}));
    EXPECT_EQ(w0.ToVec(), (Rows{{8}}));

    // 0 x 0: a 0 x 1 V and a 0 x 0 W.
    EXPECT_EQ(KoMatrix().EigenValues(v0), NoError);
    ExpectShape(v0, 0, 1);
    v0 = KoMatrix(Rows{{7}});
    EXPECT_EQ(KoMatrix().Eigen(v0, w0), NoError);
    ExpectShape(v0, 0, 1);
    ExpectShape(w0, 0, 0);
}

TEST(Eigen, StalledAndNonConvergingIterations) {
    KoMatrix v, w;
    // Eigenvalues 3 and 1: the lower triangle stalls above the threshold, all steps run.
    EXPECT_EQ(KoMatrix(Rows{{2, 1}, {1, 2}}).Eigen(v, w), NoError);
    EXPECT_LT(std::fabs(v[0] - 3.0), 1e-13);
    EXPECT_LT(std::fabs(v[1] - 1.0), 1e-13);
    const double h = 1.0 / std::sqrt(2.0);
    EXPECT_LT(MaxDifference(w, KoMatrix(Rows{{h, -h}, {h, h}})), 1e-6);

    // Eigenvalues +1 and -1 never separate; the diagonal stays near zero.
    EXPECT_EQ(KoMatrix(Rows{{0, 1}, {1, 0}}).Eigen(v, w), NoError);
    EXPECT_LT(std::fabs(v[0]), 1e-13);
    EXPECT_LT(std::fabs(v[1]), 1e-13);
}

TEST(Eigen, RefusalsAndOutputs) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    KoMatrix v(Rows{{7}}), w(Rows{{8}});
    // Not exactly symmetric, not square, or holding a NaN: NotSymmetric, outputs untouched.
    for (const KoMatrix& a : {KoMatrix(Rows{{1, nan}, {nan, 1}}), KoMatrix(2, 3),
                              KoMatrix(Rows{{1, 2}, {2 + 1e-15, 1}})}) {
        EXPECT_EQ(a.Eigen(v, w), NotSymmetric);
        EXPECT_EQ(v.ToVec(), (Rows{{7}}));
        EXPECT_EQ(w.ToVec(), (Rows{{8}}));
    }
    // EigenValues of a non-square matrix: DimensionMismatch, V untouched.
    EXPECT_EQ(KoMatrix(3, 2).EigenValues(v), DimensionMismatch);
    EXPECT_EQ(KoMatrix(2, 3).EigenValues(v), DimensionMismatch);
    EXPECT_EQ(v.ToVec(), (Rows{{7}}));

    // Outputs wrapping buffers of another shape are refused; the symmetry test comes first.
    const KoMatrix s(Rows{{2, 1}, {1, 2}});
    double buffer[4] = {1, 2, 3, 4};
    double small[1] = {5};
    KoMatrix wrapped(2, 2, buffer, KoMatrix::ShallowCopy);
    KoMatrix wrappedSmall(1, 1, small, KoMatrix::ShallowCopy), good;
    EXPECT_EQ(s.EigenValues(wrapped), ExternalBuffer);
    EXPECT_EQ(s.Eigen(wrapped, w), ExternalBuffer);
    EXPECT_EQ(w.ToVec(), (Rows{{8}}));
    EXPECT_EQ(KoMatrix(Rows{{1, 2}, {3, 4}}).Eigen(wrapped, w), NotSymmetric);
    EXPECT_EQ(s.Eigen(good, wrappedSmall), ExternalBuffer);
    EXPECT_EQ(good.ElementNum(), 0);
    EXPECT_EQ(buffer[0], 1.0);
    EXPECT_EQ(buffer[3], 4.0);
    EXPECT_EQ(small[0], 5.0);

    // Wrapped outputs of the right shapes receive the results in the caller's buffers.
    double vBuffer[2] = {};
    KoMatrix wrappedV(2, 1, vBuffer, KoMatrix::ShallowCopy);
    EXPECT_EQ(KoMatrix(Rows{{-2, 0}, {0, 3}}).Eigen(wrappedV, wrapped), NoError);
    EXPECT_EQ(vBuffer[0], -2.0);
    EXPECT_EQ(vBuffer[1], 3.0);
    EXPECT_EQ(buffer[0], -1.0);
    EXPECT_EQ(buffer[3], 1.0);

    // The matrix itself as an output: computed as if copied first.
    KoMatrix values, vectors, other;
    ASSERT_EQ(s.Eigen(values, vectors), NoError);
    KoMatrix self(s);
    EXPECT_EQ(self.Eigen(other, self), NoError);
    EXPECT_EQ(self, vectors);
    EXPECT_EQ(other, values);
    self = s;
    EXPECT_EQ(self.EigenValues(self), NoError);
    EXPECT_EQ(self, values);
}

// A random orthogonal matrix of order n: the Householder Q of a random matrix.
KoMatrix RandomOrthogonal(int n, std::mt19937& rng) {
    KoMatrix q, r;
    EXPECT_EQ(RandomMatrix(n, n, rng).QRDecomposition(q, r, KoMatrix::Householder), NoError);
    return q;
}

// The eigenvalues found, ascending, and the expected ones, ascending, agree within `tolerance`.
void ExpectSameSpectrum(const KoMatrix& column, std::vector<double> expected, double tolerance) {
    ASSERT_EQ(column.ElementNum(), static_cast<int>(expected.size()));
    std::vector<double> got(column.ElementNum());
    for (int k = 0; k < column.ElementNum(); ++k) {
        got[k] = column[k];
    }
    std::sort(got.begin(), got.end());
    std::sort(expected.begin(), expected.end());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_NEAR(got[i], expected[i], tolerance) << i;
    }
}

// Symmetric matrices with eigenvalues of well-separated magnitudes: every eigenpair satisfies
// A * w = lambda * w to the level the iteration stalls at, and W stays orthogonal.
TEST(Eigen, RandomSymmetricEigenpairs) {
    std::mt19937 rng(12345);
    const std::vector<double> chosen = {6.0, -4.0, 2.5, 1.5, -0.8, 0.3};
    for (int n = 1; n <= 6; ++n) {
        SCOPED_TRACE(n);
        const std::vector<double> lambda(chosen.begin(), chosen.begin() + n);
        const KoMatrix p = RandomOrthogonal(n, rng);
        KoMatrix a = p * KoMatrix::DiagForm(lambda) * p.Transpose();
        a = (a + a.Transpose()) * 0.5;  // exactly symmetric
        KoMatrix v, w;
        ASSERT_EQ(a.Eigen(v, w), NoError);
        ASSERT_EQ(v.RowSize(), n);
        ASSERT_EQ(w.RowSize(), n);
        ASSERT_EQ(w.ColumnSize(), n);
        EXPECT_LT(OrthogonalityError(w), 1e-12);
        for (int i = 0; i < n; ++i) {
            const KoMatrix wi = w.GetColumn(i, i);
            EXPECT_LT(MaxDifference(a * wi, wi * v[i]), 1e-6) << i;
        }
        ExpectSameSpectrum(v, lambda, 1e-9);
        // EigenValues runs the same iteration.
        KoMatrix values;
        ASSERT_EQ(a.EigenValues(values), NoError);
        EXPECT_EQ(values, v);
    }
}

// A non-symmetric matrix similar to an upper-triangular one with real eigenvalues.
TEST(Eigen, RandomNonSymmetricEigenvalues) {
    std::mt19937 rng(99);
    const std::vector<double> chosen = {5.0, -3.0, 2.0, 1.0, 0.5};
    const int n = static_cast<int>(chosen.size());
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    KoMatrix t = KoMatrix::DiagForm(chosen);
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            t(i, j) = dist(rng);
        }
    }
    const KoMatrix p = RandomOrthogonal(n, rng);
    const KoMatrix a = p * t * p.Transpose();
    KoMatrix v, w;
    ASSERT_EQ(a.EigenValues(v), NoError);
    // The stalled lower triangle perturbs non-symmetric eigenvalues to first order.
    ExpectSameSpectrum(v, chosen, 1e-7);
    EXPECT_EQ(a.Eigen(v, w), NotSymmetric);
}

}  // namespace
