// SPDX-License-Identifier: MIT
// Matrix3x3: construction and diagonal forms, exact comparison, extremes, the determinant by the
// rule of Sarrus with its fixed grouping, the adjugate inverse and its singular fallback,
// products with matrices, vectors and general matrices, powers, element-wise arithmetic, RMSE,
// rounding, and objects reshaped through a KoMatrix reference.
#include <kocalvix/fixed_matrix.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using Rows = std::vector<std::vector<double>>;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const double kTwo53 = 9007199254740992.0;

// The nine elements of m, exactly or within `tolerance`.
void ExpectElements(const KoMatrix& m, const std::vector<double>& expected, double tolerance = 0) {
    ASSERT_EQ(m.RowSize(), 3);
    ASSERT_EQ(m.ColumnSize(), 3);
    for (int k = 0; k < 9; ++k) {
        const double e = expected[static_cast<size_t>(k)];
        if (tolerance == 0) {
            EXPECT_EQ(m.at(k), e) << "element " << k;
        } else {
            EXPECT_NEAR(m.at(k), e, tolerance) << "element " << k;
        }
    }
}

const std::vector<double> kZeros(9, 0.0);

Matrix3x3 Diag(double a, double b, double c) {
    return Matrix3x3(Matrix3x1(a, b, c));
}

const Matrix3x3 kA(2, -1, 0, 1, 3, 4, -2, 5, 1);
const Matrix3x3 kB(1, 0, 2, -1, 1, 0, 3, 2, 1);

