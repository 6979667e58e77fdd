// SPDX-License-Identifier: MIT
// Matrix3x1 and Matrix3x3 against the general KoMatrix operations as an independent oracle, on
// random values mixed with signed zeros, infinities, NaN, denormals and huge values. Where the
// documented formulas make the same operations, the bits agree; the documented differences are
// listed where they apply:
// - a fixed-size product sums (a0 b0 + a1 b1) + a2 b2, the general one starts from +0.0, so an
//   all-zero sum may be -0.0 in the first and is +0.0 in the second;
// - Max() and Min() without an index use strict comparisons, the general ones replace on NaN
//   and on equal elements: compared through the index forms only;
// - Det (rule of Sarrus) is another algorithm than elimination: compared within rounding; Inv
//   (the adjugate) is checked as A * Inv(A) = I on well-conditioned inputs, and a zero
//   determinant takes the general inverse bit for bit.
#include <kocalvix/fixed_matrix.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

// Same bits, NaN payloads aside; with `zeroSign`, +0.0 and -0.0 also match.
bool Same(const KoMatrix& a, const KoMatrix& b, bool zeroSign = false) {
    if (a.RowSize() != b.RowSize() || a.ColumnSize() != b.ColumnSize()) {
        return false;
    }
    for (int k = 0; k < a.ElementNum(); ++k) {
        const double x = a.at(k), y = b.at(k);
        if (std::memcmp(&x, &y, sizeof x) != 0 && !(std::isnan(x) && std::isnan(y)) &&
            !(zeroSign && x == 0.0 && y == 0.0)) {
            return false;
        }
    }
    return true;
}

double Pick(std::mt19937_64& rng, bool special) {
    static const double kSpecial[] = {0.0,       -0.0, 1.0,   -2.5,      INFINITY,
                                      -INFINITY, NAN,  1e300, -4.9e-324, 3e-310};
    return special && rng() % 4 == 0 ? kSpecial[rng() % 10]
                                     : std::uniform_real_distribution<double>(-10, 10)(rng);
}

TEST(FixedSizeOracle, MatchesTheGeneralOperations) {
    std::mt19937_64 rng(2024);
    for (int round = 0; round < 3000; ++round) {
        const bool special = round % 2 == 0;
        double v[24];
        std::generate(v, v + 24, [&] { return Pick(rng, special); });
        Matrix3x3 a(v), b(v + 9);
        Matrix3x1 x(v[18], v[19], v[20]), y(v[21], v[22], v[23]);
        const KoMatrix ga(a), gb(b), gx(x), gy(y);  // general copies
        const double s = v[round % 24];
        SCOPED_TRACE(round);
        // Element-wise: the same bits.
        EXPECT_TRUE(Same(a + b, ga + gb) && Same(a - b, ga - gb) && Same(x + y, gx + gy) &&
                    Same(x - y, gx - gy));
        EXPECT_TRUE(Same(a + s, ga + s) && Same(a - s, ga - s) && Same(a * s, ga * s) &&
                    Same(a / s, ga / s) && Same(x + s, gx + s) && Same(x - s, gx - s) &&
                    Same(x * s, gx * s) && Same(x / s, gx / s));
        EXPECT_TRUE(Same(a.HadamardProduct(b), ga.HadamardProduct(gb)) &&
                    Same(a.HadamardDivision(b), ga.HadamardDivision(gb)) &&
                    Same(x.HadamardProduct(y), gx.HadamardProduct(gy)) &&
                    Same(x.HadamardDivision(y), gx.HadamardDivision(gy)));
        for (double p : {2.0, 0.5, 1.0, 3.0}) {
            EXPECT_TRUE(Same(a.HadamardPower(p), ga.HadamardPower(p)) &&
                        Same(x.HadamardPower(int(p)), gx.HadamardPower(int(p))));
        }
        Matrix3x3 t(a);
        Matrix3x1 z(x);
        t += b, t -= s, t *= s, t /= s, z += y, z -= s, z *= s, z /= s;
        EXPECT_TRUE(Same(t, ((ga + gb) - s) * s / s) && Same(z, ((gx + gy) - s) * s / s));
        // Comparison, extremes with their index, transpose.
        EXPECT_TRUE((a == b) == (ga == gb) && (x != y) == (gx != gy) && (a == a) == (ga == ga));
        int i = -1, j = -1;
        EXPECT_TRUE(Same(KoMatrix({{a.Max(i), double(i)}}), KoMatrix({{ga.Max(j), double(j)}})));
        EXPECT_TRUE(Same(KoMatrix({{x.Min(i), double(i)}}), KoMatrix({{gx.Min(j), double(j)}})));
        EXPECT_TRUE(Same(a.Transpose(), ga.Transpose()));
        // Products and powers: the same bits but for the sign of an all-zero sum.
        EXPECT_TRUE(Same(a * b, ga * gb, true) && Same(a * x, ga * gx, true));
        t = a;
        t *= t;
        EXPECT_TRUE(Same(t, ga * ga, true) && Same(a ^ 3, ga * ga * ga, true));
        EXPECT_TRUE(Same(a ^ 1, ga) && Same(a ^ 0, ga) && Same(a * gb, ga * gb));
        // Statistics, rounding: within rounding of the general forms, or the C library's round.
        if (!special) {
            EXPECT_NEAR(a.RMSE(b), (ga - gb).ElementWiseNorm(2) / 3.0, 1e-13 * a.RMSE(b));
            EXPECT_NEAR(x.RMSE(y), (gx - gy).ElementWiseNorm(2) / std::sqrt(3.0), 1e-13 * 20);
            EXPECT_NEAR(a.Det(), ga.Det(), 1e-12 * 1000);
            const int digits = round % 4;
            const Matrix3x3 rounded = a.Rounding(digits);
            for (int k = 0; k < 9; ++k) {
                const double scale = std::pow(10.0, digits);
                EXPECT_EQ(rounded.at(k), std::round(a.at(k) * scale) / scale) << k;
            }
            if (std::fabs(a.Det()) > 1.0) {
                EXPECT_LT(((a * a.Inv()) - Matrix3x3::Identity()).ElementWiseInfiniteNorm(), 1e-11);
            }
        }
    }
    // A zero determinant takes the general (pseudo-)inverse.
    const Matrix3x3 singular(1, 2, 3, 4, 5, 6, 7, 8, 9);
    ASSERT_EQ(singular.Det(), 0.0);
    EXPECT_TRUE(Same(singular.Inv(), KoMatrix(singular).Inv()));
}

}  // namespace
