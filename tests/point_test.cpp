// SPDX-License-Identifier: MIT
// KoPoint and KoPoint3D: arithmetic, indexing, ordering and the collinearity and betweenness
// predicates.
#include <kocalvix/geometry.h>

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <ostream>
#include <vector>

#include "geometry_test_support.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Point, ArithmeticInPlaceAndByValue) {
    KoPoint p(3, 4);
    EXPECT_EQ(p / 2.0, KoPoint(1.5, 2));
    EXPECT_EQ(p * 2.0, KoPoint(6, 8));
    EXPECT_EQ(p, KoPoint(3, 4));  // the value forms leave the point alone
    EXPECT_EQ(p + KoPoint(1, -1) - KoPoint(0, 3), KoPoint(4, 0));

    KoPoint q = p;
    q /= 2.0;
    EXPECT_EQ(q, KoPoint(1.5, 2));
    q = p;
    q *= 2.0;
    EXPECT_EQ(q, KoPoint(6, 8));
    (q += KoPoint(1, 1)) -= KoPoint(0, 3);
    EXPECT_EQ(q, KoPoint(7, 6));
}

TEST(Point, ConstructionAndIndexReduction) {
    EXPECT_EQ(KoPoint(), KoPoint(0, 0));
    EXPECT_EQ(KoPoint(std::vector<double>{5, 6, 7}), KoPoint(5, 6));
    EXPECT_EQ(KoPoint(std::vector<double>{5}), KoPoint(5, 0));  // missing elements read 0
    EXPECT_EQ(KoPoint(std::vector<double>{}), KoPoint(0, 0));

    KoPoint p(1, 2);
    EXPECT_EQ(p.at(0), 1);
    EXPECT_EQ(p.at(1), 2);
    EXPECT_EQ(p.at(2), 1);
    EXPECT_EQ(p.at(3), 2);
    EXPECT_EQ(p.at(-1), 2);  // negative indices wrap to the end
    EXPECT_EQ(p.at(-2), 1);
    EXPECT_EQ(p.at(INT_MIN), 1);
    EXPECT_EQ(p.at(INT_MIN + 1), 2);
    EXPECT_EQ(p.at(INT_MAX), 2);
    p[5] = 9;
    p[-4] = 8;
    EXPECT_EQ(p, KoPoint(8, 9));
    const KoPoint& cp = p;
    EXPECT_EQ(&cp[7], &cp.at(1));
}

TEST(Point, EqualityAndOrderingAreExact) {
    EXPECT_TRUE(KoPoint(0.0, 1) == KoPoint(-0.0, 1));
    EXPECT_TRUE(KoPoint(1, 2) != KoPoint(1, 3));
    EXPECT_FALSE(KoPoint(1, 2) != KoPoint(1, 2));
    const KoPoint withNaN(kNaN, 0);
    EXPECT_FALSE(withNaN == withNaN);
    EXPECT_TRUE(withNaN != withNaN);

    EXPECT_FALSE(KoPoint(0, 5) < KoPoint(3, 4));  // equal squared distance 25
    EXPECT_FALSE(KoPoint(3, 4) < KoPoint(0, 5));
    EXPECT_TRUE(KoPoint(1, 1) < KoPoint(0, 2));
    EXPECT_FALSE(KoPoint(0, 2) < KoPoint(1, 1));
    EXPECT_FALSE(withNaN < KoPoint(5, 5));
    EXPECT_FALSE(KoPoint(0, 0) < withNaN);
}

