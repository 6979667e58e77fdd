// SPDX-License-Identifier: MIT
// The polygon computations on a plain array of n vertices, shared by KoPolygon (on its vertex
// array) and the triangle overlap (on a small local array of Vec2): the shoelace area and the
// angular sort about the centroid. Not exported.
#ifndef KOCALVIX_SRC_GEOMETRY_POLYGON_ALGORITHMS_H
#define KOCALVIX_SRC_GEOMETRY_POLYGON_ALGORITHMS_H

#include <cmath>

#include "geometry/coordinates.h"

namespace kocalvix {
namespace geometry {

/// |(closing + sum) * 0.5| with sum += P[i].x*P[i+1].y - P[i].y*P[i+1].x for i = 0 .. n-2 in
/// order from 0.0 and closing = P[n-1].x*P[0].y - P[n-1].y*P[0].x; 0.0 for n == 0.
template <typename Point>
double ShoelaceArea(const Point* P, int n) {
    if (n == 0) {
        return 0.0;
    }
    double sum = 0.0;
    Vec2 current = V(P[0]);
    for (int i = 0; i + 1 < n; ++i) {
        const Vec2 next = V(P[i + 1]);
        sum += current.x * next.y - current.y * next.x;
        current = next;
    }
    const Vec2 first = V(P[0]);
    const double closing = current.x * first.y - current.y * first.x;
    return std::fabs((closing + sum) * 0.5);
}

/// Reorders P[0 .. n-1] by angle about the centroid (cx, cy), the sums of the coordinates in
/// index order divided by n. With offsets d = P - c, entry b comes before entry a when a is in
/// the left half (a.dx < 0) and b is not, or both are in the same half and
/// a.dy * b.dx > a.dx * b.dy. The pairwise exchange pass below defines the result, ties
/// included (the precedence is not transitive), so no other sort may replace it. Offsets are
/// recomputed from the vertices, which gives the same values as storing them.
template <typename Point>
void SortByAngle(Point* P, int n) {
    if (n == 0) {
        return;
    }
    Vec2 sum = V(P[0]);
    for (int i = 1; i < n; ++i) {
        const Vec2 p = V(P[i]);
        sum.x += p.x;
        sum.y += p.y;
    }
    const Vec2 c{sum.x / static_cast<double>(n), sum.y / static_cast<double>(n)};
    for (int i = 0; i + 1 < n; ++i) {
        Vec2 a = V(P[i]);
        for (int j = i + 1; j < n; ++j) {
            const Vec2 b = V(P[j]);
            const double adx = a.x - c.x;
            const double ady = a.y - c.y;
            const double bdx = b.x - c.x;
            const double bdy = b.y - c.y;
            const bool aLeft = adx < 0.0;
            const bool bLeft = bdx < 0.0;
            const bool bFirst = aLeft != bLeft ? aLeft : ady * bdx > adx * bdy;
            if (bFirst) {
                Store(P[i], b);
                Store(P[j], a);
                a = b;
            }
        }
    }
}

}  // namespace geometry
}  // namespace kocalvix

#endif  // KOCALVIX_SRC_GEOMETRY_POLYGON_ALGORITHMS_H
