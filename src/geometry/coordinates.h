// SPDX-License-Identifier: MIT
// Direct access to the coordinates and vertices of the geometry classes, for the library's own
// code: a plain pair of doubles (Vec2) to compute with, and reads and writes of KoPoint,
// KoLine and KoPolygon storage without a call per element. Not exported.
#ifndef KOCALVIX_SRC_GEOMETRY_COORDINATES_H
#define KOCALVIX_SRC_GEOMETRY_COORDINATES_H

#include <kocalvix/geometry.h>

namespace kocalvix {
namespace geometry {

/// A point of the plane as a plain value.
struct Vec2 {
    double x;
    double y;
};

/// Exact equality of both coordinates, as KoPoint::operator== (a NaN is never equal).
inline bool operator==(Vec2 a, Vec2 b) {
    return a.x == b.x && a.y == b.y;
}

/// The friend of the geometry classes.
struct Access {
    static Vec2 Get(const KoPoint& p) { return Vec2{p.x, p.y}; }
    static void Set(KoPoint& p, Vec2 v) {
        p.x = v.x;
        p.y = v.y;
    }
    static const KoPoint* Points(const KoLine& line) { return line.p; }
    static KoPoint* Vertices(const KoPolygon& polygon) { return polygon.vertices; }
    static int Count(const KoPolygon& polygon) { return polygon.count; }
};

/// The coordinates of p.
inline Vec2 V(const KoPoint& p) {
    return Access::Get(p);
}
inline Vec2 V(Vec2 p) {
    return p;
}

/// Stores v in p.
inline void Store(KoPoint& p, Vec2 v) {
    Access::Set(p, v);
}
inline void Store(Vec2& p, Vec2 v) {
    p = v;
}

/// Vertex i of a polygon by the clamped rule: vertex 0 for an index outside [0, count).
inline Vec2 ClampedVertex(const KoPolygon& polygon, int i) {
    const int n = Access::Count(polygon);
    return V(Access::Vertices(polygon)[i >= 0 && i < n ? i : 0]);
}

}  // namespace geometry
}  // namespace kocalvix

#endif  // KOCALVIX_SRC_GEOMETRY_COORDINATES_H
