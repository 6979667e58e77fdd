// SPDX-License-Identifier: MIT
// KoLine: a line through two points and the closed segment between them; side test, line
// intersection and segment intersection.
#include <kocalvix/geometry.h>

#include "geometry/predicates.h"

using kocalvix::geometry::V;
using kocalvix::geometry::Vec2;

namespace {

// The endpoint or coordinate index for i: the remainder of i modulo 2, made non-negative.
int Reduce(int i) {
    const int r = i % 2;
    return r < 0 ? r + 2 : r;
}

// Replaces the caller's array at `out` by `fresh`: the new array is allocated before the old one
// is released, so a failing allocation leaves `out` valid.
void HandOver(KoPoint*& out, KoPoint* fresh) {
    delete[] out;
    out = fresh;
}

}  // namespace

KoLine::KoLine() : p{KoPoint(), KoPoint()} {}

KoLine::KoLine(const double& x0, const double& y0, const double& x1, const double& y1)
    : p{KoPoint(x0, y0), KoPoint(x1, y1)} {}

KoLine::KoLine(const std::vector<double>& a, const std::vector<double>& b)
    : p{KoPoint(a), KoPoint(b)} {}

KoLine::KoLine(const std::vector<KoPoint>& v)
    : p{v.size() > 0 ? v[0] : KoPoint(), v.size() > 1 ? v[1] : KoPoint()} {}

KoLine::KoLine(const KoPoint& a, const KoPoint& b) : p{a, b} {}

KoLine::KoLine(const KoLine& other) : p{other.p[0], other.p[1]} {}

KoLine& KoLine::operator=(const KoLine& other) {
    p[0] = other.p[0];
    p[1] = other.p[1];
    return *this;
}

KoPoint& KoLine::operator[](int i) {
    return p[Reduce(i)];
}

const KoPoint& KoLine::operator[](int i) const {
    return p[Reduce(i)];
}

const KoPoint& KoLine::at(int i) const {
    return p[Reduce(i)];
}

const double& KoLine::at(int i, int j) const {
    return p[Reduce(i)][Reduce(j)];
}

bool KoLine::operator==(const KoLine& o) const {
    return (p[0] == o.p[0] && p[1] == o.p[1]) || (p[0] == o.p[1] && p[1] == o.p[0]);
}

bool KoLine::operator!=(const KoLine& o) const {
    return !(*this == o);
}

int KoLine::CheckSide(const KoPoint& q) const {
    return kocalvix::geometry::SideCode(kocalvix::geometry::Cross(V(q), V(p[0]), V(p[1])));
}

int KoLine::LineIntersection(const KoLine& o, KoPoint& out) const {
    const kocalvix::geometry::Crossing r =
        kocalvix::geometry::Intersect(V(p[0]), V(p[1]), V(o.p[0]), V(o.p[1]));
    // Compared before `out` (possibly one of the points) is set.
    const bool samePoints = r.denom == 0.0 && *this == o;
    kocalvix::geometry::Store(out, kocalvix::geometry::LineIntersectionPoint(r));
    if (r.denom == 0.0) {
        return samePoints ? 2 : 0;
    }
    return 1;
}

int KoLine::SegmentIntersection(KoLine& o, KoPoint*& out) const {
    const KoPoint& a = p[0];
    const KoPoint& b = p[1];
    const KoPoint& c = o.p[0];
    const KoPoint& d = o.p[1];
    const kocalvix::geometry::Crossing r = kocalvix::geometry::Intersect(V(a), V(b), V(c), V(d));
    if (r.denom == 0.0) {
        if (!a.IsSameline(c, d) || !b.IsSameline(c, d)) {
            return 0;  // parallel, on different lines
        }
        // Collinear: up to two of the four endpoints that lie within the other segment, in the
        // order a, b, c, d; entries not filled stay (0, 0).
        KoPoint* both = new KoPoint[2];
        int k = 0;
        if (a.IsBetweenWithoutCheck(c, d)) {
            both[k++] = a;
        }
        if (b.IsBetweenWithoutCheck(c, d)) {
            both[k++] = b;
        }
        if (k < 2 && c.IsBetweenWithoutCheck(a, b)) {
            both[k++] = c;
        }
        if (k < 2 && d.IsBetweenWithoutCheck(a, b)) {
            both[k++] = d;
        }
        HandOver(out, both);
        return 2;
    }
    const Vec2 crossing = r.point;
    if (kocalvix::geometry::IsBetweenWithoutCheck(crossing, V(a), V(b)) &&
        kocalvix::geometry::IsBetweenWithoutCheck(crossing, V(c), V(d))) {
        KoPoint* one = new KoPoint[1];
        kocalvix::geometry::Store(one[0], crossing);
        HandOver(out, one);
        return 1;
    }
    return 0;
}
