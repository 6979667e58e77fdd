// SPDX-License-Identifier: MIT
// KoPolygon: a vertex count with an owned vertex array; clamped vertex access, the shoelace
// area, the angular vertex sort and the fan sign test.
#include <kocalvix/geometry.h>

#include <cassert>
#include <cstddef>
#include <new>
#include <vector>

#include "geometry/coordinates.h"
#include "geometry/polygon_algorithms.h"

namespace {

// The largest vertex count whose array fits 0xFFFFFFFF bytes, the limit of a 32-bit target.
constexpr long long kMaxVertexCount = 0xFFFFFFFFLL / static_cast<long long>(sizeof(KoPoint));

// A vertex array for n vertices. It always has at least one element: an empty polygon keeps a
// spare (0, 0) slot there, so that reading "vertex 0" of it never leaves the array. Throws
// std::bad_array_new_length for a negative or oversized count.
KoPoint* NewVertexArray(long long n) {
    if (n < 0 || n > kMaxVertexCount) {
        throw std::bad_array_new_length();
    }
    return new KoPoint[static_cast<std::size_t>(n > 0 ? n : 1)];
}

// The count of a vector of vertices, refused like NewVertexArray when it is too large.
int CheckedCount(std::size_t n) {
    if (n > static_cast<std::size_t>(kMaxVertexCount)) {
        throw std::bad_array_new_length();
    }
    return static_cast<int>(n);
}

// The array index that vertex index i reads: i itself inside [0, count), vertex 0 otherwise.
int VertexIndex(int i, int count) {
    if (i >= 0 && i < count) {
        return i;
    }
    assert(count > 0 && "an empty polygon has no vertex to read");
    return 0;  // for an empty polygon: the spare slot
}

// Copies n vertices without a call per vertex.
void CopyVertices(const KoPoint* from, int n, KoPoint* to) {
    for (int i = 0; i < n; ++i) {
        kocalvix::geometry::Store(to[i], kocalvix::geometry::V(from[i]));
    }
}

}  // namespace

KoPolygon::KoPolygon() : count(1), vertices(NewVertexArray(1)) {}

KoPolygon::KoPolygon(const std::vector<KoPoint>& v)
    : count(CheckedCount(v.size())), vertices(NewVertexArray(count)) {
    CopyVertices(v.data(), count, vertices);
}

KoPolygon::KoPolygon(const KoPoint* p, const int& n) : count(n), vertices(NewVertexArray(n)) {
    if (p != nullptr) {
        CopyVertices(p, count, vertices);
    }
}

KoPolygon::KoPolygon(const KoPoint& a, const KoPoint& b, const KoPoint& c)
    : count(3), vertices(NewVertexArray(3)) {
    vertices[0] = a;
    vertices[1] = b;
    vertices[2] = c;
}

KoPolygon::KoPolygon(const KoPolygon& o) : count(o.count), vertices(NewVertexArray(o.count)) {
    CopyVertices(o.vertices, count, vertices);
}

KoPolygon::~KoPolygon() {
    delete[] vertices;
    vertices = nullptr;
}

KoPolygon& KoPolygon::operator=(const KoPolygon& o) {
    if (this == &o) {
        return *this;
    }
    if (count != o.count) {
        // Allocate before anything changes: a failure leaves this polygon as it was.
        KoPoint* fresh = NewVertexArray(o.count);
        CopyVertices(o.vertices, o.count, fresh);
        delete[] vertices;
        vertices = fresh;
        count = o.count;
        return *this;
    }
    CopyVertices(o.vertices, count, vertices);
    return *this;
}

const int& KoPolygon::size() const {
    return count;
}

KoPoint& KoPolygon::operator[](int i) {
    return vertices[VertexIndex(i, count)];
}

const KoPoint& KoPolygon::operator[](int i) const {
    return vertices[VertexIndex(i, count)];
}

const KoPoint& KoPolygon::at(int i) const {
    return vertices[VertexIndex(i, count)];
}

const double& KoPolygon::at(int i, int j) const {
    const int k = VertexIndex(i, count);
    if (k != i || j >= 2) {
        return vertices[k][0];
    }
    return vertices[k][j];  // KoPoint reduces a negative j to a non-negative remainder
}

bool KoPolygon::IsNonSelfIntersection() {
    if (count <= 3) {
        return true;
    }
    using kocalvix::geometry::V;
    using kocalvix::geometry::Vec2;
    const KoPoint* P = vertices;
    const Vec2 p0 = V(P[0]);
    // Orientation of the fan triangle P[0], P[i], P[i + 1].
    const auto fan = [P, p0](int i) {
        const Vec2 a = V(P[i]);
        const Vec2 b = V(P[i + 1]);
        return (b.x - a.x) * (a.y - p0.y) - (a.x - p0.x) * (b.y - a.y);
    };
    double prev = fan(1);
    for (int i = 2; i <= count - 2; ++i) {
        const double c = fan(i);
        if (c * prev < 0.0) {
            return false;
        }
        prev = c;
    }
    return true;
}

KoPolygon& KoPolygon::SortVertice() {
    kocalvix::geometry::SortByAngle(vertices, count);
    return *this;
}

double KoPolygon::Area() {
    return kocalvix::geometry::ShoelaceArea(vertices, count);
}
