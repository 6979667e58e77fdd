// SPDX-License-Identifier: MIT
// KoPoint: the planar point, its arithmetic, ordering and the collinearity and betweenness
// predicates on which the rest of the geometry is phrased.
#include <kocalvix/geometry.h>

#include "geometry/predicates.h"

namespace {

// The coordinate index for i: the remainder of i modulo 2, made non-negative.
int Coordinate(int i) {
    const int r = i % 2;
    return r < 0 ? r + 2 : r;
}

}  // namespace

KoPoint::KoPoint() : x(0.0), y(0.0) {}

KoPoint::KoPoint(const double& x0, const double& y0) : x(x0), y(y0) {}

KoPoint::KoPoint(const std::vector<double>& v)
    : x(v.size() > 0 ? v[0] : 0.0), y(v.size() > 1 ? v[1] : 0.0) {}

KoPoint::KoPoint(const KoPoint& other) : x(other.x), y(other.y) {}

KoPoint& KoPoint::operator=(const KoPoint& other) {
    x = other.x;
    y = other.y;
    return *this;
}

double& KoPoint::operator[](int i) {
    return Coordinate(i) == 0 ? x : y;
}

const double& KoPoint::operator[](int i) const {
    return Coordinate(i) == 0 ? x : y;
}

const double& KoPoint::at(int i) const {
    return Coordinate(i) == 0 ? x : y;
}

bool KoPoint::operator==(const KoPoint& o) const {
    return x == o.x && y == o.y;
}

bool KoPoint::operator!=(const KoPoint& o) const {
    return x != o.x || y != o.y;
}

bool KoPoint::operator<(const KoPoint& o) const {
    return x * x + y * y < o.x * o.x + o.y * o.y;
}

KoPoint& KoPoint::operator+=(const KoPoint& o) {
    x += o.x;
    y += o.y;
    return *this;
}

KoPoint& KoPoint::operator-=(const KoPoint& o) {
    x -= o.x;
    y -= o.y;
    return *this;
}

KoPoint& KoPoint::operator*=(const double& s) {
    x = x * s;
    y = y * s;
    return *this;
}

KoPoint& KoPoint::operator/=(const double& s) {
    x = x / s;
    y = y / s;
    return *this;
}

const KoPoint KoPoint::operator+(const KoPoint& o) const {
    return KoPoint(x + o.x, y + o.y);
}

const KoPoint KoPoint::operator-(const KoPoint& o) const {
    return KoPoint(x - o.x, y - o.y);
}

const KoPoint KoPoint::operator*(const double& s) const {
    return KoPoint(x * s, y * s);
}

const KoPoint KoPoint::operator/(const double& s) const {
    return KoPoint(x / s, y / s);
}

bool KoPoint::IsSameline(const KoPoint& a, const KoPoint& b) const {
    using kocalvix::geometry::V;
    return kocalvix::geometry::Cross(V(*this), V(a), V(b)) == 0.0;
}

bool KoPoint::IsBetweenWithoutCheck(const KoPoint& a, const KoPoint& b) const {
    using kocalvix::geometry::V;
    return kocalvix::geometry::IsBetweenWithoutCheck(V(*this), V(a), V(b));
}

bool KoPoint::IsBetween(const KoPoint& a, const KoPoint& b) const {
    return IsSameline(a, b) && IsBetweenWithoutCheck(a, b);
}
