// SPDX-License-Identifier: MIT
// Matrix3x1: construction, exact comparison, extremes with their tie and NaN rules, the
// element-wise operators, RMSE, rounding half away from zero, and objects reshaped through a
// KoMatrix reference.
#include <kocalvix/fixed_matrix.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

void ExpectElements(const KoMatrix& m, double e0, double e1, double e2) {
    ASSERT_EQ(m.RowSize(), 3);
    ASSERT_EQ(m.ColumnSize(), 1);
    EXPECT_EQ(m.at(0), e0);
    EXPECT_EQ(m.at(1), e1);
    EXPECT_EQ(m.at(2), e2);
}

TEST(Matrix3x1, ConstructionAndComparison) {
    ExpectElements(Matrix3x1(), 0.0, 0.0, 0.0);
    std::vector<double> longer{1, 2, 3, 4}, shorter{7}, empty;
    ExpectElements(Matrix3x1(longer), 1, 2, 3);
    EXPECT_EQ(longer, (std::vector<double>{1, 2, 3, 4}));
    ExpectElements(Matrix3x1(shorter), 7, 0, 0);
    ExpectElements(Matrix3x1(empty), 0, 0, 0);

    const Matrix3x1 a(1.5, -2.0, 3.0);
    ExpectElements(a, 1.5, -2.0, 3.0);
    Matrix3x1 copy(a);
    copy.at(0) = 9;
    EXPECT_EQ(a.at(0), 1.5);
    // Assignment copies into the existing buffer, also from itself.
    const double* buffer = &copy.at(0);
    copy = a;
    EXPECT_EQ(&copy.at(0), buffer);
    const Matrix3x1& self = copy;
    copy = self;
    ExpectElements(copy, 1.5, -2.0, 3.0);

    // Exact comparison: one ulp apart differs, signed zeros agree, NaN is unequal to itself.
    EXPECT_TRUE(a == copy);
    EXPECT_FALSE(a != copy);
    EXPECT_FALSE(a == Matrix3x1(1.5, -2.0, std::nextafter(3.0, 4.0)));
    EXPECT_TRUE(a != Matrix3x1(0, -2.0, 3.0));
    EXPECT_TRUE(Matrix3x1(0.0, 0, 0) == Matrix3x1(-0.0, 0, 0));
    const Matrix3x1 n(1, kNaN, 3);
    EXPECT_FALSE(n == n);
    EXPECT_TRUE(n != n);
}

TEST(Matrix3x1, ExtremesAndTies) {
    int index = -1;
    EXPECT_EQ(Matrix3x1(2, 5, 5).Max(index), 5.0);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(Matrix3x1(1, 1, 0).Min(index), 0.0);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(Matrix3x1(4, 4, 4).Min(index), 4.0);
    EXPECT_EQ(index, 0);

    // A NaN never replaces the running value in either form; the general KoMatrix rule would
    // let it (and the elements after it) through. The overrides must be reached virtually.
    const Matrix3x1 v(1, kNaN, 0);
    const KoMatrix& base = v;
    EXPECT_EQ(base.Max(), 1.0);
    EXPECT_EQ(base.Max(index), 1.0);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(base.Min(), 0.0);
    EXPECT_EQ(base.Min(index), 0.0);
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(std::isnan(Matrix3x1(kNaN, 5, 6).Max(index)));
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(std::isnan(Matrix3x1(kNaN, 5, 6).Min()));
}

