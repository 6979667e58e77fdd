// SPDX-License-Identifier: MIT
// KoLine: access, equality, the side test, line intersection and segment intersection with its
// caller-owned result array.
#include <kocalvix/geometry.h>

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <ostream>
#include <vector>

#include "geometry_test_support.h"

namespace {

// Runs SegmentIntersection on a fresh null pointer and returns the code and the points.
struct Segments {
    int code;
    std::vector<KoPoint> points;
};

Segments Intersect(KoLine a, KoLine b) {
    KoPoint* out = nullptr;
    Segments r{a.SegmentIntersection(b, out), {}};
    const int n = r.code == 1 ? 1 : (r.code == 2 ? 2 : 0);
    if (n == 0) {
        EXPECT_EQ(out, nullptr);
    }
    for (int i = 0; i < n; ++i) {
        r.points.push_back(out[i]);
    }
    delete[] out;
    return r;
}

TEST(Line, ConstructionAccessAndEquality) {
    const KoLine l(1, 2, 3, 4);
    EXPECT_EQ(l[0], KoPoint(1, 2));
    EXPECT_EQ(l[1], KoPoint(3, 4));
    EXPECT_EQ(l.at(1, 0), 3);
    EXPECT_EQ(l.at(2, 1), 2);
    EXPECT_EQ(l.at(3, 3), 4);
    EXPECT_EQ(l.at(-1, -2), 3);  // negative indices wrap to the end
    EXPECT_EQ(l.at(INT_MIN, INT_MIN + 1), 2);
    EXPECT_EQ(l.at(-3), KoPoint(3, 4));

    EXPECT_EQ(KoLine(std::vector<double>{1, 2}, std::vector<double>{3, 4}), l);
    EXPECT_EQ(KoLine(std::vector<KoPoint>{KoPoint(1, 2), KoPoint(3, 4)}), l);

    KoLine m = l;
    m[-1] = KoPoint(5, 6);
    EXPECT_EQ(m, KoLine(1, 2, 5, 6));
    m = l;
    EXPECT_TRUE(m == l);
    EXPECT_TRUE(KoLine(3, 4, 1, 2) == l);  // direction is ignored
    EXPECT_FALSE(KoLine(3, 4, 1, 2) != l);
    EXPECT_TRUE(KoLine(1, 2, 3, 5) != l);
    EXPECT_FALSE(KoLine(1, 2, 1, 2) == KoLine(1, 2, 3, 4));
}

TEST(Line, CheckSide) {
    const KoLine l(0, 0, 1, 0);
    EXPECT_EQ(l.CheckSide(KoPoint(0, 1)), -1);
    EXPECT_EQ(l.CheckSide(KoPoint(0, -1)), 1);
    EXPECT_EQ(l.CheckSide(KoPoint(5, 0)), 0);
    const KoLine reversed(1, 0, 0, 0);
    EXPECT_EQ(reversed.CheckSide(KoPoint(0, 1)), 1);
    EXPECT_EQ(reversed.CheckSide(KoPoint(0, -1)), -1);
    EXPECT_EQ(l.CheckSide(KoPoint(std::numeric_limits<double>::quiet_NaN(), 0)), -1);
    EXPECT_EQ(KoLine(2, 2, 2, 2).CheckSide(KoPoint(7, -3)), 0);  // degenerate line
}

TEST(Line, LineIntersection) {
    KoPoint p(9, 9);
    EXPECT_EQ(KoLine(0, 0, 2, 2).LineIntersection(KoLine(0, 2, 2, 0), p), 1);
    EXPECT_EQ(p, KoPoint(1, 1));
    EXPECT_EQ(KoLine(0, 0, 1, 0).LineIntersection(KoLine(2, -1, 2, 1), p), 1);
    EXPECT_EQ(p, KoPoint(2, 0));  // outside the segments: the lines still meet
    EXPECT_EQ(KoLine(0, 0, 1, 0).LineIntersection(KoLine(1, 0, 1, 1), p), 1);
    EXPECT_EQ(p, KoPoint(1, 0));

    p = KoPoint(9, 9);
    EXPECT_EQ(KoLine(0, 0, 1, 0).LineIntersection(KoLine(0, 1, 1, 1), p), 0);  // parallel
    EXPECT_EQ(p, KoPoint(0, 0));
    p = KoPoint(9, 9);
    EXPECT_EQ(KoLine(0, 0, 2, 0).LineIntersection(KoLine(1, 0, 3, 0), p), 0);  // other points
    EXPECT_EQ(p, KoPoint(0, 0));
    p = KoPoint(9, 9);
    EXPECT_EQ(KoLine(1, 2, 3, 4).LineIntersection(KoLine(3, 4, 1, 2), p), 2);  // itself reversed
    EXPECT_EQ(p, KoPoint(0, 0));
    EXPECT_EQ(KoLine(1, 2, 3, 4).LineIntersection(KoLine(1, 2, 3, 4), p), 2);

    // The output may be one of the compared points: the code still reports "same points".
    KoLine self(1, 2, 3, 4);
    EXPECT_EQ(self.LineIntersection(self, self[0]), 2);
    EXPECT_EQ(self[0], KoPoint(0, 0));
}

TEST(Line, SegmentIntersectionCodesAndPoints) {
    Segments r = Intersect(KoLine(0, 0, 2, 2), KoLine(0, 2, 2, 0));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.points, std::vector<KoPoint>{KoPoint(1, 1)});

