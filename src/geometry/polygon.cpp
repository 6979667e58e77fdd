// SPDX-License-Identifier: MIT
// KoPolygon: a vertex count with an owned vertex array; clamped vertex access, the shoelace
// area, the angular vertex sort and the fan sign test.
#include <kocalvix/geometry.h>

#include <cassert>
#include <cmath>
#include <cstddef>
#include <new>
#include <vector>

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

// One vertex during SortVertice, with its offset from the centroid.
struct SortEntry {
    KoPoint vertex;
    double dx;
    double dy;
};

// True when entry b is to come before entry a: b in the right half (dx >= 0, or NaN) and a in
// the left half (dx < 0), or both in the same half with a.dy * b.dx > a.dx * b.dy.
bool ComesBefore(const SortEntry& b, const SortEntry& a) {
    const bool aLeft = a.dx < 0.0;
    const bool bLeft = b.dx < 0.0;
    if (aLeft != bLeft) {
        return aLeft;
    }
    return a.dy * b.dx > a.dx * b.dy;
}

}  // namespace

KoPolygon::KoPolygon() : count(1), vertices(NewVertexArray(1)) {}

KoPolygon::KoPolygon(const std::vector<KoPoint>& v)
    : count(CheckedCount(v.size())), vertices(NewVertexArray(count)) {
    for (int i = 0; i < count; ++i) {
        vertices[i] = v[static_cast<std::size_t>(i)];
    }
}

KoPolygon::KoPolygon(const KoPoint* p, const int& n) : count(n), vertices(NewVertexArray(n)) {
    if (p != nullptr) {
        for (int i = 0; i < count; ++i) {
            vertices[i] = p[i];
        }
    }
}

KoPolygon::KoPolygon(const KoPoint& a, const KoPoint& b, const KoPoint& c)
    : count(3), vertices(NewVertexArray(3)) {
    vertices[0] = a;
    vertices[1] = b;
    vertices[2] = c;
}

KoPolygon::KoPolygon(const KoPolygon& o) : count(o.count), vertices(NewVertexArray(o.count)) {
    for (int i = 0; i < count; ++i) {
        vertices[i] = o.vertices[i];
    }
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
        for (int i = 0; i < o.count; ++i) {
            fresh[i] = o.vertices[i];
        }
        delete[] vertices;
        vertices = fresh;
        count = o.count;
        return *this;
    }
    for (int i = 0; i < count; ++i) {
        vertices[i] = o.vertices[i];
    }
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
    const KoPoint* P = vertices;
    // Orientation of the fan triangle P[0], P[i], P[i + 1].
    const auto fan = [P](int i) {
        return (P[i + 1][0] - P[i][0]) * (P[i][1] - P[0][1]) -
               (P[i][0] - P[0][0]) * (P[i + 1][1] - P[i][1]);
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
    if (count == 0) {
        return *this;
    }
    double sumX = vertices[0][0];
    double sumY = vertices[0][1];
    for (int i = 1; i < count; ++i) {
        sumX += vertices[i][0];
        sumY += vertices[i][1];
    }
    const double cx = sumX / static_cast<double>(count);
    const double cy = sumY / static_cast<double>(count);

    std::vector<SortEntry> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        entries.push_back(SortEntry{vertices[i], vertices[i][0] - cx, vertices[i][1] - cy});
    }
    // The pairwise exchange pass. The precedence has non-transitive ties, so the result is
    // defined by this very procedure and no other sort may replace it.
    for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
        for (std::size_t j = i + 1; j < entries.size(); ++j) {
            if (ComesBefore(entries[j], entries[i])) {
                const SortEntry held = entries[i];
                entries[i] = entries[j];
                entries[j] = held;
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        vertices[i] = entries[static_cast<std::size_t>(i)].vertex;
    }
    return *this;
}

double KoPolygon::Area() {
    if (count == 0) {
        return 0.0;
    }
    const KoPoint* P = vertices;
    double sum = 0.0;
    for (int i = 0; i + 1 < count; ++i) {
        sum += P[i][0] * P[i + 1][1] - P[i][1] * P[i + 1][0];
    }
    const double closing = P[count - 1][0] * P[0][1] - P[count - 1][1] * P[0][0];
    return std::fabs((closing + sum) * 0.5);
}
