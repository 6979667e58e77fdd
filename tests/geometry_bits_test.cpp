// SPDX-License-Identifier: MIT
// The geometry classes against their formulas written out literally, on plain doubles read
// through the public accessors, bit for bit: side test, line and segment intersection, polygon
// area, angular sort and fan test, and the overlap of two triangles with its area. Coordinates
// come from a small grid (exact ties, shared vertices, collinear edges) or are random, mixed
// with -0.0, infinities and NaN.
#include <kocalvix/geometry.h>

#include <gtest/gtest.h>

#include "bits_test_support.h"

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

using test_support::SameBits;

struct P {
    double x;
    double y;
};

bool SameBits(const KoPoint& a, P b) {
    return SameBits(a.at(0), b.x) && SameBits(a.at(1), b.y);
}

double Coordinate(std::mt19937_64& rng) {
    switch (rng() % 16) {
        case 0:
            return -0.0;
        case 1:
            return std::numeric_limits<double>::quiet_NaN();
        case 2:
            return (rng() % 2 ? 1 : -1) * std::numeric_limits<double>::infinity();
        case 3:
        case 4:
        case 5:
            return std::uniform_real_distribution<double>(-3.0, 3.0)(rng);
        default:
            return 0.5 * static_cast<double>(rng() % 7);  // the grid 0, 0.5 .. 3
    }
}

// ---- The literal forms ---------------------------------------------------------------------

// CheckSide: (b.x - a.x)*(q.y - a.y) - (b.y - a.y)*(q.x - a.x), 1 / 0 / -1.
int Side(P a, P b, P q) {
    const double side = (b.x - a.x) * (q.y - a.y) - (b.y - a.y) * (q.x - a.x);
    return side < 0.0 ? 1 : side == 0.0 ? 0 : -1;
}

// LineIntersection's output point; `denom` receives the determinant.
P LinePoint(P a, P b, P c, P d, double& denom) {
    denom = (a.x - b.x) * (c.y - d.y) - (c.x - d.x) * (a.y - b.y);
    const double k1 = a.x * b.y - a.y * b.x;
    const double k2 = c.x * d.y - c.y * d.x;
    if (denom == 0.0) {
        return P{0.0, 0.0};
    }
    return P{(k1 * (c.x - d.x) - k2 * (a.x - b.x)) / denom,
             (k1 * (c.y - d.y) - k2 * (a.y - b.y)) / denom};
}

bool Between(P p, P a, P b) {
    const double dot = (p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y);
    const double len2 = (b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y);
    return !(dot < 0.0) && !(dot > len2);
}

bool Equal(P a, P b) {
    return a.x == b.x && a.y == b.y;
}

double Area(const std::vector<P>& v) {
    const std::size_t n = v.size();
    if (n == 0) {
        return 0.0;
    }
    double sum = 0.0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        sum += v[i].x * v[i + 1].y - v[i].y * v[i + 1].x;
    }
    const double closing = v[n - 1].x * v[0].y - v[n - 1].y * v[0].x;
    return std::fabs((closing + sum) * 0.5);
}

std::vector<P> Sorted(std::vector<P> v) {
    if (v.empty()) {
        return v;
    }
    double sx = v[0].x;
    double sy = v[0].y;
    for (std::size_t i = 1; i < v.size(); ++i) {
        sx += v[i].x;
        sy += v[i].y;
    }
    const double cx = sx / static_cast<double>(v.size());
    const double cy = sy / static_cast<double>(v.size());
    struct Entry {
        P p;
        double dx;
        double dy;
    };
    std::vector<Entry> e;
    for (P p : v) {
        e.push_back(Entry{p, p.x - cx, p.y - cy});
    }
    for (std::size_t i = 0; i + 1 < e.size(); ++i) {
        for (std::size_t j = i + 1; j < e.size(); ++j) {
            const Entry& a = e[i];
            const Entry& b = e[j];
            const bool before = (a.dx < 0.0 && !(b.dx < 0.0)) ||
                                ((a.dx < 0.0) == (b.dx < 0.0) && a.dy * b.dx > a.dx * b.dy);
            if (before) {
                std::swap(e[i], e[j]);
            }
        }
    }
    for (std::size_t i = 0; i < v.size(); ++i) {
        v[i] = e[i].p;
    }
    return v;
}

bool FanTest(const std::vector<P>& v) {
    const int n = static_cast<int>(v.size());
    if (n <= 3) {
        return true;
    }
    const auto c = [&v](int i) {
        return (v[i + 1].x - v[i].x) * (v[i].y - v[0].y) -
               (v[i].x - v[0].x) * (v[i + 1].y - v[i].y);
    };
    double prev = c(1);
    for (int i = 2; i <= n - 2; ++i) {
        if (c(i) * prev < 0.0) {
            return false;
        }
        prev = c(i);
    }
    return true;
}

