// SPDX-License-Identifier: MIT
// Matrix3x1 and Matrix3x3 against their closed formulas written out literally, bit for bit, on
// random values mixed with -0.0, infinities, NaN, subnormals and huge values; and the lifetime
// of fixed-size values created on one thread and destroyed on another.
#include <kocalvix/fixed_matrix.h>

#include <gtest/gtest.h>

#include "bits_test_support.h"

#include <cmath>
#include <limits>
#include <random>
#include <thread>
#include <vector>

namespace {

using test_support::SameBits;

using Elements = std::vector<double>;

double Pick(std::mt19937_64& rng) {
    static const double kSpecial[] = {0.0,
                                      -0.0,
                                      1.0,
                                      -2.5,
                                      std::numeric_limits<double>::infinity(),
                                      -std::numeric_limits<double>::infinity(),
                                      std::numeric_limits<double>::quiet_NaN(),
                                      1e300,
                                      -4.9e-324,
                                      3e-310};
    if (rng() % 4 == 0) {
        return kSpecial[rng() % (sizeof(kSpecial) / sizeof(kSpecial[0]))];
    }
    return std::uniform_real_distribution<double>(-10.0, 10.0)(rng);
}

::testing::AssertionResult Matches(const KoMatrix& m, const Elements& expected) {
    if (m.ElementNum() != static_cast<int>(expected.size())) {
        return ::testing::AssertionFailure() << m.ElementNum() << " elements";
    }
    for (int k = 0; k < m.ElementNum(); ++k) {
        if (!SameBits(m[k], expected[static_cast<std::size_t>(k)])) {
            return ::testing::AssertionFailure()
                   << "element " << k << ": " << m[k] << " != " << expected[k];
        }
    }
    return ::testing::AssertionSuccess();
}

Elements Product(const Elements& a, const Elements& b) {
    Elements c(9);
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            c[3 * i + j] = a[3 * i] * b[j] + a[3 * i + 1] * b[3 + j] + a[3 * i + 2] * b[6 + j];
        }
    }
    return c;
}

template <typename Op>
Elements Map(const Elements& a, const Elements& b, Op op) {
    Elements c(a.size());
    for (std::size_t k = 0; k < a.size(); ++k) {
        c[k] = op(a[k], b[k]);
    }
    return c;
}

