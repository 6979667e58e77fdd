// SPDX-License-Identifier: MIT
// Element-wise arithmetic, comparison, extremes, trace and the zero-band clean-up.
#include <kocalvix/matrix.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "matrix_test_support.h"

namespace {

using test_support::Rows;
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

KoMatrix Row(std::vector<double> values) {
    return KoMatrix(Rows{std::move(values)});
}

TEST(MatrixArithmetic, SameShapeOperations) {
    const KoMatrix a(Rows{{1, 2}, {3, 4}});
    const KoMatrix b(Rows{{10, 20}, {30, 40}});
    EXPECT_EQ((a + b).ToVec(), (Rows{{11, 22}, {33, 44}}));
    EXPECT_EQ((b - a).ToVec(), (Rows{{9, 18}, {27, 36}}));
    EXPECT_EQ(a.HadamardProduct(b).ToVec(), (Rows{{10, 40}, {90, 160}}));
    EXPECT_EQ(b.HadamardDivision(a).ToVec(), (Rows{{10, 10}, {10, 10}}));
    KoMatrix c(a);
    c += b;
    c -= a;
    EXPECT_EQ(c, b);
}

TEST(MatrixArithmetic, UnfitShapesFallBackToTheLeftOperand) {
    const KoMatrix a(Rows{{1, 2, 3}, {4, 5, 6}});
    const KoMatrix b(Rows{{1, 2}, {3, 4}, {5, 6}});
    EXPECT_EQ(a + b, a);
    EXPECT_EQ(a - b, a);
    EXPECT_EQ(a.HadamardProduct(b), a);
    EXPECT_EQ(a.HadamardDivision(b), a);
    KoMatrix c(a);
    c += b;
    EXPECT_EQ(c, a);
    c -= b;
    EXPECT_EQ(c, a);
}

TEST(MatrixArithmetic, ScalarOperationsAndPowers) {
    const KoMatrix a = Row({-3, 2, 0});
    EXPECT_EQ((a + 1.0).ToVec(), (Rows{{-2, 3, 1}}));
    EXPECT_EQ((a - 1.0).ToVec(), (Rows{{-4, 1, -1}}));
    EXPECT_EQ((a * 2.0).ToVec(), (Rows{{-6, 4, 0}}));
    EXPECT_EQ((a / 2.0).ToVec(), (Rows{{-1.5, 1, 0}}));
    EXPECT_EQ(a.HadamardPower(2).ToVec(), (Rows{{9, 4, 0}}));
    EXPECT_TRUE(std::isnan(Row({-4}).HadamardPower(0.5).at(0)));
    EXPECT_EQ(Row({4}).HadamardPower(0.5).at(0), 2.0);

    KoMatrix d = Row({1, -1, 0});
    d /= 0.0;
    EXPECT_EQ(d.at(0), kInf);
    EXPECT_EQ(d.at(1), -kInf);
    EXPECT_TRUE(std::isnan(d.at(2)));
    KoMatrix e = Row({1, 2});
    e += 1.0;
    e *= 3.0;
    e -= 0.5;
    EXPECT_EQ(e.ToVec(), (Rows{{5.5, 8.5}}));
    EXPECT_TRUE(std::isinf(Row({1}).HadamardDivision(Row({0})).at(0)));
}

TEST(MatrixComparison, ExactEqualityAndShape) {
    const KoMatrix a(Rows{{1, 2, 3}, {4, 5, 6}});
    const KoMatrix b(Rows{{1, 2}, {3, 4}, {5, 6}});
    EXPECT_TRUE(a == a);
    EXPECT_TRUE(a == KoMatrix(a));
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(a != b);
    EXPECT_TRUE(KoMatrix() == KoMatrix());
    EXPECT_TRUE(Row({0.0}) == Row({-0.0}));
    const KoMatrix n = Row({1, kNaN});
    EXPECT_FALSE(n == KoMatrix(n));
    EXPECT_TRUE(n != n);
    EXPECT_TRUE(a.IsSameDimension(KoMatrix(2, 3)));
    EXPECT_FALSE(a.IsSameDimension(b));
}

TEST(MatrixQueries, ExtremesAndTheirIndices) {
    int index = -5;
    EXPECT_EQ(Row({3, 5, 5}).Max(index), 5.0);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(Row({2, 1, 1}).Min(index), 1.0);
    EXPECT_EQ(index, 1);

    // The value-only forms let NaN and equal elements replace the running value.
    const KoMatrix withNaN = Row({1, kNaN, 0});
    EXPECT_EQ(withNaN.Max(), 0.0);
    EXPECT_EQ(withNaN.Max(index), 1.0);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(withNaN.Min(), 0.0);
    EXPECT_TRUE(std::isnan(Row({kNaN, 1}).Max(index)));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(Row({0.0, -0.0}).Max(), -0.0);
    EXPECT_TRUE(std::signbit(Row({0.0, -0.0}).Max()));

    const KoMatrix empty;
    EXPECT_TRUE(std::isnan(empty.Max()));
    EXPECT_TRUE(std::isnan(empty.Min()));
    EXPECT_TRUE(std::isnan(empty.Max(index)));
    EXPECT_EQ(index, -1);
    index = 3;
    EXPECT_TRUE(std::isnan(KoMatrix(4, 0).Min(index)));
    EXPECT_EQ(index, -1);
}

TEST(MatrixQueries, TraceAndSmallElementToZero) {
    EXPECT_EQ(KoMatrix(Rows{{1, 2}, {3, 4}}).Trace(), 5.0);
    EXPECT_EQ(KoMatrix(Rows{{1, 2, 3}, {4, 5, 6}}).Trace(), 0.0);
    EXPECT_EQ(KoMatrix().Trace(), 0.0);

    KoMatrix m = Row({1e-11, 5e-12, -1e-12, -0.0, kNaN, -1e-11});
    m.SmallElementToZero();
    EXPECT_EQ(m.at(0), 1e-11);
    EXPECT_EQ(m.at(1), 0.0);
    EXPECT_EQ(m.at(2), 0.0);
    EXPECT_FALSE(std::signbit(m.at(3)));
    EXPECT_TRUE(std::isnan(m.at(4)));
    EXPECT_EQ(m.at(5), -1e-11);
}

}  // namespace
