// SPDX-License-Identifier: MIT
// Planar geometry: points (KoPoint, and the 3-D KoPoint3D), lines and segments (KoLine),
// polygons (KoPolygon) and triangles (KoTriangle).
//
// Conventions shared by every class:
// - All comparisons are exact: there is no tolerance anywhere. Every predicate evaluates one
//   fixed expression (documented below) and compares it with 0 or with a bound, so points that
//   are only nearly collinear are not on the line.
// - Indices are never rejected. Points and lines reduce an index modulo 2 (3 for KoPoint3D) to a
//   non-negative remainder, so -1 addresses the last coordinate or endpoint. Polygons read
//   vertex 0 for any index below 0 or at or past the vertex count.
// - Integer result codes: 1, 0, -1 for sides and orientation; 0, 1, 2 for intersections.
// - Only allocation failures raise: std::bad_alloc, and std::bad_array_new_length for a negative
//   vertex count or a vertex array larger than 0xFFFFFFFF bytes (16 bytes per vertex).
// - The y axis points up: "clockwise" and "right" are meant in that frame.
#ifndef KOCALVIX_GEOMETRY_H
#define KOCALVIX_GEOMETRY_H

#include <vector>

#include "kocalvix/export.h"

namespace kocalvix {
namespace geometry {
// The library's own code reads coordinates and vertices through this (internal) friend, without
// a call per element; hosts use the members below.
struct Access;
}  // namespace geometry
}  // namespace kocalvix

/// A point, or vector, of the plane: the coordinates x (index 0) and y (index 1), stored as two
/// contiguous doubles.
class KOCALVIX_API KoPoint {
  public:
    /// The origin (0, 0).
    KoPoint();
    /// The point (x, y).
    KoPoint(const double& x, const double& y);
    /// The point (v[0], v[1]); elements missing from a shorter vector read as 0.0.
    KoPoint(const std::vector<double>& v);
    /// Member-wise copy.
    KoPoint(const KoPoint& other);
    /// Member-wise copy. Returns *this.
    KoPoint& operator=(const KoPoint& other);

    /// Coordinate i mod 2 (non-negative remainder): x for even i, y for odd i.
    double& operator[](int i);
    /// The same, read-only.
    const double& operator[](int i) const;
    /// Coordinate i mod 2, as operator[].
    const double& at(int i) const;

    /// True when x == o.x and y == o.y (exact; a NaN coordinate makes a point unequal to itself).
    bool operator==(const KoPoint& o) const;
    /// True when x != o.x or y != o.y (exact).
    bool operator!=(const KoPoint& o) const;
    /// Orders by squared distance from the origin: x*x + y*y < o.x*o.x + o.y*o.y. Points at equal
    /// distance compare false both ways, and so does a NaN on either side.
    bool operator<(const KoPoint& o) const;

    /// Adds o component-wise. Returns *this.
    KoPoint& operator+=(const KoPoint& o);
    /// Subtracts o component-wise. Returns *this.
    KoPoint& operator-=(const KoPoint& o);
    /// Multiplies both coordinates by s. Returns *this.
    KoPoint& operator*=(const double& s);
    /// Divides both coordinates by s (IEEE division: no check for zero). Returns *this.
    KoPoint& operator/=(const double& s);
    /// (x + o.x, y + o.y).
    const KoPoint operator+(const KoPoint& o) const;
    /// (x - o.x, y - o.y).
    const KoPoint operator-(const KoPoint& o) const;
    /// (x * s, y * s).
    const KoPoint operator*(const double& s) const;
    /// (x / s, y / s).
    const KoPoint operator/(const double& s) const;

    /// True when this point p lies on the line through a and b, that is when
    /// (p.y - a.y)*(b.x - a.x) - (b.y - a.y)*(p.x - a.x) == 0 exactly (false for NaN). When
    /// a == b every finite point is on the line.
    bool IsSameline(const KoPoint& a, const KoPoint& b) const;
    /// True when this point lies on the closed segment a-b: IsSameline(a, b) and
    /// IsBetweenWithoutCheck(a, b) together. Both endpoints are accepted.
    bool IsBetween(const KoPoint& a, const KoPoint& b) const;
    /// True when this point's projection falls on the closed segment a-b, collinearity not
    /// tested: false when dot < 0 or dot > len2, with dot = (p.x - a.x)*(b.x - a.x) +
    /// (p.y - a.y)*(b.y - a.y) and len2 = (b.x - a.x)^2 + (b.y - a.y)^2; true otherwise, so a
    /// NaN dot yields true.
    bool IsBetweenWithoutCheck(const KoPoint& a, const KoPoint& b) const;

