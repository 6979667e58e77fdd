// SPDX-License-Identifier: MIT
// What the results mean, checked independently on random inputs where the golden corpus pins
// their exact bits on its own inputs:
// - each factorization, by one checker over many shapes: the factors reproduce the matrix, the
//   outer factors have orthonormal columns, the middle factor has its form; the SVD's singular
//   values are ordered and the pseudo-inverse meets the Penrose conditions;
// - KoDiagnostics' promise, on random, rank-deficient, badly scaled and integer matrices: a
//   Reliable result answers its question (eigenpairs, SVD, inverse, rank, solution, eigenvalues,
//   to 1e-5 of the matrix's size), and a result holding a NaN or an infinity, or an error code, is
//   Failed; both kinds of verdict occur;
// - the overlap area of two triangles against an independent Sutherland-Hodgman clipping;
// - Matrix3x1 and Matrix3x3 against the general KoMatrix operations.
#include <kocalvix/diagnostics.h>
#include <kocalvix/fixed_matrix.h>
#include <kocalvix/geometry.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "support/public_operations.h"

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
        // the pseudo-inverse meets the Penrose conditions.
        const int p = std::min(rows, cols);
        KoMatrix u, s, v, ru, rs, rv;
        ASSERT_EQ(a.SVDDecomposition(u, s, v), NoError);
        ASSERT_EQ(a.SubSVDDecomposition(ru, rs, rv), NoError);
        for (int k = 0; k < p; ++k) {
            EXPECT_GE(s(k, k), k + 1 < p ? s(k + 1, k + 1) : 0.0);
        }
        EXPECT_EQ(ru, u.GetColumn(0, p - 1));
        EXPECT_EQ(rv, v.GetColumn(0, p - 1));
        const KoMatrix x = a.Inv();
        EXPECT_LT(Gap(a * x * a, a), 1e-5);
        EXPECT_LT(Gap(x * a * x, x), 1e-5);
    }
}

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
    int verdicts[3] = {0, 0, 0};
    for (int t = 0; t < 400; ++t) {
        const int m = 1 + t % 6, n = 1 + (t / 6) % 6, rank = t % 3 == 0 ? 1 + t % 2 : 6;
        const KoMatrix left = Random(m, std::min(rank, n), rng),
                       right = Random(std::min(rank, n), n, rng);
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
}

struct P {
    double x, y;
};

