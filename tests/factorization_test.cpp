// SPDX-License-Identifier: MIT
// What each factorization means, checked by one checker on random matrices of many shapes: the
// factors reproduce the matrix, the outer factors have orthonormal columns, the middle factor
// has its form; and the solver, rank, determinant, inverse and eigenpairs do what they say. The
// golden corpus pins the exact bits of all of these; these checks say the bits are right ones.
#include <kocalvix/matrix.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

KoMatrix Random(int rows, int cols, std::mt19937& rng) {
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    KoMatrix m(rows, cols);
    for (double& x : m) {
        x = uniform(rng);
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
            largest = j - i < lo || j - i > hi ? std::max(largest, std::fabs(m(i, j))) : largest;
        }
    }
    return largest;
}

// A factorization L * M * R (R transposed where `transposeR`; a QR's R is the identity), L and R
// with orthonormal columns to `orthogonality`, M zero outside the band lo .. hi (a QR's R only in
// the columns its steps reduce) and with a non-negative diagonal where the steps made it (where
// `signs`).
struct Factorization {
    const char* name;
    bool transposeR, signs;
    double orthogonality;
    int lo, hi;
    int (*steps)(int rows, int cols);
};

int All(int, int cols) {
    return cols;
}
int QRSteps(int rows, int cols) {  // a wide matrix needs no step on its last row
    return rows >= cols ? cols : rows - 1;
}
int LeftSteps(int rows, int cols) {  // the left steps of BiDiagonalize
    return std::min(rows - 1, cols);
}

// V itself is BiDiagonalize's right factor, not its transpose. The eigenvectors behind the
// SVD's factors stall near 1e-8, so their orthogonality is only about that good.
const Factorization kFactorizations[] = {
    {"GramSchmidt", false, true, 1e-13, 0, 1 << 20, All},
    {"Householder", false, true, 1e-13, 0, 1 << 20, QRSteps},
    {"Givens", false, false, 1e-13, 0, 1 << 20, QRSteps},
    {"BiDiagonalize", false, true, 1e-14, 0, 1, LeftSteps},
    {"SVDDecomposition", true, true, 1e-4, 0, 0, All},
    {"SubSVDDecomposition", true, true, 1e-4, 0, 0, All},
};

// Factorization `which` of kFactorizations.
KoMatrixError Factor(int which, const KoMatrix& a, KoMatrix& l, KoMatrix& m, KoMatrix& r) {
    r = KoMatrix::Identity(a.ColumnSize());
    switch (which) {
        case 3:
            return a.BiDiagonalize(l, m, r);
        case 4:
            return a.SVDDecomposition(l, m, r);
        case 5:
            return a.SubSVDDecomposition(l, m, r);
        default:
            return a.QRDecomposition(l, m, static_cast<KoMatrix::QRMethod>(which));
    }
}