Matrix3x3 Make3x3(const Elements& a) {
    return Matrix3x3(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
}

TEST(FixedMatrixBits, EveryOperationMatchesItsLiteralFormula) {
    std::mt19937_64 rng(2024);
    for (int round = 0; round < 4000; ++round) {
        Elements a(9), b(9), x(3), y(3);
        for (Elements* v : {&a, &b, &x, &y}) {
            for (double& e : *v) {
                e = Pick(rng);
            }
        }
        const double s = Pick(rng);
        const Matrix3x3 A = Make3x3(a);
        const Matrix3x3 B = Make3x3(b);
        const Matrix3x1 X(x[0], x[1], x[2]);
        const Matrix3x1 Y(y[0], y[1], y[2]);
        SCOPED_TRACE(round);

        const auto plus = [](double p, double q) { return p + q; };
        const auto minus = [](double p, double q) { return p - q; };
        const auto times = [](double p, double q) { return p * q; };
        const auto divided = [](double p, double q) { return p / q; };
        const Elements s9(9, s), s3(3, s);

        EXPECT_TRUE(Matches(A * B, Product(a, b)));
        EXPECT_TRUE(Matches(A ^ 3, Product(Product(a, a), a)));
        EXPECT_TRUE(Matches(A * X, {a[0] * x[0] + a[1] * x[1] + a[2] * x[2],
                                    a[3] * x[0] + a[4] * x[1] + a[5] * x[2],
                                    a[6] * x[0] + a[7] * x[1] + a[8] * x[2]}));
        EXPECT_TRUE(Matches(A + B, Map(a, b, plus)));
        EXPECT_TRUE(Matches(A - B, Map(a, b, minus)));
        EXPECT_TRUE(Matches(A + s, Map(a, s9, plus)));
        EXPECT_TRUE(Matches(A - s, Map(a, s9, minus)));
        EXPECT_TRUE(Matches(A * s, Map(a, s9, times)));
        EXPECT_TRUE(Matches(A / s, Map(a, s9, divided)));
        EXPECT_TRUE(Matches(Make3x3(a).HadamardProduct(B), Map(a, b, times)));
        EXPECT_TRUE(Matches(Make3x3(a).HadamardDivision(B), Map(a, b, divided)));
        EXPECT_TRUE(Matches(A.Transpose(), {a[0], a[3], a[6], a[1], a[4], a[7], a[2], a[5], a[8]}));
        EXPECT_TRUE(Matches(Matrix3x3(A), a));
        EXPECT_TRUE(Matches(Matrix3x3(X), {x[0], 0, 0, 0, x[1], 0, 0, 0, x[2]}));
        EXPECT_TRUE(Matches(Matrix3x3(a.data()), a));

        const double det = ((a[0] * a[4] * a[8] + a[3] * a[7] * a[2]) + a[5] * a[6] * a[1]) -
                           a[4] * a[2] * a[6] - a[1] * a[3] * a[8] - a[0] * a[7] * a[5];
        EXPECT_TRUE(SameBits(A.Det(), det));
        if (det != 0.0) {
            const Elements adjugate = {
                a[8] * a[4] - a[5] * a[7], a[2] * a[7] - a[8] * a[1], a[5] * a[1] - a[2] * a[4],
                a[5] * a[6] - a[8] * a[3], a[8] * a[0] - a[2] * a[6], a[2] * a[3] - a[5] * a[0],
                a[7] * a[3] - a[6] * a[4], a[6] * a[1] - a[7] * a[0], a[0] * a[4] - a[1] * a[3]};
            EXPECT_TRUE(Matches(A.Inv(), Map(adjugate, Elements(9, det), divided)));
        }

        // The in-place forms give the same bits as the value forms; A *= A squares A.
        Matrix3x3 C(A);
        C *= C;
        EXPECT_TRUE(Matches(C, Product(a, a)));
        C = A;
        C += B;
        C -= s;
        EXPECT_TRUE(Matches(C, Map(Map(a, b, plus), s9, minus)));
        C.DiagFrom(Y);
        EXPECT_TRUE(Matches(C, {y[0], 0, 0, 0, y[1], 0, 0, 0, y[2]}));

        EXPECT_TRUE(Matches(X + Y, Map(x, y, plus)));
        EXPECT_TRUE(Matches(X - Y, Map(x, y, minus)));
        EXPECT_TRUE(Matches(X + s, Map(x, s3, plus)));
        EXPECT_TRUE(Matches(X - s, Map(x, s3, minus)));
        EXPECT_TRUE(Matches(X * s, Map(x, s3, times)));
        EXPECT_TRUE(Matches(X / s, Map(x, s3, divided)));
        EXPECT_TRUE(Matches(Matrix3x1(X).HadamardProduct(Y), Map(x, y, times)));
        EXPECT_TRUE(Matches(Matrix3x1(X).HadamardDivision(Y), Map(x, y, divided)));
        Matrix3x1 Z(X);
        Z *= s;
        Z += Y;
        EXPECT_TRUE(Matches(Z, Map(Map(x, s3, times), y, plus)));

        EXPECT_EQ(A == B, a == b);
        EXPECT_EQ(X != Y, !(x[0] == y[0] && x[1] == y[1] && x[2] == y[2]));
    }
}

// Values created on one thread and destroyed on another, threads that end with values still
// alive, and values outliving the thread that made them: nothing is lost or freed twice (the
// sanitizer build checks).
TEST(FixedMatrixBits, ValuesMayChangeThreads) {
    std::vector<Matrix3x3> made;
    std::thread maker([&made] {
        for (int k = 0; k < 100; ++k) {
            made.push_back(Matrix3x3::Identity() * static_cast<double>(k));
        }
        Matrix3x1 scratch(1, 2, 3);
        for (int k = 0; k < 100; ++k) {
            scratch = scratch + Matrix3x1(1, 1, 1);
        }
        EXPECT_EQ(scratch, Matrix3x1(101, 102, 103));
    });
    maker.join();
    std::thread releaser([&made] {
        for (int k = 0; k < 50; ++k) {
            made.pop_back();
        }
    });
    releaser.join();
    ASSERT_EQ(made.size(), 50u);
    EXPECT_EQ(made[49].at(8), 49.0);
    made.clear();
}

}  // namespace
