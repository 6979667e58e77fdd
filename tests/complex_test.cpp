// SPDX-License-Identifier: MIT
// Complex arithmetic, conjugate and modulus, and the Calvix version query.
#include <kocalvix/complex.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <type_traits>
#include <utility>

static void PrintTo(const Complex& z, std::ostream* os) {
    Complex c = z;
    *os << c.GetReal() << (c.GetImage() < 0 ? " - " : " + ") << std::fabs(c.GetImage()) << "i";
}

namespace {

TEST(Complex, AccessAndComparison) {
    Complex z;
    EXPECT_EQ(z.GetReal(), 0.0);
    EXPECT_EQ(z.GetImage(), 0.0);
    z.SetReal(1.5);
    z.SetImage(-2.5);
    EXPECT_EQ(z, Complex(1.5, -2.5));
    EXPECT_TRUE(z != Complex(1.5, 2.5));
    EXPECT_TRUE(z != Complex(0.5, -2.5));
    EXPECT_TRUE(Complex(0.0, 1) == Complex(-0.0, 1));

    const Complex nan(std::nan(""), 0);
    EXPECT_FALSE(nan == nan);
    EXPECT_TRUE(nan != nan);
}

TEST(Complex, Arithmetic) {
    const Complex a(1, 2), b(3, 4);
    EXPECT_EQ(a + b, Complex(4, 6));
    EXPECT_EQ(a - b, Complex(-2, -2));
    EXPECT_EQ(a * b, Complex(-5, 10));
    EXPECT_EQ(Complex(-5, 10) / b, Complex(1, 2));  // exact by the reciprocal form (r = 0.04)
    EXPECT_EQ(Complex(1, 0) / Complex(1, 1), Complex(0.5, -0.5));
    // The parts are multiplied by r = 1 / 9, not divided: (0.3 * 3) / 9 and 0.3 / 3 both give
    // 0.09999999999999999.
    EXPECT_EQ(Complex(0.3, 0) / Complex(3, 0), Complex(0.09999999999999998, 0));

    const Complex q = Complex(1, 2) / Complex(0, 0);
    EXPECT_TRUE(std::isnan(q.GetReal()));
    EXPECT_TRUE(std::isnan(q.GetImage()));
}

TEST(Complex, CompoundOperatorsReadBeforeWriting) {
    Complex z(1, 2);
    z *= z;  // (1 + 2i)^2 = -3 + 4i, from the old parts
    EXPECT_EQ(z, Complex(-3, 4));
    const Complex& sameZ = z;  // the same object, named twice so compilers do not flag z /= z
    z /= sameZ;
    EXPECT_EQ(z, Complex(1, 0));
    z += z;
    EXPECT_EQ(z, Complex(2, 0));
    z -= Complex(0.5, -1);
    EXPECT_EQ(z, Complex(1.5, 1));

    Complex w(1, 2);
    static_assert(std::is_same<decltype(w += w), const Complex&>::value, "const reference");
    EXPECT_EQ(&(w *= Complex(3, 4)), &w);
    EXPECT_EQ(w, Complex(-5, 10));
    EXPECT_EQ(&(w /= Complex(3, 4)), &w);
    EXPECT_EQ(w, Complex(1, 2));
}

TEST(Complex, ConjugateAndModulus) {
    Complex z(1, 2);
    EXPECT_EQ(z.Conjugate(), Complex(1, -2));
    EXPECT_EQ(z, Complex(1, 2));
    EXPECT_EQ(Complex(3, 4).abs(), 5.0);
    EXPECT_EQ(Complex(-3, -4).abs(), 5.0);
    EXPECT_EQ(Complex(1e200, 1e200).abs(), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Complex(1e-200, 0).abs(), 0.0);  // no scaling: the square underflows
}

TEST(Calvix, Version) {
    int v[5] = {-1, -1, -1, -1, -1};
    Calvix::Version(v);
    EXPECT_EQ(v[0], 2);
    EXPECT_EQ(v[1], 2);
    EXPECT_EQ(v[2], 0);
    EXPECT_EQ(v[3], 1);
    EXPECT_EQ(v[4], -1);
    Calvix::Version(nullptr);  // does nothing

    Calvix a, b;
    EXPECT_EQ(&(a = b), &a);
    EXPECT_EQ(&(a = std::move(b)), &a);
}

}  // namespace