  private:
    friend struct kocalvix::geometry::Access;

    double x;
    double y;
};

/// A point of space: the coordinates x, y, z (indices 0, 1, 2), stored as three contiguous
/// doubles. Arithmetic, indexing and ordering only.
class KOCALVIX_API KoPoint3D {
  public:
    /// The origin (0, 0, 0).
    KoPoint3D();
    /// The point (x, y, z).
    KoPoint3D(double x, double y, double z);
    /// The point (v[0], v[1], v[2]); elements missing from a shorter vector read as 0.0. The
    /// vector is not modified.
    KoPoint3D(std::vector<double>& v);
    /// Member-wise copy.
    KoPoint3D(const KoPoint3D& other);
    /// Member-wise copy. Returns *this.
    KoPoint3D& operator=(const KoPoint3D& other);

    /// Coordinate i mod 3 (non-negative remainder): x, y, z for remainders 0, 1, 2.
    double& operator[](int i);
    /// The same, read-only.
    const double& operator[](int i) const;
    /// Coordinate i mod 3, as operator[].
    const double& at(int i) const;

    /// Orders by squared distance from the origin: (x*x + y*y) + z*z is compared with the same
    /// sum of o; false for equal distances and for NaN.
    bool operator<(const KoPoint3D& o) const;

    /// Adds o component-wise. Returns *this.
    KoPoint3D& operator+=(const KoPoint3D& o);
    /// Subtracts o component-wise. Returns *this.
    KoPoint3D& operator-=(const KoPoint3D& o);
    /// Multiplies every coordinate by s. Returns *this.
    KoPoint3D& operator*=(const double& s);
    /// Divides every coordinate by s (IEEE division). Returns *this.
    KoPoint3D& operator/=(const double& s);
    /// Component-wise sum.
    const KoPoint3D operator+(const KoPoint3D& o) const;
    /// Component-wise difference.
    const KoPoint3D operator-(const KoPoint3D& o) const;
    /// Every coordinate times s.
    const KoPoint3D operator*(const double& s) const;
    /// Every coordinate divided by s.
    const KoPoint3D operator/(const double& s) const;

  private:
    double x;
    double y;
    double z;
};

/// A line through two points, equally the closed segment between them: point 0 then point 1,
/// stored contiguously (also addressable as the four doubles x0, y0, x1, y1). Only CheckSide
/// depends on the direction from point 0 to point 1.
///
/// With a, b this line's points and c, d the other line's points, the line intersection is
///   denom = (a.x - b.x)*(c.y - d.y) - (c.x - d.x)*(a.y - b.y),
///   k1 = a.x*b.y - a.y*b.x,  k2 = c.x*d.y - c.y*d.x,
///   x = (k1*(c.x - d.x) - k2*(a.x - b.x)) / denom,  y = (k1*(c.y - d.y) - k2*(a.y - b.y)) / denom.
class KOCALVIX_API KoLine {
  public:
    /// Both points (0, 0).
    KoLine();
    /// Point 0 = (x0, y0), point 1 = (x1, y1).
    KoLine(const double& x0, const double& y0, const double& x1, const double& y1);
    /// Point 0 = (a[0], a[1]), point 1 = (b[0], b[1]); missing elements read as 0.0.
    KoLine(const std::vector<double>& a, const std::vector<double>& b);
    /// Point 0 = v[0], point 1 = v[1]; points missing from a shorter vector read as (0, 0).
    KoLine(const std::vector<KoPoint>& v);
    /// Point 0 = a, point 1 = b.
    KoLine(const KoPoint& a, const KoPoint& b);
    /// Member-wise copy.
    KoLine(const KoLine& other);
    /// Member-wise copy. Returns *this.
    KoLine& operator=(const KoLine& other);

    /// Point i mod 2 (non-negative remainder).
    KoPoint& operator[](int i);
    /// The same, read-only.
    const KoPoint& operator[](int i) const;
    /// Point i mod 2, as operator[].
    const KoPoint& at(int i) const;
    /// Coordinate j mod 2 of point i mod 2 (both non-negative remainders).
    const double& at(int i, int j) const;

    /// True when both lines have the same two points, in either order (exact comparisons).
    bool operator==(const KoLine& o) const;
    /// The negation of operator==.
    bool operator!=(const KoLine& o) const;