TEST(Matrix3x1, ElementWiseArithmetic) {
    const Matrix3x1 a(1, -2, 4);
    const Matrix3x1 b(3, 5, -8);
    ExpectElements(a + b, 4, 3, -4);
    ExpectElements(a - b, -2, -7, 12);
    ExpectElements((a + 1.0) * 2.0, 4, -2, 10);
    ExpectElements((a - 1.0) / 4.0, 0, -0.75, 0.75);  // scalar on the right

    Matrix3x1 c(a);
    (c += b) -= a;
    EXPECT_TRUE(c == b);
    ((((c *= 2.0) /= -4.0) += 0.5) -= 1.0);
    ExpectElements(c, -2, -3, 3.5);
    c += c;  // both operands are one object
    ExpectElements(c, -4, -6, 7);

    const Matrix3x1 q = Matrix3x1(1, -1, 0) / 0.0;
    EXPECT_EQ(q.at(0), kInf);
    EXPECT_EQ(q.at(1), -kInf);
    EXPECT_TRUE(std::isnan(q.at(2)));

    // The Hadamard members leave the object unchanged.
    Matrix3x1 h(-3, 4, 2);
    ExpectElements(h.HadamardProduct(Matrix3x1(2, 0.5, -1)), -6, 2, -2);
    ExpectElements(h.HadamardDivision(Matrix3x1(2, 8, 0)), -1.5, 0.5, kInf);
    ExpectElements(h.HadamardPower(2), 9, 16, 4);
    ExpectElements(h.HadamardPower(-1), -1.0 / 3.0, 0.25, 0.5);
    const Matrix3x1 root = h.HadamardPower(0.5);
    EXPECT_TRUE(std::isnan(root.at(0)));
    EXPECT_EQ(root.at(1), 2.0);
    ExpectElements(h, -3, 4, 2);
}

TEST(Matrix3x1, RMSEAndRoundingHalfAwayFromZero) {
    Matrix3x1 a(1, 2, 3);
    EXPECT_EQ(a.RMSE(a), 0.0);
    EXPECT_EQ(a.RMSE(Matrix3x1(1, 2, 6)), std::sqrt(3.0));
    EXPECT_EQ(Matrix3x1(2, 0, 0).RMSE(Matrix3x1()), std::sqrt(4.0 / 3.0));

    const Matrix3x1 r(1.25, -1.25, 0.04);
    ExpectElements(r.Rounding(1), 1.3, -1.3, 0.0);
    ExpectElements(r.Rounding(-1), 1.25, -1.25, 0.04);
    ExpectElements(r, 1.25, -1.25, 0.04);
    ExpectElements(Matrix3x1(2.5, -2.5, -0.4).Rounding(0), 3, -3, -0.0);
    ExpectElements(Matrix3x1(0.125, -0.125, 7).Rounding(2), 0.13, -0.13, 7);

    // Beyond the 32-bit range the same formula continues, overflow included.
    ExpectElements(Matrix3x1(2147483647.25, 2147483648.5, -3e9).Rounding(0), 2147483647.0,
                   2147483649.0, -3e9);
    EXPECT_EQ(Matrix3x1(1e300, 1.5, -1e300).Rounding(10), Matrix3x1(kInf, 1.5, -kInf));
    const Matrix3x1 overflowed = Matrix3x1(1e300, 1.5, 0.0).Rounding(400);
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(std::isnan(overflowed.at(k)));
    }
    const Matrix3x1 special = Matrix3x1(kNaN, kInf, -kInf).Rounding(3);
    EXPECT_TRUE(std::isnan(special.at(0)));
    EXPECT_EQ(special.at(1), kInf);
    EXPECT_EQ(special.at(2), -kInf);
}

TEST(Matrix3x1, ReshapedObjectsStayInsideTheirBuffer) {
    Matrix3x1 v(1, 2, 3);
    KoMatrix& base = v;
    ASSERT_EQ(base.AddRow(3, 3, KoMatrix(1, 1)), NoError);
    ASSERT_EQ(v.ElementNum(), 4);
    int index = -1;
    EXPECT_EQ(v.Max(index), 3.0);  // the general rule over all four elements
    EXPECT_EQ(index, 2);
    EXPECT_EQ(v.Min(), 0.0);

    // A reshaped operand reads as zeros; in-place members leave a reshaped object alone.
    const Matrix3x1 w(4, 5, 6);
    ExpectElements(v + w, 4, 5, 6);
    ExpectElements(w - v, 4, 5, 6);
    EXPECT_TRUE(v == Matrix3x1());
    v += w;
    v *= 2.0;
    EXPECT_EQ(v.ElementNum(), 4);
    EXPECT_EQ(v.at(1), 2.0);
    ExpectElements(Matrix3x1(v), 0, 0, 0);

    base = KoMatrix();  // no elements at all
    EXPECT_EQ(v.RMSE(w), Matrix3x1().RMSE(w));
    ExpectElements(v.Rounding(2), 0, 0, 0);
    EXPECT_TRUE(std::isnan(v.Max()));

    v = w;  // assignment restores the fixed shape
    ExpectElements(v, 4, 5, 6);
}

}  // namespace
