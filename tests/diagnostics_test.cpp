// SPDX-License-Identifier: MIT
// KoDiagnostics: the known limits of the algorithms are flagged and well-conditioned inputs are
// reported Reliable. (The golden corpus pins the results and reports on many more inputs.)
#include <kocalvix/diagnostics.h>

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::vector<double>>;
using Report = KoDiagnostics::Report;
enum Op { kEigen, kEigenValues, kSVD, kSubSVD, kInv, kNorm, kRank, kSolve };

// Runs `op` through KoDiagnostics (the eigen and SVD forms with the matrix itself as an output,
// which must not change what is measured) and returns the report.
Report Diagnose(Op op, const KoMatrix& a, const KoMatrix& b = KoMatrix()) {
    Report r;
    KoMatrix x, y, self(a);
    switch (op) {
        case kEigen:
            return KoDiagnostics::Eigen(self, x, self, r), r;
        case kEigenValues:
            return KoDiagnostics::EigenValues(a, x, r), r;
        case kSVD:
            return KoDiagnostics::SVDDecomposition(self, self, x, y, r), r;
        case kSubSVD:
            return KoDiagnostics::SubSVDDecomposition(self, self, x, y, r), r;
        case kInv:
            return KoDiagnostics::Inv(a, r), r;
        case kNorm:
            return KoDiagnostics::MatrixNorm(a, 2, r), r;
        case kRank:
            return KoDiagnostics::Rank(a, r), r;
        case kSolve:
            return KoDiagnostics::GaussElimination(a, b, x, self, r), r;
    }
    return r;
}