    /// Side of q relative to the directed line from point 0 (a) to point 1 (b), from
    /// side = (b.x - a.x)*(q.y - a.y) - (b.y - a.y)*(q.x - a.x): 1 when side < 0 (the clockwise,
    /// right-hand side), 0 on the line, -1 when side > 0 or NaN.
    int CheckSide(const KoPoint& q) const;
    /// Intersection of the two infinite lines (see the class comment). Returns 1 with the point
    /// in `out` when denom != 0 (also when denom is NaN). When denom == 0, sets `out` to (0, 0)
    /// and returns 2 if both lines have the same two points (either order), 0 otherwise.
    int LineIntersection(const KoLine& o, KoPoint& out) const;
    /// Intersection of the two closed segments; `o` is not modified.
    /// - 1: the segments cross in one point (the line intersection, inside both segments'
    ///   projection ranges); `out` receives a new one-point array.
    /// - 2: denom == 0 and both points of this line lie exactly on the line of `o`; `out`
    ///   receives a new two-point array, filled in order with this line's points 0 and 1 if they
    ///   fall within `o`, then `o`'s points 0 and 1 if they fall within this segment, until two
    ///   are found; unfilled entries stay (0, 0) (collinear but disjoint segments give two).
    /// - 0: no common point found; `out` is left untouched.
    /// On codes 1 and 2 the previous array at `out` (null, or from new[]) is released with
    /// delete[]; the caller owns the new array and releases it with delete[].
    /// Limit: every point lies on the "line" of a zero-length `o`, so such an `o` counts as
    /// collinear: (0, 0)-(1, 0) against (5, 5)-(5, 5) returns 2 although they do not touch.
    int SegmentIntersection(KoLine& o, KoPoint*& out) const;

  private:
    friend struct kocalvix::geometry::Access;

    KoPoint p[2];
};

/// A closed polygon: a vertex count and an owned array of that many vertices, the last vertex
/// joined to the first. Any vertex index below 0 or at or past the count reads vertex 0.
///
/// A polygon with count 0 is valid but has no vertex: reading one asserts in debug builds; in
/// release builds it yields a spare slot owned by the polygon that starts as (0, 0) and is never
/// counted as a vertex.
class KOCALVIX_API KoPolygon {
  public:
    /// One vertex, (0, 0).
    KoPolygon();
    /// The elements of v, in order (count = v.size()).
    KoPolygon(const std::vector<KoPoint>& v);
    /// The n vertices p[0] ... p[n - 1]. With n == 0 (or a null p) p is not read; a null p with
    /// n > 0 gives n vertices (0, 0). Throws std::bad_array_new_length for a negative n.
    KoPolygon(const KoPoint* p, const int& n);
    /// Three vertices a, b, c.
    KoPolygon(const KoPoint& a, const KoPoint& b, const KoPoint& c);
    /// Copy: the same count and vertices in a new array.
    KoPolygon(const KoPolygon& o);
    /// Releases the vertex array.
    ~KoPolygon();
    /// Takes o's count and vertices, in order. The array is replaced when the counts differ;
    /// on allocation failure *this is left unchanged (strong guarantee). Returns *this.
    KoPolygon& operator=(const KoPolygon& o);

    /// The vertex count.
    const int& size() const;
    /// Vertex i when 0 <= i < size(), vertex 0 otherwise.
    KoPoint& operator[](int i);
    /// The same, read-only.
    const KoPoint& operator[](int i) const;
    /// Vertex i when 0 <= i < size(), vertex 0 otherwise.
    const KoPoint& at(int i) const;
    /// When i is not a vertex index (below 0 or at or past size()): x of vertex 0, whatever j.
    /// Otherwise x of vertex i when j >= 2, else coordinate j mod 2 (non-negative remainder).
    const double& at(int i, int j) const;

    /// Fan sign test from vertex 0: true for at most 3 vertices; otherwise false as soon as two
    /// consecutive fan values c(i), c(i + 1) have a strictly negative product, where
    /// c(i) = (P[i+1].x - P[i].x)*(P[i].y - P[0].y) - (P[i].x - P[0].x)*(P[i+1].y - P[i].y)
    /// for i = 1 ... size() - 2 (a zero value passes and restarts the comparison).
    bool IsNonSelfIntersection();
    /// Reorders the vertices in place by angle about their centroid: counter-clockwise, starting
    /// from the direction straight down. Ties (equal angles, vertices straight above and below
    /// the centroid, a vertex at the centroid) keep the order a pairwise exchange pass leaves.
    /// Does nothing for an empty polygon. Returns *this.
    /// Limit: such a tie can leave a convex outline out of order (see KoTriangle::CoverageArea).
    KoPolygon& SortVertice();
    /// Absolute area by the shoelace formula, |(closing + sum) * 0.5|; 0.0 without vertices.
    /// The signed lobes of a self-intersecting outline cancel.
    double Area();

