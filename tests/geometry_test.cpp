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

// Scaling every coordinate by 2 scales each product by 4 and each sum with it, exactly: areas
// become 4 times, crossings twice as far, orientations and sides stay. And the star's overlap.
TEST(Geometry, ScalingByTwoIsExact) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> unit(-10.0, 10.0);
    for (int round = 0; round < 500; ++round) {
        std::vector<KoPoint> p(6), q(6);
        for (int k = 0; k < 6; ++k) {
            const double x = round % 2 == 0 ? std::round(unit(rng)) : unit(rng), y = unit(rng);
            p[k] = KoPoint(x, y), q[k] = KoPoint(2 * x, 2 * y);
        }
        KoTriangle a(p[0], p[1], p[2]), b(p[3], p[4], p[5]), a2(q[0], q[1], q[2]),
            b2(q[3], q[4], q[5]);
        KoPolygon polygon(p), polygon2(q);
        KoLine l(p[0], p[1]), m(p[2], p[3]), l2(q[0], q[1]), m2(q[2], q[3]);
        KoPoint c, c2;
        ASSERT_EQ(l2.LineIntersection(m2, c2), l.LineIntersection(m, c)) << round;
        ASSERT_TRUE(c2 == c * 2.0 && a2.CoverageArea(b2) == 4 * a.CoverageArea(b) &&
                    polygon2.SortVertice().Area() == 4 * polygon.SortVertice().Area() &&
                    a2.CheckClockwise() == a.CheckClockwise() &&
                    l2.CheckSide(q[4]) == l.CheckSide(p[4]))
            << round;
    }
    KoTriangle up(0, 0, 6, 0, 3, 6), down(0, 4, 6, 4, 3, -2);
    EXPECT_EQ(up.CoverageArea(down), 12.0);
    KoPolygon overlap = up.CalculatePolygonvertex(down);
    EXPECT_EQ(overlap.SortVertice().Area(), 12.0);
}

}  // namespace
