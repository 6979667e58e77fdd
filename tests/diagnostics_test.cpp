// SPDX-License-Identifier: MIT
// KoDiagnostics' promise as properties, on random, rank-deficient, badly scaled and integer
// matrices: a Reliable result answers its question (checked here independently, to 1e-5 of the
// matrix's size), and a result holding a NaN or an infinity, or an error code, is Failed. Both
// kinds of verdict occur. The golden corpus pins every report on its inputs bit for bit.
#include <kocalvix/diagnostics.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

using Report = KoDiagnostics::Report;

double Size(const KoMatrix& a) {
    return a.ElementWiseNorm(2);
}

// True when the verdict keeps the promise: Failed for NaN, infinity or an error code, and a
// Reliable one only when `defect`, measured independently, is below 1e-5.
bool Kept(const Report& r, double defect) {
    const bool broken = r.nanProduced || (r.code != NoError && r.code != NotSquare);
    return broken ? r.verdict == KoDiagnostics::Failed
                  : r.verdict != KoDiagnostics::Reliable || defect <= 1e-5;
}

TEST(Diagnostics, VerdictsKeepTheirPromise) {
    std::mt19937 rng(15);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    int verdicts[3] = {0, 0, 0};
    for (int t = 0; t < 400; ++t) {
        const int m = 1 + t % 6, n = 1 + (t / 6) % 6, rank = t % 3 == 0 ? 1 + t % 2 : 6;
        KoMatrix left(m, std::min(rank, n)), right(std::min(rank, n), n);
        for (KoMatrix* f : {&left, &right}) {
            std::generate(f->begin(), f->end(), [&] { return uniform(rng); });
        }
        const KoMatrix a = left * right * std::pow(10.0, t % 7 - 3);
        const KoMatrix s = a.RowSize() == a.ColumnSize() ? a + a.Transpose() : a * a.Transpose();
        const KoMatrix b = KoMatrix(m, 1) + 1.0;
        SCOPED_TRACE(::testing::Message() << t << ": " << m << "x" << n << " of rank " << rank);
        Report r[6];
        KoMatrix v, w, u, sigma, x, reduced;
        KoDiagnostics::Eigen(s, v, w, r[0]);
        EXPECT_TRUE(
            Kept(r[0], Size(s * w - w * KoMatrix::DiagForm(s.RowSize(), v.data())) / Size(s)));
        KoDiagnostics::SVDDecomposition(a, u, sigma, w, r[1]);
        EXPECT_TRUE(Kept(r[1], Size(a - u * sigma * w.Transpose()) / Size(a)));
        const KoMatrix inverse = KoDiagnostics::Inv(a, r[2]);
        EXPECT_TRUE(Kept(r[2], Size(a * inverse * a - a) / Size(a)));
        const int found = KoDiagnostics::Rank(a, r[3]);
        EXPECT_TRUE(Kept(r[3], found == std::min({m, n, rank}) ? 0.0 : 1.0)) << found;
        KoDiagnostics::GaussElimination(a, b, x, reduced, r[4]);
        EXPECT_TRUE(Kept(r[4], Size(a * x - b) / (Size(a) * Size(x) + Size(b))));
        // Symmetric: the eigenvalues sum to the trace, their squares to the squared size.
        KoDiagnostics::EigenValues(s, v, r[5]);
        double sum = 0.0, squares = 0.0;
        for (double e : v) {
            sum += e, squares += e * e;
        }
        EXPECT_TRUE(Kept(r[5], std::fabs(sum - s.Trace()) / Size(s) +
                                   std::fabs(squares - Size(s) * Size(s)) / (Size(s) * Size(s))));
        for (const Report& e : r) {
            ++verdicts[e.verdict];
        }
    }
    EXPECT_GT(verdicts[KoDiagnostics::Reliable], 100);
    EXPECT_GT(verdicts[KoDiagnostics::Inaccurate] + verdicts[KoDiagnostics::Failed], 100);
    // The 2-norm of integer 3 x 2 matrices against the closed form (the largest eigenvalue of
    // the 2 x 2 matrix A^T A); a tall matrix's norm can be NaN, which must be Failed.
    int nans = 0;
    for (int t = 0; t < 300; ++t) {
        KoMatrix a(3, 2);
        std::generate(a.begin(), a.end(), [&] { return double(int(rng() % 9) - 4); });
        Report r;
        const double norm = KoDiagnostics::MatrixNorm(a, 2, r);
        const KoMatrix g = a.Transpose() * a;
        const double trace = g(0, 0) + g(1, 1), det = g(0, 0) * g(1, 1) - g(0, 1) * g(1, 0);
        const double exact = std::sqrt((trace + std::sqrt(trace * trace - 4.0 * det)) / 2.0);
        nans += std::isnan(norm);
        EXPECT_TRUE(Kept(r, exact == 0.0 ? norm : std::fabs(norm - exact) / exact)) << t;
    }
    EXPECT_GT(nans, 0);
}

}  // namespace