TEST(Diagnostics, VerdictsOnKnownCases) {
    std::mt19937 rng(28);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    KoMatrix crowded12(12, 12), crowded28(28, 28);  // B^T B + n I: crowded eigenvalues
    for (KoMatrix* c : {&crowded12, &crowded28}) {
        for (double& e : *c) {
            e = uniform(rng);
        }
        *c = c->Transpose() * *c + KoMatrix::Identity(c->RowSize()) * double(c->RowSize());
    }
    const KoMatrix swap({{0, 1}, {1, 0}}),
        tiny = KoMatrix::Identity(3) * 1e-12, rank2({{4, 2, 1}, {4, 2, -4}, {8, 4, -3}}),
        singular({{1, 2}, {2, 4}}), symmetric({{4, 1, 2}, {1, 3, 0}, {2, 0, 5}}),
        square({{2, 4}, {1, 3}}), tall({{3, 1}, {1, 2}, {0, 1}}),
        wide({{2, 0, 1, 0}, {1, 3, 0, 1}});
    const int reliable = KoDiagnostics::Reliable, failed = KoDiagnostics::Failed,
              doubtful = -1;  // anything but Reliable
    const struct {
        const char* what;
        Op op;
        KoMatrix a, b;
        int verdict;
    } cases[] = {
        {"eigenvalues +-1 never separate", kEigen, swap, {}, doubtful},
        {"eigenvalues +-1, values only", kEigenValues, swap, {}, failed},
        {"rotation, eigenvalues +-i", kEigenValues, KoMatrix({{0, -1}, {1, 0}}), {}, doubtful},
        {"crowded eigenvectors", kEigen, crowded12, {}, doubtful},
        {"crowded 28 x 28 inverse", kInv, crowded28, {}, doubtful},
        {"2-norm of a tall matrix (NaN)", kNorm, KoMatrix({{1, 2}, {3, 4}, {5, 6}}), {}, failed},
        {"2-norm 1 for 3.6056", kNorm, KoMatrix({{0, -2}, {0, -3}, {-1, 0}}), {}, doubtful},
        {"2-norm 0 for 5.0990", kNorm, KoMatrix({{2, -2}, {-3, 3}, {0, 0}}), {}, doubtful},
        {"SVD, rank deficient", kSVD, KoMatrix({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}), {}, doubtful},
        {"reduced SVD keeps sigma_3", kSubSVD, rank2, {}, doubtful},
        {"inverse through sigma_3", kInv, rank2, {}, doubtful},
        {"rank of 1e-12 * I", kRank, tiny, {}, failed},
        {"rank, large singular",
         kRank,
         KoMatrix({{1e6, 2e6, 3e6}, {4e6, 5e6, 6e6}, {7e6, 8e6, 9e6}}),
         {},
         doubtful},
        {"inverse of 1e-12 * I", kInv, tiny, {}, failed},
        {"inconsistent singular system", kSolve, singular, KoMatrix({{1}, {3}}), failed},
        {"consistent singular system", kSolve, singular, KoMatrix({{1}, {2}}), doubtful},
        {"eigen 2 x 2", kEigen, KoMatrix({{2, 1}, {1, 2}}), {}, reliable},
        {"eigen diagonal", kEigen, KoMatrix({{-2, 0}, {0, 3}}), {}, reliable},
        {"eigenvalues triangular", kEigenValues, KoMatrix({{1, 2}, {0, 3}}), {}, reliable},
        {"SVD square", kSVD, square, {}, reliable},
        {"SVD wide", kSVD, wide, {}, reliable},
        {"reduced SVD wide", kSubSVD, wide, {}, reliable},
        {"inverse square", kInv, square, {}, reliable},
        {"pseudo-inverse tall", kInv, tall, {}, reliable},
        {"inverse of the zero matrix", kInv, KoMatrix(2, 3), {}, reliable},
        {"2-norm square", kNorm, square, {}, reliable},
        {"2-norm row", kNorm, KoMatrix({{3, 4, 12}}), {}, reliable},
        {"rank full", kRank, symmetric, {}, reliable},
        {"rank exactly 1", kRank, singular, {}, reliable},
        {"rank of the empty matrix", kRank, KoMatrix(), {}, reliable},
        {"solve", kSolve, square, KoMatrix({{2}, {2}}), reliable},
    };
    for (const auto& c : cases) {
        const Report r = Diagnose(c.op, c.a, c.b);
        if (c.verdict == doubtful) {
            EXPECT_NE(r.verdict, reliable) << c.what;
        } else {
            EXPECT_EQ(r.verdict, c.verdict) << c.what << ": residual " << r.residual;
            EXPECT_EQ(r.nanProduced, c.what == std::string("2-norm of a tall matrix (NaN)"));
        }
    }
    const Report stalled = Diagnose(kEigen, swap),
                 triangular = Diagnose(kEigenValues, KoMatrix({{1, 2}, {0, 3}}));
    EXPECT_TRUE(stalled.iterations == 99 && !stalled.converged);
    EXPECT_TRUE(triangular.iterations == 1 && triangular.converged);
    // Integer 3 x 2 matrices: every NaN norm is Failed, every Reliable one is right (the largest
    // eigenvalue of the 2 x 2 matrix A^T A in closed form).
    int nans = 0;
    for (int t = 0; t < 300; ++t) {
        KoMatrix a(3, 2);
        for (double& e : a) {
            e = double(int(rng() % 9) - 4);
        }
        Report r;
        const double norm = KoDiagnostics::MatrixNorm(a, 2, r);
        const KoMatrix g = a.Transpose() * a;
        const double trace = g(0, 0) + g(1, 1), det = g(0, 0) * g(1, 1) - g(0, 1) * g(1, 0);
        const double exact = std::sqrt((trace + std::sqrt(trace * trace - 4.0 * det)) / 2.0);
        nans += std::isnan(norm);
        EXPECT_TRUE(!std::isnan(norm) || r.verdict == failed);
        EXPECT_TRUE(r.verdict != reliable || std::fabs(norm - exact) <= 1e-6 * exact) << t;
    }
    EXPECT_GT(nans, 0);
}

}  // namespace