TEST(Point, BetweenAndSameLine) {
    const KoPoint a(0, 0), b(2, 0);
    EXPECT_TRUE(KoPoint(0, 0).IsBetween(a, b));  // closed: both endpoints
    EXPECT_TRUE(KoPoint(2, 0).IsBetween(a, b));
    EXPECT_TRUE(KoPoint(1, 0).IsBetween(a, b));
    EXPECT_FALSE(KoPoint(3, 0).IsBetween(a, b));   // dot 6 > len2 4
    EXPECT_FALSE(KoPoint(-1, 0).IsBetween(a, b));  // dot -2 < 0
    EXPECT_FALSE(KoPoint(1, 1).IsBetween(a, b));   // not collinear
    EXPECT_TRUE(KoPoint(3, 0).IsSameline(a, b));
    EXPECT_FALSE(KoPoint(1, 1).IsSameline(a, b));

    EXPECT_TRUE(KoPoint(1, 5).IsBetweenWithoutCheck(a, b));  // collinearity not tested
    EXPECT_TRUE(KoPoint(2, -7).IsBetweenWithoutCheck(a, b));
    EXPECT_FALSE(KoPoint(2.5, 0).IsBetweenWithoutCheck(a, b));
    EXPECT_FALSE(KoPoint(-0.5, 3).IsBetweenWithoutCheck(a, b));

    // A degenerate segment a == b: len2 = 0 and cross = 0 for every finite point.
    const KoPoint c(4, -3);
    EXPECT_TRUE(KoPoint(100, 7).IsSameline(c, c));
    EXPECT_TRUE(KoPoint(100, 7).IsBetween(c, c));
    EXPECT_TRUE(KoPoint(-9, 1).IsBetweenWithoutCheck(c, c));

    // Algebraically on the line through (0, 0) and (3, 1), but the cross value is
    // 0.1 * 3 - 0.3 != 0 in doubles: there is no tolerance.
    EXPECT_FALSE(KoPoint(0.3, 0.1).IsSameline(KoPoint(0, 0), KoPoint(3, 1)));
    EXPECT_TRUE(KoPoint(3, 1).IsSameline(KoPoint(0, 0), KoPoint(6, 2)));

    // A NaN coordinate fails the collinearity test but passes the range test.
    const KoPoint nan(kNaN, 0);
    EXPECT_FALSE(nan.IsSameline(a, b));
    EXPECT_FALSE(nan.IsBetween(a, b));
    EXPECT_TRUE(nan.IsBetweenWithoutCheck(a, b));
}

TEST(Point3D, ArithmeticIndexingAndOrdering) {
    std::vector<double> v{1, 2, 3};
    KoPoint3D p(v);
    EXPECT_EQ(p.at(0), 1);
    EXPECT_EQ(p.at(1), 2);
    EXPECT_EQ(p.at(2), 3);
    EXPECT_EQ(p.at(3), 1);
    EXPECT_EQ(p.at(5), 3);
    EXPECT_EQ(p.at(-1), 3);
    EXPECT_EQ(p.at(-3), 1);
    EXPECT_EQ(p.at(INT_MIN), 2);  // INT_MIN = -2 (mod 3) = 1 (mod 3)

    KoPoint3D q = (p * 2.0 - p) / 4.0 + KoPoint3D(1, 1, 1);
    EXPECT_EQ(q[0], 1.25);
    EXPECT_EQ(q[2], 1.75);
    q += p;
    q -= KoPoint3D(0.25, 0.5, 0.75);
    q *= 2.0;
    q /= 4.0;
    EXPECT_EQ(q[0], 1);
    EXPECT_EQ(q[1], 1.5);
    EXPECT_EQ(q[2], 2);

    EXPECT_TRUE(KoPoint3D(1, 1, 1) < KoPoint3D(0, 0, 2));
    EXPECT_FALSE(KoPoint3D(0, 0, 2) < KoPoint3D(2, 0, 0));
    EXPECT_FALSE(KoPoint3D(2, 0, 0) < KoPoint3D(0, 0, 2));
    // (x*x + y*y) + z*z: each 1e-16 alone is below half an ulp of 1, so the sum stays 1;
    // grouped as x*x + (y*y + z*z) it would round up past 1.
    EXPECT_FALSE(KoPoint3D(1, 0, 0) < KoPoint3D(1, 1e-8, 1e-8));
    EXPECT_FALSE(KoPoint3D(kNaN, 0, 0) < KoPoint3D(1, 1, 1));
}

}  // namespace