TEST(Matrix3x3, ConstructionAndComparison) {
    ExpectElements(Matrix3x3(), kZeros);
    EXPECT_EQ(kA.at(1, 0), 1.0);  // row by row

    double p[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    Matrix3x3 fromBuffer(p);
    fromBuffer.at(0) = 100;
    EXPECT_EQ(p[0], 1.0);  // the caller's buffer is copied, not wrapped
    ExpectElements(Matrix3x3(static_cast<double*>(nullptr)), kZeros);

    std::vector<double> longer{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    ExpectElements(Matrix3x3(longer), {1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_EQ(longer.size(), 10u);
    std::vector<double> shorter{1, 2};
    ExpectElements(Matrix3x3(shorter), {1, 2, 0, 0, 0, 0, 0, 0, 0});

    ExpectElements(Diag(1, 2, 3), {1, 0, 0, 0, 2, 0, 0, 0, 3});
    ExpectElements(Matrix3x3::Identity(), {1, 0, 0, 0, 1, 0, 0, 0, 1});

    // DiagFrom overwrites every element of a copy and returns it; the original stays.
    Matrix3x3 full(kA);
    EXPECT_EQ(&full.DiagFrom(Matrix3x1(7, 8, 9)), &full);
    ExpectElements(full, {7, 0, 0, 0, 8, 0, 0, 0, 9});
    EXPECT_TRUE(kA == Matrix3x3(2, -1, 0, 1, 3, 4, -2, 5, 1));

    const double* buffer = &full.at(0);
    full = kB;  // assignment copies into the existing buffer
    EXPECT_EQ(&full.at(0), buffer);
    EXPECT_TRUE(full == kB);

    // Exact comparison: one ulp apart differs, signed zeros agree, NaN is unequal to itself.
    Matrix3x3 c(kA);
    EXPECT_TRUE(kA == c);
    EXPECT_FALSE(kA != c);
    c.at(8) = std::nextafter(1.0, 2.0);
    EXPECT_FALSE(kA == c);
    EXPECT_TRUE(kA != c);
    EXPECT_TRUE(Diag(0.0, 1, 1) == Diag(-0.0, 1, 1));
    c.at(4) = kNaN;
    EXPECT_FALSE(c == c);
    EXPECT_TRUE(c != c);
}

TEST(Matrix3x3, ExtremesAndTies) {
    // Ties go to the first of the equal elements.
    int index = -1;
    EXPECT_EQ(Matrix3x3(1, 2, 3, 4, 5, 6, 7, 9, 9).Max(index), 9.0);
    EXPECT_EQ(index, 7);
    EXPECT_EQ(Matrix3x3(5, 2, 3, -1, 5, 6, 7, -1, 9).Min(index), -1.0);
    EXPECT_EQ(index, 3);

    // A NaN never replaces the running value, in the value-only forms as well; reached through
    // the base class, the overrides differ from the general rule (which would end at 1).
    const Matrix3x3 withNaN(5, kNaN, 1, 1, 1, 1, 1, 1, 1);
    const KoMatrix& base = withNaN;
    EXPECT_EQ(base.Max(), 5.0);
    EXPECT_EQ(base.Max(index), 5.0);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(base.Min(), 1.0);
    EXPECT_EQ(base.Min(index), 1.0);
    EXPECT_EQ(index, 2);
}

TEST(Matrix3x3, DeterminantAndInverseWithItsFallback) {
    EXPECT_EQ(kA.Det(), -25.0);
    // adj(kA) / -25, with the adjugate in integers.
    ExpectElements(kA.Inv(), {-17.0 / -25.0, 1.0 / -25.0, -4.0 / -25.0, -9.0 / -25.0, 2.0 / -25.0,
                              -8.0 / -25.0, 11.0 / -25.0, -8.0 / -25.0, 7.0 / -25.0});

    // Rows 1 and 2 are equal, so the exact determinant is 0; the fixed grouping
    // ((2^53 + 1) - 2^53) - 1 + 2^53 - 2^53 rounds to -1, any other grouping gives 0.
    const Matrix3x3 rounding(kTwo53, -kTwo53, 1, 1, 1, 1, 1, 1, 1);
    EXPECT_EQ(rounding.Det(), -1.0);
    EXPECT_EQ(static_cast<const KoMatrix&>(rounding).Det(), -1.0);  // the override, virtually
    // -1 from the rounded determinant: the adjugate path, not the general inverse.
    EXPECT_EQ(rounding.Inv().at(0), 0.0);
    // The inherited overload stays visible: the product of the elements of a matrix.
    EXPECT_EQ(kA.Det(KoMatrix(Rows{{2, 3}})), 6.0);

    // A NaN determinant is not 0.0: the adjugate is divided by NaN.
    const Matrix3x3 nan = Matrix3x3(1, 0, 0, 0, kNaN, 0, 0, 0, 1).Inv();
    for (int k = 0; k < 9; ++k) {
        EXPECT_TRUE(std::isnan(nan.at(k))) << k;
    }

    // A zero determinant falls back on the general inverse.
    const Matrix3x3 zeroRow(1, 2, 0, 3, 4, 0, 0, 0, 0);
    ASSERT_EQ(zeroRow.Det(), 0.0);
    ExpectElements(zeroRow.Inv(), {-2, 1, 0, 1.5, -0.5, 0, 0, 0, 0}, 1e-6);
    ExpectElements(Diag(2, 4, 0).Inv(), {0.5, 0, 0, 0, 0.25, 0, 0, 0, 0}, 1e-12);
    ExpectElements(Matrix3x3().Inv(), kZeros);
}

TEST(Matrix3x3, TransposeProductsAndPowers) {
    ExpectElements(kA.Transpose(), {2, 1, -2, -1, 3, 5, 0, 4, 1});
    ExpectElements(kA * kB, {3, -1, 4, 10, 11, 6, -4, 7, -3});
    EXPECT_TRUE(kA * Matrix3x1(1, -1, 2) == Matrix3x1(3, 6, -5));
    EXPECT_TRUE(KoMatrix(kA * kB) == kA * static_cast<const KoMatrix&>(kB));
    Matrix3x3 c(kA);
    c *= kB;
    EXPECT_TRUE(c == kA * kB);
    c = kA;
    c *= c;  // both operands read before the product is written
    EXPECT_TRUE(c == kA * kA);

    // With a general matrix: 3 x M.cols when M has three rows, otherwise a copy of *this.
    EXPECT_EQ((kA * KoMatrix(Rows{{1, 0}, {0, 1}, {1, 1}})).ToVec(),
              (Rows{{2, -1}, {5, 7}, {-1, 6}}));
    EXPECT_EQ((kA * KoMatrix(2, 2)).ToVec(), kA.ToVec());

    // Powers below 2 leave the matrix as it is.
    for (int n : {1, 0, -2}) {
        c = kA;
        c ^= n;
        EXPECT_TRUE(c == kA) << n;
        EXPECT_TRUE((kA ^ n) == kA) << n;
    }
    EXPECT_TRUE((kA ^ 3) == kA * kA * kA);
    c = kA;
    EXPECT_TRUE((c ^= 4) == kA * kA * kA * kA);
}

TEST(Matrix3x3, ElementWiseArithmetic) {
    ExpectElements(kA + kB, {3, -1, 2, 0, 4, 4, 1, 7, 2});
    ExpectElements(kA - kB, {1, -1, -2, 2, 2, 4, -5, 3, 0});
    ExpectElements((kA * 3.0 + 1.0) / 2.0 - 1.0, {2.5, -2, -0.5, 1, 4, 5.5, -3.5, 7, 1});
    Matrix3x3 c(kA);
    ((((c += kB) -= kA) *= 4.0) /= 2.0) -= 1.0;
    ExpectElements(c += 0.5, {1.5, -0.5, 3.5, -2.5, 1.5, -0.5, 5.5, 3.5, 1.5});

    Matrix3x3 a(kA);
    ExpectElements(a.HadamardProduct(kB), {2, 0, 0, -1, 3, 0, -6, 10, 1});
    EXPECT_EQ(a.HadamardDivision(kB).at(5), kInf);
    ExpectElements(a.HadamardPower(2), {4, 1, 0, 1, 9, 16, 4, 25, 1});
    EXPECT_TRUE(std::isnan(a.HadamardPower(0.5).at(1)));
    EXPECT_TRUE(a == kA);
}

TEST(Matrix3x3, RMSEAndRounding) {
    Matrix3x3 a(kA);
    EXPECT_EQ(a.RMSE(kA), 0.0);
    EXPECT_EQ(Matrix3x3().RMSE(Matrix3x3(6, 0, 0, 0, 0, 0, 0, 0, 0)), 2.0);  // sqrt(36 / 9)

    const Matrix3x3 r(1.25, -1.25, 0.04, 2.5, -2.5, 0.125, -0.125, 1e300, kNaN);
    const Matrix3x3 one = r.Rounding(1);
    const std::vector<double> expected{1.3, -1.3, 0.0, 2.5, -2.5, 0.1, -0.1, 1e300};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(one.at(k), expected[static_cast<size_t>(k)]) << k;
    }
    EXPECT_TRUE(std::isnan(one.at(8)));
    EXPECT_EQ(r.Rounding(0).at(3), 3.0);
    EXPECT_EQ(r.Rounding(0).at(4), -3.0);
    EXPECT_EQ(r.Rounding(-2).at(0), 1.25);
    EXPECT_EQ(r.at(0), 1.25);
}

TEST(Matrix3x3, ReshapedObjectsStayInsideTheirBuffer) {
    Matrix3x3 m(kA);
    KoMatrix& base = m;
    ASSERT_EQ(base.AddColumn(3, 3, KoMatrix(3, 1)), NoError);
    ASSERT_EQ(m.ElementNum(), 12);
    EXPECT_EQ(m.Det(), KoMatrix(m).Det());  // the general determinant of a 3 x 4 matrix
    int index = -1;
    EXPECT_EQ(m.Max(index), 5.0);
    EXPECT_EQ(index, 9);  // flat index in the 3 x 4 shape

    // A reshaped operand reads as zeros; in-place members leave the object alone.
    ExpectElements(m * kB, kZeros);
    ExpectElements(kB + m, {1, 0, 2, -1, 1, 0, 3, 2, 1});
    // Det() of the 3 x 4 shape is 0.0: the first nine elements of the general 4 x 3 inverse.
    const KoMatrix general = KoMatrix(m).Inv();
    const Matrix3x3 inverse = m.Inv();
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(inverse.at(k), general.at(k)) << k;
    }
    ExpectElements(m ^ 3, kZeros);
    m *= m;
    m ^= 2;
    m += 1.0;
    EXPECT_EQ(m.ElementNum(), 12);
    EXPECT_EQ(m.at(0), 2.0);
    EXPECT_EQ((m * KoMatrix(4, 1)).RowSize(), 3);  // the general product uses the real shape

    base = KoMatrix();
    EXPECT_EQ(m.Rounding(1), Matrix3x3());
    m.DiagFrom(Matrix3x1(1, 2, 3));  // restores the fixed shape
    ExpectElements(m, {1, 0, 0, 0, 2, 0, 0, 0, 3});
    base = KoMatrix(2, 2);
    m = kB;
    EXPECT_TRUE(m == kB);
}

}  // namespace