TEST(Factorizations, EveryFactorizationOnEveryShape) {
    std::mt19937 rng(20240611);
    const int shapes[][2] = {{1, 1}, {2, 2}, {4, 4}, {7, 7}, {5, 3}, {6, 1},
                             {3, 5}, {2, 6}, {1, 4}, {8, 5}, {4, 2}};
    for (const auto& [rows, cols] : shapes) {
        const KoMatrix a = Random(rows, cols, rng);
        for (int which = 0; which < 6; ++which) {
            const Factorization& f = kFactorizations[which];
            SCOPED_TRACE(::testing::Message() << f.name << " of " << rows << "x" << cols);
            KoMatrix l, m, r;
            ASSERT_EQ(Factor(which, a, l, m, r), NoError);
            const bool dependent = which == 0 && rows < cols;
            EXPECT_LT(Gap(l * m * (f.transposeR ? r.Transpose() : r), a),
                      dependent ? 1e-11 : 1e-12);
            if (dependent) {
                continue;  // Gram-Schmidt: the later columns are dependent, only residuals drop
            }
            EXPECT_LT(OrthogonalityGap(l), f.orthogonality);
            EXPECT_LT(OrthogonalityGap(r), f.orthogonality);
            const int steps = std::min(f.steps(rows, cols), cols);
            EXPECT_LT(OutsideBand(m, f.lo, f.hi, f.hi > 1 ? steps : cols), 1e-13);
            for (int k = 0; f.signs && k < std::min(steps, m.RowSize()); ++k) {
                EXPECT_GE(m(k, k), 0.0) << k;
            }
        }
        // The SVD's singular values come largest first; the reduced form is the full one cut;
        // the pseudo-inverse is the product of the reduced factors, singular values inverted.
        const int p = std::min(rows, cols);
        KoMatrix u, s, v, ru, rs, rv;
        ASSERT_EQ(a.SVDDecomposition(u, s, v), NoError);
        ASSERT_EQ(a.SubSVDDecomposition(ru, rs, rv), NoError);
        std::vector<double> inverted(static_cast<size_t>(p));
        for (int k = 0; k < p; ++k) {
            EXPECT_GE(s(k, k), k + 1 < p ? s(k + 1, k + 1) : 0.0);
            inverted[k] = std::fabs(rs(k, k)) > 1e-11 ? 1.0 / rs(k, k) : 0.0;
        }
        EXPECT_EQ(ru, u.GetColumn(0, p - 1));
        EXPECT_EQ(rv, v.GetColumn(0, p - 1));
        const KoMatrix x = a.Inv();
        EXPECT_EQ(x, (rv * KoMatrix::DiagForm(inverted).Transpose()) * ru.Transpose());
        EXPECT_LT(Gap(a * x * a, a), 1e-5);
        EXPECT_LT(Gap(x * a * x, x), 1e-5);
    }
    // A dependent column: Gram-Schmidt keeps a zero column in Q, the others orthonormal.
    const KoMatrix thin = Random(5, 2, rng) * Random(2, 3, rng);
    KoMatrix q, r;
    ASSERT_EQ(thin.QRDecomposition(q, r, KoMatrix::GramSchmidt), NoError);
    EXPECT_EQ(q.GetColumn(2, 2), KoMatrix(5, 1));
    EXPECT_LT(OrthogonalityGap(q.GetColumn(0, 1)), 1e-13);
    EXPECT_LT(Gap(q * r, thin), 1e-13);
}

TEST(Factorizations, EigenpairsOfSymmetricMatrices) {
    std::mt19937 rng(12345);
    const std::vector<double> chosen = {6.0, -4.0, 2.5, 1.5, -0.8, 0.3};
    for (int n = 1; n <= 6; ++n) {
        std::vector<double> lambda(chosen.begin(), chosen.begin() + n);
        KoMatrix p, r, values, vectors, alone;
        ASSERT_EQ(Random(n, n, rng).QRDecomposition(p, r, KoMatrix::Householder), NoError);
        KoMatrix a = p * KoMatrix::DiagForm(lambda) * p.Transpose();
        a = (a + a.Transpose()) * 0.5;
        ASSERT_EQ(a.Eigen(values, vectors), NoError);
        ASSERT_EQ(a.EigenValues(alone), NoError);
        EXPECT_EQ(alone, values);
        EXPECT_LT(OrthogonalityGap(vectors), 1e-12);
        EXPECT_LT(Gap(a * vectors, vectors * KoMatrix::DiagForm(n, values.data())), 1e-6);
        std::vector<double> found(values.begin(), values.end());
        std::sort(found.begin(), found.end());
        std::sort(lambda.begin(), lambda.end());
        for (int k = 0; k < n; ++k) {
            EXPECT_NEAR(found[k], lambda[k], 1e-9) << n;
        }
    }
}

TEST(Factorizations, EliminationSolvesRanksAndMultipliesDeterminants) {
    std::mt19937 rng(11);
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(n);
        const KoMatrix a = Random(n, n, rng), b = Random(n, n, rng), want = Random(n, 1, rng);
        KoMatrix x, reduced, echelon, basis;
        ASSERT_EQ(a.GaussElimination(a * want, x, reduced), NoError);
        EXPECT_LT(Gap(x, want), 1e-9);
        ASSERT_EQ(a.GaussElimination(echelon), NoError);
        EXPECT_EQ(reduced, echelon);
        EXPECT_LT(OutsideBand(echelon, 0, n, n), 1e-12);
        EXPECT_NEAR((a * b).Det(), a.Det() * b.Det(), 1e-10);
        EXPECT_EQ(a.Rank(), n);
        const KoMatrix thin = Random(n + 2, 2, rng) * Random(2, n + 1, rng);
        EXPECT_EQ(thin.Rank(basis), std::min(n + 1, 2));
        EXPECT_EQ(basis.ColumnSize(), std::min(n + 1, 2));
    }
}

}  // namespace
