// SPDX-License-Identifier: MIT
// What the geometry answers mean: the overlap area of two triangles against an independent
// Sutherland-Hodgman clipping on random pairs, and the shapes whose answers are known by hand.
// The exact bits on these and many more inputs are pinned by the golden corpus.
#include <kocalvix/geometry.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

struct P {
    double x, y;
};

double Cross(const P& o, const P& a, const P& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

double SignedArea(const std::vector<P>& v) {
    double s = 0.0;
    for (size_t i = 0; i < v.size(); ++i) {
        s += v[i].x * v[(i + 1) % v.size()].y - v[i].y * v[(i + 1) % v.size()].x;
    }
    return 0.5 * s;
}

// The part of `subject` inside the convex counter-clockwise polygon `clip`.
std::vector<P> Clip(std::vector<P> subject, const std::vector<P>& clip) {
    for (size_t e = 0; e < clip.size() && !subject.empty(); ++e) {
        const P &e0 = clip[e], &e1 = clip[(e + 1) % clip.size()];
        std::vector<P> input;
        input.swap(subject);
        for (size_t k = 0; k < input.size(); ++k) {
            const P &cur = input[k], &prev = input[(k + input.size() - 1) % input.size()];
            const double sc = Cross(e0, e1, cur), sp = Cross(e0, e1, prev);
            if ((sc >= 0) != (sp >= 0)) {
                const double t = sp / (sp - sc);
                subject.push_back(P{prev.x + t * (cur.x - prev.x), prev.y + t * (cur.y - prev.y)});
            }
            if (sc >= 0) {
                subject.push_back(cur);
            }
        }
    }
    return subject;
}

TEST(Geometry, CoverageAreaMatchesClippingOnRandomPairs) {
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    int compared = 0, overlapping = 0;
    for (int pair = 0; pair < 4000; ++pair) {
        const double scale = pair % 3 == 0 ? 1.0 : pair % 3 == 1 ? 1000.0 : 0.001;
        double m = 0.0;  // the largest coordinate magnitude
        std::vector<P> a(3), b(3);
        for (P& p : a) {
            p = P{unit(rng) * scale, unit(rng) * scale};
        }
        for (P& p : b) {
            p = P{unit(rng) * scale * 0.8, unit(rng) * scale * 0.8};
        }
        for (const P& p : {a[0], a[1], a[2], b[0], b[1], b[2]}) {
            m = std::max({m, std::fabs(p.x), std::fabs(p.y)});
        }
        if (std::fabs(SignedArea(a)) < 1e-3 * m * m || std::fabs(SignedArea(b)) < 1e-3 * m * m) {
            continue;  // slivers: the corpus's exact edge cases cover them
        }
        ++compared;
        KoTriangle ta(a[0].x, a[0].y, a[1].x, a[1].y, a[2].x, a[2].y);
        KoTriangle tb(b[0].x, b[0].y, b[1].x, b[1].y, b[2].x, b[2].y);
        if (SignedArea(b) < 0) {
            std::reverse(b.begin(), b.end());
        }
        const double expected = std::fabs(SignedArea(Clip(a, b)));
        overlapping += expected > 1e-3 * m * m;
        const double tolerance = 64.0 * m * m * std::ldexp(1.0, -52);
        ASSERT_NEAR(ta.CoverageArea(tb), expected, tolerance) << "pair " << pair;
        ASSERT_NEAR(tb.CoverageArea(ta), expected, tolerance) << "pair " << pair;
    }
    EXPECT_GT(compared, 2000);
    EXPECT_GT(overlapping, compared / 4);
}

TEST(Geometry, ShapesWithKnownAnswers) {
    // The six-pointed star: a hexagon of area 12, sorted counter-clockwise from its lowest
    // vertex; neither triangle changes.
    KoTriangle up(0, 0, 6, 0, 3, 6), down(0, 4, 6, 4, 3, -2);
    KoPolygon overlap = up.CalculatePolygonvertex(down);
    EXPECT_EQ(overlap.size(), 6);
    EXPECT_EQ(up.CoverageArea(down), 12.0);
    overlap.SortVertice();
    EXPECT_EQ(overlap.Area(), 12.0);
    EXPECT_EQ(overlap[0], KoPoint(4, 0));
    EXPECT_EQ(overlap[1], KoPoint(5, 2));
    EXPECT_TRUE(overlap.IsNonSelfIntersection());
    EXPECT_EQ(up[2], KoPoint(3, 6));
    EXPECT_EQ(down[2], KoPoint(3, -2));
    // Areas: a square either way round, a bow-tie, a triangle; the empty polygon.
    const KoPoint square[] = {KoPoint(0, 0), KoPoint(1, 0), KoPoint(1, 1), KoPoint(0, 1)};
    const KoPoint reversed[] = {square[3], square[2], square[1], square[0]};
    EXPECT_EQ(KoPolygon(square, 4).Area(), 1.0);
    EXPECT_EQ(KoPolygon(reversed, 4).Area(), 1.0);
    EXPECT_EQ(KoPolygon({square[0], square[2], square[1], square[3]}).Area(), 0.0);
    EXPECT_EQ(KoTriangle(0, 0, 4, 0, 0, 3).Area(), 6.0);
    EXPECT_EQ(KoPolygon().Area(), 0.0);
    // Orientation and sides: clockwise is 1, counter-clockwise -1, collinear 0.
    EXPECT_EQ(KoTriangle(0, 0, 0, 1, 1, 0).CheckClockwise(), 1);
    EXPECT_EQ(KoTriangle(0, 0, 1, 0, 0, 1).CheckClockwise(), -1);
    EXPECT_EQ(KoTriangle(0, 0, 1, 1, 2, 2).CheckClockwise(), 0);
    EXPECT_EQ(KoLine(0, 0, 1, 0).CheckSide(KoPoint(0, 1)), -1);
    EXPECT_EQ(KoLine(0, 0, 1, 0).CheckSide(KoPoint(5, 0)), 0);
    // Crossing lines meet at (1, 1); parallel ones do not; a segment crossing is one point.
    KoPoint crossing;
    EXPECT_EQ(KoLine(0, 0, 2, 2).LineIntersection(KoLine(0, 2, 2, 0), crossing), 1);
    EXPECT_EQ(crossing, KoPoint(1, 1));
    EXPECT_EQ(KoLine(0, 0, 1, 0).LineIntersection(KoLine(0, 1, 1, 1), crossing), 0);
    KoPoint* points = nullptr;
    KoLine other(0, 2, 2, 0);
    EXPECT_EQ(KoLine(0, 0, 2, 2).SegmentIntersection(other, points), 1);
    EXPECT_EQ(points[0], KoPoint(1, 1));
    delete[] points;
    // Betweenness is closed at both ends and exact: no tolerance for a cross value of 1e-17.
    EXPECT_TRUE(KoPoint(2, 0).IsBetween(KoPoint(0, 0), KoPoint(2, 0)));
    EXPECT_FALSE(KoPoint(3, 0).IsBetween(KoPoint(0, 0), KoPoint(2, 0)));
    EXPECT_FALSE(KoPoint(0.3, 0.1).IsSameline(KoPoint(0, 0), KoPoint(3, 1)));
}

}  // namespace
