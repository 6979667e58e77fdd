// SPDX-License-Identifier: MIT
// KoDiagnostics: the results are the members' own bit for bit, the known limits of the
// algorithms are flagged and well-conditioned inputs are reported Reliable.
#include <kocalvix/diagnostics.h>
#include <kocalvix/fixed_matrix.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "matrix_test_support.h"

namespace {

using test_support::RandomMatrix;
using test_support::Rows;
using Report = KoDiagnostics::Report;

std::uint64_t Bits(double x) {
    std::uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

void ExpectSameBits(const KoMatrix& a, const KoMatrix& b) {
    ASSERT_EQ(a.RowSize(), b.RowSize());
    ASSERT_EQ(a.ColumnSize(), b.ColumnSize());
    for (int k = 0; k < a.ElementNum(); ++k) {
        ASSERT_EQ(Bits(a[k]), Bits(b[k])) << "element " << k;
    }
}

// A symmetric positive definite n x n matrix B^T * B + n * I of a random B: well conditioned,
// but its eigenvalues crowd together, which the unshifted iteration separates only slowly.
KoMatrix CrowdedSpd(int n, std::mt19937& rng) {
    const KoMatrix b = RandomMatrix(n, n, rng);
    return b.Transpose() * b + KoMatrix::Identity(n) * static_cast<double>(n);
}

TEST(Diagnostics, ResultsAreTheMembersBitForBit) {
    std::mt19937 rng(15);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Rows, not matrices: Clang warns about a vector of a class with virtual functions and a
    // destructor that is not virtual.
    std::vector<Rows> inputs = {Rows(),
                                Rows{{0, 1}, {1, 0}},
                                Rows{{1, 2}, {3, 4}, {5, 6}},
                                Rows{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}},
                                Rows{{1, nan}, {nan, 1}},
                                Rows{{1e-12, 0}, {0, 1e-12}}};
    for (int m = 1; m <= 5; ++m) {
        for (int n = 1; n <= 5; n += 2) {
            inputs.push_back(RandomMatrix(m, n, rng).ToVec());
        }
    }
    for (const Rows& rows : inputs) {
        const KoMatrix a(rows);
        SCOPED_TRACE(::testing::Message() << a.RowSize() << " x " << a.ColumnSize());
        Report report;
        const KoMatrix symmetric = a.RowSize() == a.ColumnSize() ? a + a.Transpose() : a;
        KoMatrix v1, w1, v2, w2, u1, u2;
        EXPECT_EQ(a.EigenValues(v1), KoDiagnostics::EigenValues(a, v2, report));
        ExpectSameBits(v1, v2);
        EXPECT_EQ(symmetric.Eigen(v1, w1), KoDiagnostics::Eigen(symmetric, v2, w2, report));
        ExpectSameBits(v1, v2);
        ExpectSameBits(w1, w2);
        EXPECT_EQ(a.SVDDecomposition(u1, v1, w1),
                  KoDiagnostics::SVDDecomposition(a, u2, v2, w2, report));
        ExpectSameBits(u1, u2);
        ExpectSameBits(v1, v2);
        ExpectSameBits(w1, w2);
        EXPECT_EQ(a.SubSVDDecomposition(u1, v1, w1),
                  KoDiagnostics::SubSVDDecomposition(a, u2, v2, w2, report));
        ExpectSameBits(u1, u2);
        ExpectSameBits(v1, v2);
        ExpectSameBits(w1, w2);
        ExpectSameBits(a.Inv(), KoDiagnostics::Inv(a, report));
        for (int p : {1, 2, 3}) {
            EXPECT_EQ(Bits(a.MatrixNorm(p)), Bits(KoDiagnostics::MatrixNorm(a, p, report)));
        }
        EXPECT_EQ(a.Rank(), KoDiagnostics::Rank(a, report));
        const KoMatrix rhs = RandomMatrix(a.RowSize(), 1, rng);
        EXPECT_EQ(a.GaussElimination(rhs, u1, v1),
                  KoDiagnostics::GaussElimination(a, rhs, u2, v2, report));
        ExpectSameBits(u1, u2);
        ExpectSameBits(v1, v2);

        // An output that is the input itself: the same bits, and nothing read out of bounds.
        KoMatrix self1 = a, self2 = a;
        EXPECT_EQ(self1.SVDDecomposition(self1, v1, w1),
                  KoDiagnostics::SVDDecomposition(self2, self2, v2, w2, report));
        ExpectSameBits(self1, self2);
        self1 = symmetric;
        self2 = symmetric;
        EXPECT_EQ(self1.Eigen(v1, self1), KoDiagnostics::Eigen(self2, v2, self2, report));
        ExpectSameBits(self1, self2);
        self1 = a;
        self2 = a;
        EXPECT_EQ(self1.GaussElimination(rhs, self1, v1),
                  KoDiagnostics::GaussElimination(self2, rhs, self2, v2, report));
        ExpectSameBits(self1, self2);
    }
}

struct Case {
    const char* what;
    std::function<Report()> run;
};

Report OfEigen(const KoMatrix& a) {
    Report r;
    KoMatrix v, w;
    KoDiagnostics::Eigen(a, v, w, r);
    return r;
}
Report OfEigenValues(const KoMatrix& a) {
    Report r;
    KoMatrix v;
    KoDiagnostics::EigenValues(a, v, r);
    return r;
}
Report OfSVD(const KoMatrix& a) {
    Report r;
    KoMatrix u, s, v;
    KoDiagnostics::SVDDecomposition(a, u, s, v, r);
    return r;
}
Report OfSubSVD(const KoMatrix& a) {
    Report r;
    KoMatrix u, s, v;
    KoDiagnostics::SubSVDDecomposition(a, u, s, v, r);
    return r;
}
Report OfInv(const KoMatrix& a) {
    Report r;
    KoDiagnostics::Inv(a, r);
    return r;
}
Report OfNorm(const KoMatrix& a) {
    Report r;
    KoDiagnostics::MatrixNorm(a, 2, r);
    return r;
}
Report OfRank(const KoMatrix& a) {
    Report r;
    KoDiagnostics::Rank(a, r);
    return r;
}
Report OfSolve(const KoMatrix& a, const KoMatrix& b) {
    Report r;
    KoMatrix x, reduced;
    KoDiagnostics::GaussElimination(a, b, x, reduced, r);
    return r;
}

TEST(Diagnostics, FlagsTheLimitsOfTheAlgorithms) {
    std::mt19937 rng(28);
    const KoMatrix swap(Rows{{0, 1}, {1, 0}});
    const KoMatrix tiny = KoMatrix::Identity(3) * 1e-12;
    const KoMatrix rank2(Rows{{4, 2, 1}, {4, 2, -4}, {8, 4, -3}});  // sigma_3 comes out ~1e-9
    const KoMatrix singular(Rows{{1, 2}, {2, 4}});
    const Case cases[] = {
        {"eigenvalues +-1 never separate", [&] { return OfEigen(swap); }},
        {"eigenvalues +-1, values only", [&] { return OfEigenValues(swap); }},
        {"rotation, eigenvalues +-i",
         [] {
             return OfEigenValues(KoMatrix(Rows{{0, -1}, {1, 0}}));
         }},
        {"crowded SPD eigenvectors", [&] { return OfEigen(CrowdedSpd(12, rng)); }},
        {"crowded SPD 28 x 28 inverse", [&] { return OfInv(CrowdedSpd(28, rng)); }},
        {"2-norm of a tall matrix (NaN)",
         [] {
             return OfNorm(KoMatrix(Rows{{1, 2}, {3, 4}, {5, 6}}));
         }},
        {"2-norm 1 for 3.6056",
         [] {
             return OfNorm(KoMatrix(Rows{{0, -2}, {0, -3}, {-1, 0}}));
         }},
        {"2-norm 0 for 5.0990",
         [] {
             return OfNorm(KoMatrix(Rows{{2, -2}, {-3, 3}, {0, 0}}));
         }},
        {"SVD of a rank-deficient matrix",
         [] {
             return OfSVD(KoMatrix(Rows{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}));
         }},
        {"reduced SVD keeps sigma_3", [&] { return OfSubSVD(rank2); }},
        {"inverse through sigma_3", [&] { return OfInv(rank2); }},
        {"inverse of a singular Matrix3x3",
         [] { return OfInv(Matrix3x3(4, 2, 1, 4, 2, -4, 8, 4, -3)); }},
        {"rank of 1e-12 * I", [&] { return OfRank(tiny); }},
        {"rank of a large singular matrix",
         [] {
             return OfRank(KoMatrix(Rows{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}) * 1e6);
         }},
        {"inverse of 1e-12 * I", [&] { return OfInv(tiny); }},
        {"inconsistent singular system",
         [&] {
             return OfSolve(singular, KoMatrix(Rows{{1}, {3}}));
         }},
        {"consistent singular system",
         [&] {
             return OfSolve(singular, KoMatrix(Rows{{1}, {2}}));
         }},
    };
    for (const Case& c : cases) {
        EXPECT_NE(c.run().verdict, KoDiagnostics::Reliable) << c.what;
    }
    // Where the issue is a NaN or a number that is not a result, the verdict is Failed.
    EXPECT_TRUE(OfNorm(KoMatrix(Rows{{1, 2}, {3, 4}, {5, 6}})).nanProduced);
    for (const Report& r : {OfEigenValues(swap), OfRank(tiny), OfInv(tiny),
                            OfSolve(singular, KoMatrix(Rows{{1}, {3}}))}) {
        EXPECT_EQ(r.verdict, KoDiagnostics::Failed);
    }
    const Report eigen = OfEigen(swap);
    EXPECT_EQ(eigen.iterations, 99);
    EXPECT_FALSE(eigen.converged);

    // Integer 3 x 2 matrices: every NaN norm is Failed, every Reliable one is right (the
    // largest eigenvalue of the 2 x 2 matrix A^T * A in closed form).
    std::uniform_int_distribution<int> digit(-4, 4);
    int nans = 0;
    for (int t = 0; t < 300; ++t) {
        KoMatrix a(3, 2);
        for (int k = 0; k < 6; ++k) {
            a[k] = digit(rng);
        }
        Report r;
        const double norm = KoDiagnostics::MatrixNorm(a, 2, r);
        const KoMatrix g = a.Transpose() * a;
        const double trace = g(0, 0) + g(1, 1);
        const double det = g(0, 0) * g(1, 1) - g(0, 1) * g(1, 0);
        const double exact = std::sqrt((trace + std::sqrt(trace * trace - 4.0 * det)) / 2.0);
        if (std::isnan(norm)) {
            ++nans;
            EXPECT_EQ(r.verdict, KoDiagnostics::Failed);
        }
        if (r.verdict == KoDiagnostics::Reliable) {
            EXPECT_NEAR(norm, exact, 1e-6 * exact);
        }
    }
    EXPECT_GT(nans, 0);
}

TEST(Diagnostics, WellConditionedInputsAreReliable) {
    const KoMatrix symmetric(Rows{{4, 1, 2}, {1, 3, 0}, {2, 0, 5}});
    const KoMatrix square(Rows{{2, 4}, {1, 3}});
    const KoMatrix tall(Rows{{3, 1}, {1, 2}, {0, 1}});
    const KoMatrix wide(Rows{{2, 0, 1, 0}, {1, 3, 0, 1}});
    const Case cases[] = {
        {"eigen 2 x 2",
         [] {
             return OfEigen(KoMatrix(Rows{{2, 1}, {1, 2}}));
         }},
        {"eigen 3 x 3", [&] { return OfEigen(symmetric); }},
        {"eigen diagonal",
         [] {
             return OfEigen(KoMatrix(Rows{{-2, 0}, {0, 3}}));
         }},
        {"eigenvalues triangular",
         [] {
             return OfEigenValues(KoMatrix(Rows{{1, 2}, {0, 3}}));
         }},
        {"eigenvalues 3 x 3", [&] { return OfEigenValues(symmetric); }},
        {"SVD square", [&] { return OfSVD(square); }},
        {"SVD tall", [&] { return OfSVD(tall); }},
        {"SVD wide", [&] { return OfSVD(wide); }},
        {"reduced SVD wide", [&] { return OfSubSVD(wide); }},
        {"inverse square", [&] { return OfInv(square); }},
        {"inverse 3 x 3", [&] { return OfInv(symmetric); }},
        {"pseudo-inverse tall", [&] { return OfInv(tall); }},
        {"inverse of the zero matrix", [] { return OfInv(KoMatrix(2, 3)); }},
        {"2-norm square", [&] { return OfNorm(square); }},
        {"2-norm diagonal",
         [] {
             return OfNorm(KoMatrix(Rows{{3, 0}, {0, -4}}));
         }},
        {"2-norm row",
         [] {
             return OfNorm(KoMatrix(Rows{{3, 4, 12}}));
         }},
        {"rank full", [&] { return OfRank(symmetric); }},
        {"rank exactly 1",
         [] {
             return OfRank(KoMatrix(Rows{{1, 2}, {2, 4}}));
         }},
        {"rank of the empty matrix", [] { return OfRank(KoMatrix()); }},
        {"solve",
         [&] {
             return OfSolve(square, KoMatrix(Rows{{2}, {2}}));
         }},
        {"solve 3 x 3",
         [&] {
             return OfSolve(symmetric, KoMatrix(Rows{{1}, {0}, {-1}}));
         }},
    };
    for (const Case& c : cases) {
        const Report r = c.run();
        EXPECT_EQ(r.verdict, KoDiagnostics::Reliable)
            << c.what << ": residual " << r.residual << ", orthogonality " << r.orthogonality
            << ", kept " << r.smallestKeptRatio;
        EXPECT_FALSE(r.nanProduced) << c.what;
    }
    const Report triangular = OfEigenValues(KoMatrix(Rows{{1, 2}, {0, 3}}));
    EXPECT_EQ(triangular.iterations, 1);
    EXPECT_TRUE(triangular.converged);
}

}  // namespace