    // ---- Moves --------------------------------------------------------------------------------

    /// Takes over o's vertex array without copying it; `o` is left as KoPolygon(), one vertex
    /// (0, 0). Allocates that vertex (std::bad_alloc on failure, `o` unchanged).
    KoPolygon(KoPolygon&& o);
    /// Exchanges the vertices of *this and `o`, so `o` holds the former vertices of *this.
    /// Never allocates. Returns *this.
    KoPolygon& operator=(KoPolygon&& o) noexcept;

  private:
    friend struct kocalvix::geometry::Access;

    int count;
    KoPoint* vertices;
};

/// A triangle: a polygon, normally of three vertices (the vector constructor takes any count).
/// The triangle operations read vertices 0, 1 and 2 through the polygon's clamped access.
/// With turn = (P1.y - P0.y)*(P2.x - P1.x) - (P2.y - P1.y)*(P1.x - P0.x), turn > 0 means the
/// vertices run clockwise.
class KOCALVIX_API KoTriangle : public KoPolygon {
  public:
    /// Three vertices (0, 0).
    KoTriangle();
    /// Vertices (x0, y0), (x1, y1), (x2, y2).
    KoTriangle(const double& x0, const double& y0, const double& x1, const double& y1,
               const double& x2, const double& y2);
    /// Vertices (a[0], a[1]), (b[0], b[1]), (c[0], c[1]); missing elements read as 0.0.
    KoTriangle(const std::vector<double>& a, const std::vector<double>& b,
               const std::vector<double>& c);
    /// Every element of v as a vertex (count = v.size(), which may differ from 3).
    KoTriangle(std::vector<KoPoint> v);
    /// Vertices p[0], p[1], p[2]; a null p gives three vertices (0, 0).
    KoTriangle(const KoPoint* p);
    /// Vertices a, b, c.
    KoTriangle(const KoPoint& a, const KoPoint& b, const KoPoint& c);
    /// Copy, with the source's count.
    KoTriangle(const KoTriangle& o);
    /// Releases the vertex array.
    ~KoTriangle();
    /// The polygon's assignment: takes o's count and vertices. Returns *this.
    KoTriangle& operator=(const KoTriangle& o);

    /// Orientation: 1 when turn > 0 (clockwise), 0 when turn == 0 (collinear), -1 otherwise
    /// (counter-clockwise, or NaN).
    int CheckClockwise() const;
    /// The overlap of this triangle and `other`: the crossings of their edges and the vertices
    /// of each that lie in the closed other triangle, exact duplicates dropped, in collection
    /// order (not an outline order; see SortVertice). A point triangle gives its point when it
    /// lies in the other one. Empty polygon (size 0) when the triangles do not meet or either
    /// has no vertex. Neither triangle is modified.
    const KoPolygon CalculatePolygonvertex(KoTriangle& other) const;
    /// Area of the overlap: CalculatePolygonvertex(other), sorted with SortVertice, then Area().
    /// 0.0 for an overlap of at most two points. Neither triangle is modified.
    /// Limit: overlap points straight above and below their centroid tie in SortVertice, and the
    /// order (so the area) can then depend on the argument order: A(0, 0, 3, 2, 1, 0) and
    /// B(3, 0, 0, 2, 2, 0) give A.CoverageArea(B) = 0.15 but B.CoverageArea(A) = 0.015.
    double CoverageArea(KoTriangle& other) const;

    // ---- Moves --------------------------------------------------------------------------------

    /// Takes over o's vertex array without copying it; `o` is left as KoTriangle(), three
    /// vertices (0, 0). Allocates those vertices (std::bad_alloc on failure, `o` unchanged).
    KoTriangle(KoTriangle&& o);
    /// Exchanges the vertices of *this and `o`, as the polygon's move assignment. Returns *this.
    KoTriangle& operator=(KoTriangle&& o) noexcept;
};

// ---- Scalar on the left and negation ---------------------------------------------------------

/// (s * x, s * y): the same point as p * s.
KOCALVIX_API KoPoint operator*(const double& s, const KoPoint& p);
/// (-x, -y), the sign bits flipped.
KOCALVIX_API KoPoint operator-(const KoPoint& p);
/// Every coordinate times s: the same point as p * s.
KOCALVIX_API KoPoint3D operator*(const double& s, const KoPoint3D& p);
/// (-x, -y, -z), the sign bits flipped.
KOCALVIX_API KoPoint3D operator-(const KoPoint3D& p);

#endif  // KOCALVIX_GEOMETRY_H