// The triangle overlap, step by step as the algorithm is written.
std::vector<P> Overlap(const std::vector<P>& first, const std::vector<P>& second) {
    if (first.empty() || second.empty()) {
        return {};
    }
    const auto corners = [](const std::vector<P>& t) {
        std::vector<P> c(3);
        for (std::size_t i = 0; i < 3; ++i) {
            c[i] = t[i < t.size() ? i : 0];
        }
        const double turn =
            (c[1].y - c[0].y) * (c[2].x - c[1].x) - (c[2].y - c[1].y) * (c[1].x - c[0].x);
        if (!(turn > 0.0) && !(turn == 0.0)) {
            std::swap(c[0], c[2]);
        }
        return c;
    };
    const std::vector<P> A = corners(first);
    const std::vector<P> B = corners(second);
    const auto inside = [](const std::vector<P>& t, P q) {
        for (int i = 0; i < 3; ++i) {
            const P a = t[i];
            const P b = t[(i + 1) % 3];
            const double side = (q.y - a.y) * (b.x - a.x) - (q.x - a.x) * (b.y - a.y);
            if (!(side < 0.0 || side == 0.0)) {
                return false;
            }
        }
        return true;
    };
    if (Equal(A[0], A[1]) && Equal(A[1], A[2])) {
        return inside(B, A[0]) ? std::vector<P>{A[0]} : std::vector<P>{};
    }
    if (Equal(B[0], B[1]) && Equal(B[1], B[2])) {
        return inside(A, B[0]) ? std::vector<P>{B[0]} : std::vector<P>{};
    }
    int s[3][3];
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) {
            s[j][i] = Side(B[i], B[(i + 1) % 3], A[j]);
        }
    }
    std::vector<P> list;
    for (int i = 0; i < 3; ++i) {
        const P bi = B[i];
        const P bn = B[(i + 1) % 3];
        for (int j = 0; j < 3; ++j) {
            const int jn = (j + 1) % 3;
            if (s[j][i] != 0 && s[j][i] + s[jn][i] == 0) {
                double denom;
                const P p = LinePoint(bi, bn, A[j], A[jn], denom);
                if (Between(p, bi, bn)) {
                    list.push_back(p);
                }
            }
        }
        if (s[i][0] != -1 && s[i][1] != -1 && s[i][2] != -1) {
            list.push_back(A[i]);
        }
        if (inside(A, bi)) {
            list.push_back(bi);
        }
    }
    std::vector<P> kept;
    for (std::size_t k = 0; k < list.size(); ++k) {
        bool repeated = false;
        for (std::size_t e = 0; e < k; ++e) {
            repeated = repeated || Equal(list[e], list[k]);
        }
        if (!repeated) {
            kept.push_back(list[k]);
        }
    }
    return kept;
}

// ---- The loop --------------------------------------------------------------------------------

std::vector<KoPoint> ToPoints(const std::vector<P>& v) {
    std::vector<KoPoint> points;
    for (P p : v) {
        points.emplace_back(p.x, p.y);
    }
    return points;
}

::testing::AssertionResult SameVertices(const KoPolygon& polygon, const std::vector<P>& v) {
    if (polygon.size() != static_cast<int>(v.size())) {
        return ::testing::AssertionFailure() << polygon.size() << " vertices, not " << v.size();
    }
    for (int i = 0; i < polygon.size(); ++i) {
        if (!SameBits(polygon[i], v[static_cast<std::size_t>(i)])) {
            return ::testing::AssertionFailure() << "vertex " << i;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(GeometryBits, EveryFormulaMatchesItsLiteralForm) {
    std::mt19937_64 rng(99);
    for (int round = 0; round < 20000; ++round) {
        SCOPED_TRACE(round);
        std::vector<P> v(rng() % 9);
        for (P& p : v) {
            p = P{Coordinate(rng), Coordinate(rng)};
        }
        KoPolygon polygon(ToPoints(v));
        EXPECT_TRUE(SameBits(polygon.Area(), Area(v)));
        EXPECT_EQ(polygon.IsNonSelfIntersection(), FanTest(v));
        EXPECT_TRUE(SameVertices(polygon.SortVertice(), Sorted(v)));

        // Two triangles, now and then with another vertex count than three.
        std::vector<P> t[2];
        for (std::vector<P>& tri : t) {
            tri.resize(rng() % 8 == 0 ? 1 + rng() % 4 : 3);
            for (P& p : tri) {
                p = P{Coordinate(rng), Coordinate(rng)};
            }
            if (rng() % 4 == 0) {
                tri[0] = t[0][0];  // a shared vertex
            }
        }
        KoTriangle first(ToPoints(t[0]));
        KoTriangle second(ToPoints(t[1]));
        const std::vector<P> overlap = Overlap(t[0], t[1]);
        EXPECT_TRUE(SameVertices(first.CalculatePolygonvertex(second), overlap));
        EXPECT_TRUE(SameBits(first.CoverageArea(second), Area(Sorted(overlap))));
        EXPECT_TRUE(SameVertices(first, t[0]));

        // Lines through the first two vertices of each triangle.
        const P a = t[0][0], b = t[0][t[0].size() > 1 ? 1 : 0];
        const P c = t[1][0], d = t[1][t[1].size() > 1 ? 1 : 0];
        const KoLine ab(a.x, a.y, b.x, b.y);
        KoLine cd(c.x, c.y, d.x, d.y);
        EXPECT_EQ(ab.CheckSide(KoPoint(c.x, c.y)), Side(a, b, c));
        double denom;
        const P expected = LinePoint(a, b, c, d, denom);
        KoPoint out;
        const int code = ab.LineIntersection(cd, out);
        EXPECT_TRUE(SameBits(out, expected));
        EXPECT_EQ(code, denom == 0.0 ? (ab == cd ? 2 : 0) : 1);
        KoPoint* points = nullptr;
        if (ab.SegmentIntersection(cd, points) == 1) {
            EXPECT_FALSE(denom == 0.0);
            EXPECT_TRUE(Between(expected, a, b) && Between(expected, c, d));
            EXPECT_TRUE(SameBits(points[0], expected));
        } else if (!(denom == 0.0)) {
            EXPECT_FALSE(Between(expected, a, b) && Between(expected, c, d));
        }
        delete[] points;
    }
}

}  // namespace
