// SPDX-License-Identifier: MIT
// Element-wise norms (largest absolute element, p-norm, largest absolute row sum) and the rank
// test, seen through the Gram-Schmidt QR, which refuses a matrix that fails it.
#include <kocalvix/matrix.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "matrix_test_support.h"

namespace {

using test_support::Rows;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Norm, ElementWiseAndRowSumNorms) {
    const KoMatrix a(Rows{{1, -2}, {3, 4}});
    EXPECT_EQ(a.ElementWiseInfiniteNorm(), 4.0);
    EXPECT_EQ(a.ElementWiseNorm(1), 10.0);
    EXPECT_EQ(a.ElementWiseNorm(2), std::sqrt(30.0));
    EXPECT_EQ(a.MatrixInfiniteNorm(), 7.0);

    // The p-norm sums pow(|x|, p) in row-major order and takes pow(sum, 1.0 / p).
    const KoMatrix b(Rows{{2, -4}});
    EXPECT_EQ(b.ElementWiseNorm(3), std::pow(std::pow(2.0, 3.0) + std::pow(4.0, 3.0), 1.0 / 3));
    EXPECT_EQ(b.ElementWiseNorm(-1), std::pow(0.5 + 0.25, -1.0));
    // p = 0: every term is 1 and the final exponent is +infinity.
    EXPECT_EQ(b.ElementWiseNorm(0), std::numeric_limits<double>::infinity());
    EXPECT_EQ(KoMatrix(Rows{{2}}).ElementWiseNorm(0), 1.0);

    // The row sum is over absolute values; the largest row wins wherever it is.
    EXPECT_EQ(KoMatrix(Rows{{-5, -5}, {1, 2}, {3, -3}}).MatrixInfiniteNorm(), 10.0);
    EXPECT_EQ(KoMatrix(Rows{{1}, {-9}, {2}}).MatrixInfiniteNorm(), 9.0);
}

// The exponents 2.0, 0.5 and 1.0 are correctly rounded on every platform: x * x, sqrt(x) and x.
// The values are ones where a C library's pow is off by one unit in the last place, so a call
// that reaches the C library shows here.
TEST(Norm, PowerIsExactForTheCommonExponents) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const std::vector<double> squared = {0x1.a0b26af381c72p+0,
                                         0x1.f2f2d28920568p-1,
                                         0x1.f15e192416235p-1,
                                         -0.0,
                                         -kInf,
                                         1e200,
                                         1e-200};
    const std::vector<double> rooted = {0x1.cffcd8bab88b7p-1,
                                        0x1.aaff9cf235d8p+0,
                                        0x1.5c00f5de90a52p+0,
                                        0.0,
                                        -0.0,
                                        kInf,
                                        -kInf,
                                        -1.0};
    const KoMatrix x(Rows{squared}), r(Rows{rooted});
    const KoMatrix x2 = x.HadamardPower(2), r2 = r.HadamardPower(0.5), x1 = x.HadamardPower(1);
    for (int k = 0; k < x.ElementNum(); ++k) {
        EXPECT_EQ(x2.at(k), squared[k] * squared[k]) << k;
        EXPECT_TRUE(std::signbit(x2.at(k)) == false) << k;
        EXPECT_EQ(x1.at(k), squared[k]) << k;
        EXPECT_EQ(KoMatrix(Rows{{squared[k]}}).ElementWiseNorm(2),
                  std::sqrt(squared[k] * squared[k]))
            << k;
    }
    const std::vector<double> roots = {std::sqrt(rooted[0]),
                                       std::sqrt(rooted[1]),
                                       std::sqrt(rooted[2]),
                                       0.0,
                                       0.0,
                                       kInf,
                                       kInf,
                                       kNaN};
    for (int k = 0; k < r.ElementNum(); ++k) {
        if (std::isnan(roots[k])) {
            EXPECT_TRUE(std::isnan(r2.at(k)));
        } else {
            EXPECT_EQ(r2.at(k), roots[k]) << k;
            EXPECT_FALSE(std::signbit(r2.at(k))) << k;
        }
    }
    // The 2-norm of a row: the squares summed in order, then one correctly rounded root.
    EXPECT_EQ(KoMatrix(Rows{{squared[0], squared[1]}}).ElementWiseNorm(2),
              std::sqrt(squared[0] * squared[0] + squared[1] * squared[1]));
}

