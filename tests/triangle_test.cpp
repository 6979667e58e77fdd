// SPDX-License-Identifier: MIT
// KoTriangle: orientation, the overlap polygon of two triangles and its area, checked on the
// exact edge cases and against an independent clipping computation on random pairs.
#include <kocalvix/geometry.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <ostream>
#include <random>
#include <vector>

#include "geometry_test_support.h"

namespace {

using test_support::Points;
using test_support::Vertices;

Points Overlap(const KoTriangle& a, KoTriangle b) {
    return Vertices(a.CalculatePolygonvertex(b));
}

double Coverage(const KoTriangle& a, KoTriangle b) {
    return a.CoverageArea(b);
}

TEST(Triangle, ConstructorsAndCopies) {
    const Points abc{KoPoint(1, 2), KoPoint(3, 4), KoPoint(5, 6)};
    EXPECT_EQ(Vertices(KoTriangle()), Points(3, KoPoint(0, 0)));
    EXPECT_EQ(Vertices(KoTriangle(1, 2, 3, 4, 5, 6)), abc);
    EXPECT_EQ(Vertices(KoTriangle(abc.data())), abc);
    EXPECT_EQ(KoTriangle(Points{KoPoint(1, 1)}).size(), 1);  // the vector's count
    EXPECT_EQ(KoTriangle(Points(5)).size(), 5);

    KoTriangle t(abc);
    KoTriangle copy(t);
    copy[0] = KoPoint(9, 9);
    EXPECT_EQ(t[0], KoPoint(1, 2));
    copy = t;
    EXPECT_EQ(Vertices(copy), abc);
}

TEST(Triangle, CheckClockwise) {
    EXPECT_EQ(KoTriangle(0, 0, 0, 1, 1, 0).CheckClockwise(), 1);
    EXPECT_EQ(KoTriangle(0, 0, 1, 0, 0, 1).CheckClockwise(), -1);
    EXPECT_EQ(KoTriangle(0, 0, 1, 1, 2, 2).CheckClockwise(), 0);
    EXPECT_EQ(KoTriangle(0, 0, 0, 1, std::nan(""), 0).CheckClockwise(), -1);
    // Fewer than three vertices read vertex 0 in place of the missing ones.
    EXPECT_EQ(KoTriangle(Points{KoPoint(0, 0), KoPoint(1, 1)}).CheckClockwise(), 0);
}

TEST(Triangle, OverlapOfProperTriangles) {
    const KoTriangle unit(0, 0, 1, 0, 0, 1);
    EXPECT_EQ(Overlap(unit, unit), (Points{KoPoint(0, 1), KoPoint(1, 0), KoPoint(0, 0)}));
    EXPECT_EQ(Coverage(unit, unit), 0.5);

    const KoTriangle a(0, 0, 2, 0, 0, 2);
    const KoTriangle b(1, 0, 3, 0, 1, 2);
    EXPECT_EQ(Overlap(a, b), (Points{KoPoint(2, 0), KoPoint(1, 1), KoPoint(1, 0)}));
    EXPECT_EQ(Coverage(a, b), 0.5);

    const KoTriangle inner(1, 1, 2, 1, 1, 2);
    const KoTriangle outer(0, 0, 4, 0, 0, 4);
    EXPECT_EQ(Overlap(inner, outer), (Points{KoPoint(1, 2), KoPoint(2, 1), KoPoint(1, 1)}));
    EXPECT_EQ(Coverage(outer, inner), 0.5);

    EXPECT_EQ(Overlap(unit, KoTriangle(5, 5, 6, 5, 5, 6)), Points{});
}

TEST(Triangle, SixPointedStar) {
    const KoTriangle up(0, 0, 6, 0, 3, 6);
    KoTriangle down(0, 4, 6, 4, 3, -2);
    const KoPolygon overlap = up.CalculatePolygonvertex(down);
    EXPECT_EQ(Vertices(overlap), (Points{KoPoint(4, 4), KoPoint(2, 4), KoPoint(5, 2), KoPoint(4, 0),
                                         KoPoint(2, 0), KoPoint(1, 2)}));
    KoPolygon sorted(overlap);
    sorted.SortVertice();
    EXPECT_EQ(Vertices(sorted), (Points{KoPoint(4, 0), KoPoint(5, 2), KoPoint(4, 4), KoPoint(2, 4),
                                        KoPoint(1, 2), KoPoint(2, 0)}));
    EXPECT_EQ(up.CoverageArea(down), 12.0);
    // Neither operand changes, although the counter-clockwise one is normalised internally.
    EXPECT_EQ(Vertices(up), (Points{KoPoint(0, 0), KoPoint(6, 0), KoPoint(3, 6)}));
    EXPECT_EQ(Vertices(down), (Points{KoPoint(0, 4), KoPoint(6, 4), KoPoint(3, -2)}));
}

TEST(Triangle, TouchingAndDegenerateOverlaps) {
    const KoTriangle unit(0, 0, 1, 0, 0, 1);
    // Touching at one vertex only.
    EXPECT_EQ(Overlap(unit, KoTriangle(1, 0, 2, 0, 1, 1)), Points{KoPoint(1, 0)});
    EXPECT_EQ(Coverage(unit, KoTriangle(1, 0, 2, 0, 1, 1)), 0.0);
    // Sharing the edge (1, 0)-(0, 1).
    EXPECT_EQ(Overlap(unit, KoTriangle(1, 0, 0, 1, 1, 1)), (Points{KoPoint(0, 1), KoPoint(1, 0)}));
    EXPECT_EQ(Coverage(unit, KoTriangle(1, 0, 0, 1, 1, 1)), 0.0);

    // Point triangles, in either role.
    const KoTriangle big(0, 0, 3, 0, 0, 3);
    const KoTriangle inside(1, 1, 1, 1, 1, 1);
    const KoTriangle outside(5, 5, 5, 5, 5, 5);
    EXPECT_EQ(Overlap(inside, big), Points{KoPoint(1, 1)});
    EXPECT_EQ(Overlap(big, inside), Points{KoPoint(1, 1)});
    EXPECT_EQ(Overlap(outside, big), Points{});
    EXPECT_EQ(Overlap(big, outside), Points{});
    EXPECT_EQ(Overlap(KoTriangle(3, 0, 3, 0, 3, 0), big), Points{KoPoint(3, 0)});  // on a vertex
    EXPECT_EQ(Overlap(inside, inside), Points{KoPoint(1, 1)});
    // A one-vertex triangle is a point triangle through the clamped reads.
    EXPECT_EQ(Overlap(KoTriangle(Points{KoPoint(1, 1)}), big), Points{KoPoint(1, 1)});
    EXPECT_EQ(Overlap(big, KoTriangle(Points{KoPoint(1, 1)})), Points{KoPoint(1, 1)});

    // A flat triangle (collinear vertices) across the big one: its part inside, no area.
    const KoTriangle flat(-1, 1, 1, 1, 4, 1);
    EXPECT_EQ(Overlap(flat, big), (Points{KoPoint(2, 1), KoPoint(1, 1), KoPoint(0, 1)}));
    EXPECT_EQ(Coverage(flat, big), 0.0);

    // Triangles without vertices: the empty polygon and 0, on either side.
    const KoTriangle none(Points{});
    EXPECT_EQ(Overlap(none, big), Points{});
    EXPECT_EQ(Overlap(big, none), Points{});
    EXPECT_EQ(Coverage(none, none), 0.0);
    EXPECT_EQ(Coverage(big, none), 0.0);
}

// ---- Random pairs against Sutherland-Hodgman clipping ------------------------------------------

struct P {
    double x;
    double y;
};

double Cross(const P& o, const P& a, const P& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

double SignedArea(const std::vector<P>& v) {
    double s = 0.0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const P& a = v[i];
        const P& b = v[(i + 1) % v.size()];
        s += a.x * b.y - a.y * b.x;
    }
    return 0.5 * s;
}

// The part of `subject` inside the convex counter-clockwise polygon `clip`.
std::vector<P> ClipPolygon(std::vector<P> subject, const std::vector<P>& clip) {
    for (std::size_t e = 0; e < clip.size() && !subject.empty(); ++e) {
        const P& e0 = clip[e];
        const P& e1 = clip[(e + 1) % clip.size()];
        std::vector<P> input;
        input.swap(subject);
        for (std::size_t k = 0; k < input.size(); ++k) {
            const P& cur = input[k];
            const P& prev = input[(k + input.size() - 1) % input.size()];
            const double sc = Cross(e0, e1, cur);
            const double sp = Cross(e0, e1, prev);
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

TEST(Triangle, CoverageAreaMatchesClippingOnRandomPairs) {
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const double scales[] = {1.0, 1000.0, 0.001};
    int compared = 0;
    int overlapping = 0;
    for (int pair = 0; pair < 4000; ++pair) {
        const double scale = scales[pair % 3];
        double m = 0.0;  // the largest coordinate magnitude
        const auto draw = [&](double s) {
            std::vector<P> t(3);
            for (P& p : t) {
                p = P{unit(rng) * s, unit(rng) * s};
                m = std::max({m, std::fabs(p.x), std::fabs(p.y)});
            }
            return t;
        };
        const std::vector<P> a = draw(scale);
        const std::vector<P> b = draw(scale * 0.8);
        const double m2 = m * m;
        if (std::fabs(SignedArea(a)) < 1e-3 * m2 || std::fabs(SignedArea(b)) < 1e-3 * m2) {
            continue;  // flat or sliver triangles: exact edge-case tests cover them
        }
        ++compared;

        KoTriangle ta(a[0].x, a[0].y, a[1].x, a[1].y, a[2].x, a[2].y);
        KoTriangle tb(b[0].x, b[0].y, b[1].x, b[1].y, b[2].x, b[2].y);
        std::vector<P> clip = b;
        if (SignedArea(clip) < 0) {
            std::reverse(clip.begin(), clip.end());
        }
        const double expected = std::fabs(SignedArea(ClipPolygon(a, clip)));
        if (expected > 1e-3 * m2) {
            ++overlapping;
        }
        const double tolerance = 64.0 * m2 * std::ldexp(1.0, -52);
        ASSERT_NEAR(ta.CoverageArea(tb), expected, tolerance) << "pair " << pair;
        ASSERT_NEAR(tb.CoverageArea(ta), expected, tolerance) << "pair " << pair;
    }
    EXPECT_GT(compared, 2000);
    EXPECT_GT(overlapping, compared / 4);  // the pairs do exercise real overlaps
}

}  // namespace