double Cross(const P& o, const P& a, const P& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

double SignedArea(const std::vector<P>& v) {
    double s = 0.0;
    for (size_t i = 0; i < v.size(); ++i) {
        s += v[i].x * v[(i + 1) % v.size()].y - v[i].y * v[(i + 1) % v.size()].x;
    }
    return 0.5 * s;
}

// The part of `subject` inside the convex counter-clockwise polygon `clip`.
std::vector<P> Clip(std::vector<P> subject, const std::vector<P>& clip) {
    for (size_t e = 0; e < clip.size() && !subject.empty(); ++e) {
        const P &e0 = clip[e], &e1 = clip[(e + 1) % clip.size()];
        std::vector<P> input;
        input.swap(subject);
        for (size_t k = 0; k < input.size(); ++k) {
            const P &cur = input[k], &prev = input[(k + input.size() - 1) % input.size()];
            const double sc = Cross(e0, e1, cur), sp = Cross(e0, e1, prev);
            if ((sc >= 0) != (sp >= 0)) {
                const double t = sp / (sp - sc);
                subject.push_back(P{prev.x + t * (cur.x - prev.x), prev.y + t * (cur.y - prev.y)});
            }
            if (sc >= 0) {
                subject.push_back(cur);
            }
        }
    }
    return subject;
}

TEST(Geometry, CoverageAreaMatchesClippingOnRandomPairs) {
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    int compared = 0, overlapping = 0;
    for (int pair = 0; pair < 4000; ++pair) {
        const double scale = pair % 3 == 0 ? 1.0 : pair % 3 == 1 ? 1000.0 : 0.001;
        double m = 0.0;  // the largest coordinate magnitude
        std::vector<P> a(3), b(3);
        for (P& p : a) {
            p = P{unit(rng) * scale, unit(rng) * scale};
        }
        for (P& p : b) {
            p = P{unit(rng) * scale * 0.8, unit(rng) * scale * 0.8};
        }
        for (const P& p : {a[0], a[1], a[2], b[0], b[1], b[2]}) {
            m = std::max({m, std::fabs(p.x), std::fabs(p.y)});
        }
        if (std::fabs(SignedArea(a)) < 1e-3 * m * m || std::fabs(SignedArea(b)) < 1e-3 * m * m) {
            continue;  // slivers: the corpus's exact edge cases cover them
        }
        ++compared;
        KoTriangle ta(a[0].x, a[0].y, a[1].x, a[1].y, a[2].x, a[2].y);
        KoTriangle tb(b[0].x, b[0].y, b[1].x, b[1].y, b[2].x, b[2].y);
        if (SignedArea(b) < 0) {
            std::reverse(b.begin(), b.end());
        }
        const double expected = std::fabs(SignedArea(Clip(a, b)));
        overlapping += expected > 1e-3 * m * m;
        const double tolerance = 64.0 * m * m * std::ldexp(1.0, -52);
        ASSERT_NEAR(ta.CoverageArea(tb), expected, tolerance) << "pair " << pair;
        ASSERT_NEAR(tb.CoverageArea(ta), expected, tolerance) << "pair " << pair;
    }
    EXPECT_GT(compared, 2000);
    EXPECT_GT(overlapping, compared / 4);
    KoTriangle up(0, 0, 6, 0, 3, 6), down(0, 4, 6, 4, 3, -2);  // the six-pointed star's hexagon
    EXPECT_EQ(up.CoverageArea(down), 12.0);
    KoPolygon overlap = up.CalculatePolygonvertex(down);
    EXPECT_EQ(overlap.SortVertice().Area(), 12.0);
}

// The general operations as the oracle of the fixed-size ones, on random values mixed with signed
// zeros, infinities, NaN, huge values and denormals: one generic run on either kind of operand
// gives the same digest. The documented differences: a fixed-size product sums
// (a0 b0 + a1 b1) + a2 b2 where the general one starts from +0.0, so an all-zero sum may differ
// in its sign (products enter as x + 0.0); Det (rule of Sarrus) and Inv (adjugate) are other
// algorithms than the general ones, and RMSE another formula: compared within rounding.
TEST(FixedSizeOracle, MatchesTheGeneralOperations) {
    test_support::Generator g(2024);
    const double special[] = {0.0, -0.0, INFINITY, -INFINITY, NAN, 1e300, test_support::kDenormal};
    for (int round = 0; round < 2000; ++round) {
        double v[24];
        for (double& e : v) {
            e = round % 2 == 1 && g.Next() % 4 == 0 ? special[g.Next() % 7] : 10 * g.Uniform();
        }
        Matrix3x3 a(v), b(v + 9);
        Matrix3x1 x(v[18], v[19], v[20]), y(v[21], v[22], v[23]);
        KoMatrix ga(a), gb(b), gx(x), gy(y);
        const double s = v[round % 24];
        const auto run = [s](auto& A, auto& B, auto& X, auto& Y) {
            test_support::Digest d;
            int i = -1, j = -1;
            d << (A + B) << (A - B) << (A + s) << (A - s) << (A * s) << (A / s) << (X - Y)
              << A.HadamardProduct(B) << A.HadamardDivision(B) << X.HadamardDivision(Y) << (X / s)
              << A.Transpose() << (A == B) << (A != A) << (X != Y) << A.Max(i) << i << X.Min(j) << j
              << (A * B + 0.0) << (A * X + 0.0) << (A * B * B + 0.0);
            for (double p : {2.0, 0.5, 1.0, 3.0}) {
                d << A.HadamardPower(p) << X.HadamardPower(p);
            }
            auto t = A;
            t += B, t -= s, t *= s, t /= s, t *= A;
            return (d << (t + 0.0)).Value();
        };
        ASSERT_EQ(run(a, b, x, y), run(ga, gb, gx, gy)) << "round " << round;
        if (round % 2 == 0) {
            EXPECT_NEAR(a.RMSE(b), (ga - gb).ElementWiseNorm(2) / 3.0, 1e-14 * a.RMSE(b));
            EXPECT_NEAR(a.Det(), ga.Det(), 1e-12 * 1000);
            if (std::fabs(a.Det()) > 1.0) {
                EXPECT_LT(Gap(a * a.Inv(), KoMatrix::Identity(3)), 1e-11);
            }
        }
    }
    const Matrix3x3 singular(1, 2, 3, 4, 5, 6, 7, 8, 9);  // takes the general pseudo-inverse
    EXPECT_EQ(Gap(singular.Inv(), KoMatrix(singular).Inv()), 0.0);
}

}  // namespace
