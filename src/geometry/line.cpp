// SPDX-License-Identifier: MIT
// KoLine: a line through two points and the closed segment between them; side test, line
// intersection and segment intersection.
#include <kocalvix/geometry.h>

namespace {

// The endpoint or coordinate index for i: the remainder of i modulo 2, made non-negative.
int Reduce(int i) {
    const int r = i % 2;
    return r < 0 ? r + 2 : r;
}

// The determinant and intersection point of the lines a-b and c-d, each expression formed in
// exactly this grouping (every decision compares a result with 0 exactly).
struct Crossing {
    double denom;
    double x;
    double y;
};

Crossing Intersect(const KoPoint& a, const KoPoint& b, const KoPoint& c, const KoPoint& d) {
    const double ax = a[0], ay = a[1], bx = b[0], by = b[1];
    const double cx = c[0], cy = c[1], dx = d[0], dy = d[1];
    Crossing r;
    r.denom = (ax - bx) * (cy - dy) - (cx - dx) * (ay - by);
    const double k1 = ax * by - ay * bx;
    const double k2 = cx * dy - cy * dx;
    r.x = (k1 * (cx - dx) - k2 * (ax - bx)) / r.denom;
    r.y = (k1 * (cy - dy) - k2 * (ay - by)) / r.denom;
    return r;
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
    const KoPoint& a = p[0];
    const KoPoint& b = p[1];
    const double side = (b[0] - a[0]) * (q[1] - a[1]) - (b[1] - a[1]) * (q[0] - a[0]);
    if (side < 0.0) {
        return 1;
    }
    if (side == 0.0) {
        return 0;
    }
    return -1;
}

int KoLine::LineIntersection(const KoLine& o, KoPoint& out) const {
    const Crossing r = Intersect(p[0], p[1], o.p[0], o.p[1]);
    if (r.denom == 0.0) {
        const bool samePoints = *this == o;  // compared before `out` (possibly one of them) is set
        out = KoPoint();
        return samePoints ? 2 : 0;
    }
    out = KoPoint(r.x, r.y);
    return 1;
}

int KoLine::SegmentIntersection(KoLine& o, KoPoint*& out) const {
    const KoPoint& a = p[0];
    const KoPoint& b = p[1];
    const KoPoint& c = o.p[0];
    const KoPoint& d = o.p[1];
    const Crossing r = Intersect(a, b, c, d);
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
    const KoPoint crossing(r.x, r.y);
    if (crossing.IsBetweenWithoutCheck(a, b) && crossing.IsBetweenWithoutCheck(c, d)) {
        HandOver(out, new KoPoint[1]{crossing});
        return 1;
    }
    return 0;
}