    EXPECT_EQ(Intersect(KoLine(0, 0, 1, 0), KoLine(2, -1, 2, 1)).code, 0);
    EXPECT_EQ(Intersect(KoLine(0, 0, 1, 0), KoLine(0, 1, 1, 1)).code, 0);  // parallel

    r = Intersect(KoLine(0, 0, 1, 0), KoLine(1, 0, 1, 1));  // closed ranges
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.points, std::vector<KoPoint>{KoPoint(1, 0)});

    // Collinear overlaps: a, b within the other segment first, then c, d within this one.
    r = Intersect(KoLine(0, 0, 2, 0), KoLine(1, 0, 3, 0));
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.points, (std::vector<KoPoint>{KoPoint(2, 0), KoPoint(1, 0)}));
    r = Intersect(KoLine(0, 0, 1, 0), KoLine(1, 0, 2, 0));
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.points, (std::vector<KoPoint>{KoPoint(1, 0), KoPoint(1, 0)}));
    r = Intersect(KoLine(0, 0, 1, 0), KoLine(2, 0, 3, 0));  // disjoint: two unfilled entries
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.points, (std::vector<KoPoint>{KoPoint(0, 0), KoPoint(0, 0)}));
    r = Intersect(KoLine(1, 1, 4, 4), KoLine(0, 0, 5, 5));  // this inside the other: a, b
    EXPECT_EQ(r.points, (std::vector<KoPoint>{KoPoint(1, 1), KoPoint(4, 4)}));
    r = Intersect(KoLine(5, 5, 0, 0), KoLine(1, 1, 4, 4));  // the other inside this: c, d
    EXPECT_EQ(r.points, (std::vector<KoPoint>{KoPoint(1, 1), KoPoint(4, 4)}));
    r = Intersect(KoLine(0, 0, 3, 0), KoLine(3, 0, 2, 0));  // b, then c; d is not reached
    EXPECT_EQ(r.points, (std::vector<KoPoint>{KoPoint(3, 0), KoPoint(3, 0)}));
    r = Intersect(KoLine(2, 0, 2, 0), KoLine(0, 0, 4, 0));  // a point segment on the other
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.points, (std::vector<KoPoint>{KoPoint(2, 0), KoPoint(2, 0)}));
}

TEST(Line, SegmentIntersectionHandsOverTheArray) {
    KoLine a(0, 0, 2, 2), b(0, 2, 2, 0), far(5, 5, 6, 7);
    KoPoint* out = new KoPoint[3];
    KoPoint* const previous = out;
    EXPECT_EQ(a.SegmentIntersection(far, out), 0);
    EXPECT_EQ(out, previous);                     // untouched on code 0
    EXPECT_EQ(a.SegmentIntersection(b, out), 1);  // the old array is released (ASan checks)
    EXPECT_EQ(out[0], KoPoint(1, 1));
    KoLine c(0, 0, 4, 4);
    EXPECT_EQ(a.SegmentIntersection(c, out), 2);
    EXPECT_EQ(out[0], KoPoint(0, 0));
    EXPECT_EQ(out[1], KoPoint(2, 2));
    delete[] out;
    EXPECT_EQ(c, KoLine(0, 0, 4, 4));  // the other segment is not modified
}

}  // namespace
