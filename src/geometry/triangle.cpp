// SPDX-License-Identifier: MIT
// KoTriangle: orientation, and the overlap polygon and overlap area of two triangles. The
// overlap is collected into a small local array of plain points; CoverageArea sorts and measures
// that array directly, without building a polygon.
#include <kocalvix/geometry.h>

#include "geometry/coordinates.h"
#include "geometry/polygon_algorithms.h"
#include "geometry/predicates.h"

using kocalvix::geometry::Access;
using kocalvix::geometry::ClampedVertex;
using kocalvix::geometry::Cross;
using kocalvix::geometry::Vec2;

namespace {

// The most candidates the overlap collects: per edge of the second triangle three crossings,
// one vertex of each triangle.
constexpr int kMaxOverlap = 15;

// Vertices 0, 1, 2 of a triangle (clamped reads).
struct Corners {
    Vec2 p[3];
};

Corners ReadCorners(const KoPolygon& t) {
    return Corners{{ClampedVertex(t, 0), ClampedVertex(t, 1), ClampedVertex(t, 2)}};
}

// The orientation value of vertices 0, 1, 2: > 0 when they run clockwise.
double Turn(const Vec2* p) {
    return (p[1].y - p[0].y) * (p[2].x - p[1].x) - (p[2].y - p[1].y) * (p[1].x - p[0].x);
}

// Makes a triangle clockwise by swapping vertices 0 and 2 when its turn value is neither > 0
// nor == 0 (counter-clockwise or NaN). Collinear vertices stay as they are.
void MakeClockwise(Corners& t) {
    const double turn = Turn(t.p);
    if (!(turn > 0.0) && !(turn == 0.0)) {
        const Vec2 first = t.p[0];
        t.p[0] = t.p[2];
        t.p[2] = first;
    }
}

// True when q lies in the closed clockwise triangle t: on the right of, or on, each of its
// directed edges. A NaN side value counts as outside.
bool IsInsideTriangle(const Corners& t, Vec2 q) {
    for (int i = 0; i < 3; ++i) {
        const double side = Cross(q, t.p[i], t.p[(i + 1) % 3]);
        if (!(side < 0.0 || side == 0.0)) {
            return false;
        }
    }
    return true;
}

bool IsPoint(const Corners& t) {
    return t.p[0] == t.p[1] && t.p[1] == t.p[2];
}

// The overlap of triangles `first` and `second`, in collection order without exact duplicates,
// written to out[0 ..]; returns the number of points (at most kMaxOverlap).
int Overlap(const KoPolygon& first, const KoPolygon& second, Vec2* out) {
    if (Access::Count(first) == 0 || Access::Count(second) == 0) {
        return 0;
    }
    // Clockwise copies; neither operand changes.
    Corners a = ReadCorners(first);
    Corners b = ReadCorners(second);
    MakeClockwise(a);
    MakeClockwise(b);

    if (IsPoint(a)) {
        out[0] = a.p[0];
        return IsInsideTriangle(b, a.p[0]) ? 1 : 0;
    }
    if (IsPoint(b)) {
        out[0] = b.p[0];
        return IsInsideTriangle(a, b.p[0]) ? 1 : 0;
    }

    // side[j][i]: the CheckSide code of a's vertex j against the directed edge i of b.
    int side[3][3];
    bool aInside[3];
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) {
            side[j][i] = kocalvix::geometry::SideCode(Cross(a.p[j], b.p[i], b.p[(i + 1) % 3]));
        }
        aInside[j] = side[j][0] != -1 && side[j][1] != -1 && side[j][2] != -1;
    }

    Vec2 candidates[kMaxOverlap];
    int n = 0;
    for (int i = 0; i < 3; ++i) {
        const Vec2 edge0 = b.p[i];
        const Vec2 edge1 = b.p[(i + 1) % 3];
        for (int j = 0; j < 3; ++j) {
            const int next = (j + 1) % 3;
            // a's edge j -> next has its ends strictly on opposite sides of b's edge line i.
            if (side[j][i] != 0 && side[j][i] + side[next][i] == 0) {
                const Vec2 crossing = kocalvix::geometry::LineIntersectionPoint(
                    kocalvix::geometry::Intersect(edge0, edge1, a.p[j], a.p[next]));
                if (kocalvix::geometry::IsBetweenWithoutCheck(crossing, edge0, edge1)) {
                    candidates[n++] = crossing;
                }
            }
        }
        if (aInside[i]) {
            candidates[n++] = a.p[i];
        }
        if (IsInsideTriangle(a, b.p[i])) {
            candidates[n++] = b.p[i];
        }
    }

    // Keep each candidate unless an equal one stands earlier in the list.
    int kept = 0;
    for (int k = 0; k < n; ++k) {
        bool repeated = false;
        for (int e = 0; e < k && !repeated; ++e) {
            repeated = candidates[e] == candidates[k];
        }
        if (!repeated) {
            out[kept++] = candidates[k];
        }
    }
    return kept;
}

}  // namespace

KoTriangle::KoTriangle() : KoPolygon(KoPoint(), KoPoint(), KoPoint()) {}

KoTriangle::KoTriangle(const double& x0, const double& y0, const double& x1, const double& y1,
                       const double& x2, const double& y2)
    : KoPolygon(KoPoint(x0, y0), KoPoint(x1, y1), KoPoint(x2, y2)) {}

KoTriangle::KoTriangle(const std::vector<double>& a, const std::vector<double>& b,
                       const std::vector<double>& c)
    : KoPolygon(KoPoint(a), KoPoint(b), KoPoint(c)) {}

KoTriangle::KoTriangle(std::vector<KoPoint> v) : KoPolygon(v) {}

KoTriangle::KoTriangle(const KoPoint* p) : KoPolygon(p, 3) {}

KoTriangle::KoTriangle(const KoPoint& a, const KoPoint& b, const KoPoint& c) : KoPolygon(a, b, c) {}

KoTriangle::KoTriangle(const KoTriangle& o) : KoPolygon(o) {}

KoTriangle::~KoTriangle() {}

KoTriangle& KoTriangle::operator=(const KoTriangle& o) {
    KoPolygon::operator=(o);
    return *this;
}

int KoTriangle::CheckClockwise() const {
    const double turn = Turn(ReadCorners(*this).p);
    if (turn > 0.0) {
        return 1;
    }
    if (turn == 0.0) {
        return 0;
    }
    return -1;
}

const KoPolygon KoTriangle::CalculatePolygonvertex(KoTriangle& other) const {
    Vec2 points[kMaxOverlap];
    const int n = Overlap(*this, other, points);
    KoPolygon overlap(nullptr, n);
    KoPoint* vertices = Access::Vertices(overlap);
    for (int k = 0; k < n; ++k) {
        kocalvix::geometry::Store(vertices[k], points[k]);
    }
    return overlap;
}

double KoTriangle::CoverageArea(KoTriangle& other) const {
    Vec2 points[kMaxOverlap];
    const int n = Overlap(*this, other, points);
    kocalvix::geometry::SortByAngle(points, n);
    return kocalvix::geometry::ShoelaceArea(points, n);
}
