// SPDX-License-Identifier: MIT
// KoPolygon: ownership and assignment, clamped access, area, the angular sort and the fan test.
#include <kocalvix/geometry.h>

#include <gtest/gtest.h>

#include <climits>
#include <new>
#include <ostream>
#include <vector>

#include "geometry_test_support.h"

namespace {

using test_support::Points;
using test_support::Vertices;

Points Sorted(Points v) {
    KoPolygon polygon(v);
    polygon.SortVertice();
    return Vertices(polygon);
}

TEST(Polygon, ConstructionAndCounts) {
    const KoPolygon single;
    EXPECT_EQ(single.size(), 1);
    EXPECT_EQ(single[0], KoPoint(0, 0));

    const Points square{KoPoint(0, 0), KoPoint(1, 0), KoPoint(1, 1), KoPoint(0, 1)};
    EXPECT_EQ(Vertices(KoPolygon(square)), square);
    EXPECT_EQ(Vertices(KoPolygon(square.data(), 3)), Points(square.begin(), square.begin() + 3));
    EXPECT_EQ(KoPolygon(nullptr, 0).size(), 0);
    EXPECT_EQ(KoPolygon(Points{}).size(), 0);
    EXPECT_EQ(Vertices(KoPolygon(KoPoint(1, 2), KoPoint(3, 4), KoPoint(5, 6))),
              (Points{KoPoint(1, 2), KoPoint(3, 4), KoPoint(5, 6)}));

    EXPECT_THROW(KoPolygon(square.data(), -1), std::bad_array_new_length);
    EXPECT_THROW(KoPolygon(nullptr, INT_MIN), std::bad_array_new_length);
    EXPECT_THROW(KoPolygon(nullptr, INT_MAX), std::bad_array_new_length);
    EXPECT_THROW(KoPolygon(nullptr, 0x10000000), std::bad_array_new_length);  // 2^32 bytes
}

TEST(Polygon, CopyAndAssignmentOwnTheirArrays) {
    const Points square{KoPoint(0, 0), KoPoint(1, 0), KoPoint(1, 1), KoPoint(0, 1)};
    KoPolygon a(square);
    KoPolygon b(a);
    b[1] = KoPoint(7, 7);
    EXPECT_EQ(a[1], KoPoint(1, 0));

    KoPolygon grown;  // one vertex, then four: the array must grow
    grown = a;
    EXPECT_EQ(grown.size(), 4);
    EXPECT_EQ(Vertices(grown), square);
    KoPolygon shrunk(a);
    shrunk = KoPolygon();
    EXPECT_EQ(shrunk.size(), 1);
    EXPECT_EQ(Vertices(shrunk), Points{KoPoint(0, 0)});
    shrunk = KoPolygon(nullptr, 0);
    EXPECT_EQ(shrunk.size(), 0);
    KoPolygon same(square.data(), 4);
    same = b;
    EXPECT_EQ(Vertices(same), Vertices(b));
    const KoPolygon& alias = same;
    same = alias;  // self-assignment
    EXPECT_EQ(Vertices(same), Vertices(b));

    KoTriangle t(0, 0, 1, 0, 0, 1);
    KoTriangle four(square);
    t = four;
    EXPECT_EQ(t.size(), 4);
    EXPECT_EQ(Vertices(t), square);
}

TEST(Polygon, ClampedAccess) {
    const KoPolygon p(Points{KoPoint(1, 2), KoPoint(3, 4), KoPoint(5, 6), KoPoint(7, 8)});
    EXPECT_EQ(p[4], KoPoint(1, 2));
    EXPECT_EQ(p.at(9), KoPoint(1, 2));
    EXPECT_EQ(p.at(3), KoPoint(7, 8));
    EXPECT_EQ(p.at(-1), KoPoint(1, 2));  // below 0: vertex 0 as well
    EXPECT_EQ(p.at(INT_MIN), KoPoint(1, 2));
    EXPECT_EQ(p.at(1, 0), 3);
    EXPECT_EQ(p.at(1, 1), 4);
    EXPECT_EQ(p.at(1, 2), 3);
    EXPECT_EQ(p.at(1, 3), 3);
    EXPECT_EQ(p.at(4, 1), 1);  // past the count: x of vertex 0
    EXPECT_EQ(p.at(-2, 1), 1);
    EXPECT_EQ(p.at(2, -1), 6);  // a negative j wraps like a point index
    EXPECT_EQ(p.at(2, INT_MIN), 5);

    KoPolygon q(p);
    q[7] = KoPoint(0, 0);
    EXPECT_EQ(q[0], KoPoint(0, 0));
}

TEST(Polygon, EmptyPolygon) {
    KoPolygon empty(nullptr, 0);
    EXPECT_EQ(empty.Area(), 0.0);
    EXPECT_TRUE(empty.IsNonSelfIntersection());
    EXPECT_EQ(&empty.SortVertice(), &empty);
    EXPECT_EQ(empty.size(), 0);
    // There is no vertex to read: debug builds assert, release builds give a spare (0, 0).
    EXPECT_DEBUG_DEATH(EXPECT_EQ(empty.at(0), KoPoint(0, 0)), "no vertex");
    EXPECT_DEBUG_DEATH(EXPECT_EQ(empty.at(3, 1), 0.0), "no vertex");
}

TEST(Polygon, Area) {
    EXPECT_EQ(KoPolygon().Area(), 0.0);
    Points square{KoPoint(0, 0), KoPoint(1, 0), KoPoint(1, 1), KoPoint(0, 1)};
    EXPECT_EQ(KoPolygon(square).Area(), 1.0);
    EXPECT_EQ(KoPolygon(Points(square.rbegin(), square.rend())).Area(), 1.0);
    EXPECT_EQ(KoPolygon(Points{KoPoint(3, 4), KoPoint(5, 1)}).Area(), 0.0);
    EXPECT_EQ(KoPolygon(Points{KoPoint(3, 4)}).Area(), 0.0);
    Points bowTie{KoPoint(0, 0), KoPoint(1, 1), KoPoint(1, 0), KoPoint(0, 1)};
    EXPECT_EQ(KoPolygon(bowTie).Area(), 0.0);
    EXPECT_EQ(KoTriangle(0, 0, 4, 0, 0, 3).Area(), 6.0);
    // The closing term is added to the finished sum (other groupings give 0.08 or
    // 0.08000000000000002 here).
    EXPECT_EQ(KoPolygon(Points{KoPoint(0.1, 0), KoPoint(0.3, 0.2), KoPoint(0, 0.7)}).Area(),
              0.07999999999999999);
}

TEST(Polygon, FanSignTest) {
    EXPECT_TRUE(KoPolygon().IsNonSelfIntersection());
    EXPECT_TRUE(KoTriangle(0, 0, 1, 1, 2, 0).IsNonSelfIntersection());
    EXPECT_TRUE(KoPolygon(Points{KoPoint(0, 0), KoPoint(1, 0), KoPoint(1, 1), KoPoint(0, 1)})
                    .IsNonSelfIntersection());
    EXPECT_FALSE(KoPolygon(Points{KoPoint(0, 0), KoPoint(1, 1), KoPoint(1, 0), KoPoint(0, 1)})
                     .IsNonSelfIntersection());  // bow-tie: c(1) = 1, c(2) = -1
    EXPECT_FALSE(KoPolygon(Points{KoPoint(0, 0), KoPoint(2, 0), KoPoint(2, 2), KoPoint(1, 0.5),
                                  KoPoint(0, 2)})
                     .IsNonSelfIntersection());  // simple but concave towards vertex 0
    // A zero fan value passes and restarts the comparison: signs -, 0, + pass.
    EXPECT_TRUE(
        KoPolygon(Points{KoPoint(0, 0), KoPoint(1, 0), KoPoint(1, 1), KoPoint(2, 2), KoPoint(3, 2)})
            .IsNonSelfIntersection());
}

TEST(Polygon, SortVerticeFollowsTheExchangePass) {
    EXPECT_EQ(Sorted({KoPoint(1, 1), KoPoint(0, 0), KoPoint(1, 0), KoPoint(0, 1)}),
              (Points{KoPoint(1, 0), KoPoint(1, 1), KoPoint(0, 1), KoPoint(0, 0)}));
    EXPECT_EQ(Sorted({KoPoint(0, 1), KoPoint(1, 0), KoPoint(0, -1), KoPoint(-1, 0)}),
              (Points{KoPoint(0, -1), KoPoint(1, 0), KoPoint(0, 1), KoPoint(-1, 0)}));
    // Straight above and straight below the centroid tie with each other.
    EXPECT_EQ(Sorted({KoPoint(0, 1), KoPoint(0, -1), KoPoint(-1, 0), KoPoint(1, 0)}),
              (Points{KoPoint(1, 0), KoPoint(0, -1), KoPoint(0, 1), KoPoint(-1, 0)}));
    // A vertex at the centroid ties with the whole right half; an insertion sort with the same
    // precedence would leave (0, 0) first.
    EXPECT_EQ(Sorted({KoPoint(1, 1), KoPoint(0, 0), KoPoint(1, -1), KoPoint(-2, 0)}),
              (Points{KoPoint(1, -1), KoPoint(0, 0), KoPoint(1, 1), KoPoint(-2, 0)}));
    EXPECT_EQ(Sorted({KoPoint(2, 3)}), Points{KoPoint(2, 3)});
    // Left half by angle: straight up first, then towards straight down.
    EXPECT_EQ(Sorted({KoPoint(-1, -1), KoPoint(-1, 1), KoPoint(-2, 0), KoPoint(4, 0)}),
              (Points{KoPoint(4, 0), KoPoint(-1, 1), KoPoint(-2, 0), KoPoint(-1, -1)}));

    KoPolygon p(Points{KoPoint(1, 1), KoPoint(0, 0), KoPoint(1, 0), KoPoint(0, 1)});
    EXPECT_EQ(&p.SortVertice(), &p);
    EXPECT_EQ(p.size(), 4);
}

}  // namespace
