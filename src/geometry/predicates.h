// SPDX-License-Identifier: MIT
// The elementary formulas of the plane, written once and used by every geometry class: the side
// value of a point against a directed line, the projection test onto a segment and the
// intersection of two lines. Each expression is evaluated exactly in the grouping written, since
// every decision compares its result exactly with 0 or with a bound. Not exported.
#ifndef KOCALVIX_SRC_GEOMETRY_PREDICATES_H
#define KOCALVIX_SRC_GEOMETRY_PREDICATES_H

#include "geometry/coordinates.h"

namespace kocalvix {
namespace geometry {

/// The cross value of p against the line from a to b,
/// (p.y - a.y) * (b.x - a.x) - (b.y - a.y) * (p.x - a.x): 0 on the line, < 0 on its clockwise
/// (right-hand) side. KoPoint::IsSameline, KoLine::CheckSide and the triangle inside test all
/// use it (their written forms differ only in the order of the factors of a product).
inline double Cross(Vec2 p, Vec2 a, Vec2 b) {
    return (p.y - a.y) * (b.x - a.x) - (b.y - a.y) * (p.x - a.x);
}

/// The side code of a cross value: 1 when < 0, 0 when == 0, -1 otherwise (> 0 or NaN).
inline int SideCode(double side) {
    if (side < 0.0) {
        return 1;
    }
    if (side == 0.0) {
        return 0;
    }
    return -1;
}

/// False when the projection value dot = (p.x - a.x)*(b.x - a.x) + (p.y - a.y)*(b.y - a.y) is
/// < 0 or > len2 = (b.x - a.x)^2 + (b.y - a.y)^2; true otherwise, so a NaN dot passes.
inline bool IsBetweenWithoutCheck(Vec2 p, Vec2 a, Vec2 b) {
    const double dot = (p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y);
    const double len2 = (b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y);
    if (dot < 0.0) {
        return false;
    }
    if (dot > len2) {
        return false;
    }
    return true;
}

/// The determinant and intersection point of the lines a-b and c-d.
struct Crossing {
    double denom;
    Vec2 point;
};

inline Crossing Intersect(Vec2 a, Vec2 b, Vec2 c, Vec2 d) {
    Crossing r;
    r.denom = (a.x - b.x) * (c.y - d.y) - (c.x - d.x) * (a.y - b.y);
    const double k1 = a.x * b.y - a.y * b.x;
    const double k2 = c.x * d.y - c.y * d.x;
    r.point.x = (k1 * (c.x - d.x) - k2 * (a.x - b.x)) / r.denom;
    r.point.y = (k1 * (c.y - d.y) - k2 * (a.y - b.y)) / r.denom;
    return r;
}

/// The point LineIntersection stores: the intersection, or (0, 0) when denom == 0.
inline Vec2 LineIntersectionPoint(const Crossing& r) {
    return r.denom == 0.0 ? Vec2{0.0, 0.0} : r.point;
}

}  // namespace geometry
}  // namespace kocalvix

#endif  // KOCALVIX_SRC_GEOMETRY_PREDICATES_H