TEST(Norm, MatricesWithoutElements) {
    for (const KoMatrix& empty : {KoMatrix(), KoMatrix(3, 0), KoMatrix(0, 4)}) {
        EXPECT_EQ(empty.ElementWiseInfiniteNorm(), 0.0);
        EXPECT_EQ(empty.MatrixInfiniteNorm(), 0.0);
        EXPECT_EQ(empty.ElementWiseNorm(1), 0.0);
        EXPECT_EQ(empty.ElementWiseNorm(2), 0.0);
        EXPECT_EQ(empty.ElementWiseNorm(0), 0.0);  // pow(0.0, +infinity)
    }
}

TEST(Norm, RunningMaximumTakesNaNUntilTheNextCandidate) {
    // A NaN candidate replaces the running value; the next candidate replaces the NaN.
    EXPECT_EQ(KoMatrix(Rows{{kNaN, 1}}).ElementWiseInfiniteNorm(), 1.0);
    EXPECT_TRUE(std::isnan(KoMatrix(Rows{{1, kNaN}}).ElementWiseInfiniteNorm()));
    EXPECT_EQ(KoMatrix(Rows{{kNaN, 1}, {2, 0}}).MatrixInfiniteNorm(), 2.0);
    EXPECT_TRUE(std::isnan(KoMatrix(Rows{{5, 1}, {kNaN, 0}}).MatrixInfiniteNorm()));
    EXPECT_TRUE(std::isnan(KoMatrix(Rows{{kNaN, 1}}).ElementWiseNorm(2)));
    // Infinities are ordinary candidates.
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(KoMatrix(Rows{{-inf, 1}}).ElementWiseInfiniteNorm(), inf);
    EXPECT_EQ(KoMatrix(Rows{{-inf, 1}}).ElementWiseNorm(2), inf);
}

// The rank test is observable as the Gram-Schmidt QR's SingularMatrix refusal, which leaves the
// outputs untouched.
bool FailsRankTest(const KoMatrix& a) {
    KoMatrix q(Rows{{42}});
    KoMatrix r(Rows{{43}});
    const KoMatrixError code = a.QRDecomposition(q, r, KoMatrix::GramSchmidt);
    if (code == SingularMatrix) {
        EXPECT_EQ(q.ToVec(), (Rows{{42}}));
        EXPECT_EQ(r.ToVec(), (Rows{{43}}));
    } else {
        EXPECT_EQ(code, NoError);
    }
    return code == SingularMatrix;
}

TEST(Norm, RankTest) {
    EXPECT_TRUE(FailsRankTest(KoMatrix()));  // 0 x 0
    EXPECT_TRUE(FailsRankTest(KoMatrix(Rows{{0}})));
    EXPECT_TRUE(FailsRankTest(KoMatrix(Rows{{1, 2}, {2, 4}})));
    EXPECT_TRUE(FailsRankTest(KoMatrix(Rows{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}})));
    EXPECT_TRUE(FailsRankTest(KoMatrix(Rows{{0, 0}, {0, 1}})));
    EXPECT_FALSE(FailsRankTest(KoMatrix(Rows{{3}})));
    EXPECT_FALSE(FailsRankTest(KoMatrix(Rows{{0, 1}, {1, 0}})));
    EXPECT_FALSE(FailsRankTest(KoMatrix(Rows{{2, 1, 0}, {1, 2, 1}, {0, 1, 2}})));

    // Singular as the elimination sees it: an element inside the zero band is zero.
    EXPECT_TRUE(FailsRankTest(KoMatrix(Rows{{1e-12, 0}, {0, 1}})));
    EXPECT_TRUE(FailsRankTest(KoMatrix(Rows{{1e-11, 0}, {0, 1}})));
    EXPECT_FALSE(FailsRankTest(KoMatrix(Rows{{2e-11, 0}, {0, 1}})));
    EXPECT_TRUE(FailsRankTest(KoMatrix(Rows{{kNaN, 0}, {0, 1}})));

    // Never for a matrix that is not square, whatever its content.
    EXPECT_FALSE(FailsRankTest(KoMatrix(2, 3)));
    EXPECT_FALSE(FailsRankTest(KoMatrix(Rows{{1, 2}, {2, 4}, {3, 6}})));
    EXPECT_FALSE(FailsRankTest(KoMatrix(3, 0)));
    EXPECT_FALSE(FailsRankTest(KoMatrix(0, 3)));
}

}  // namespace
