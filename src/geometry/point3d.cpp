// SPDX-License-Identifier: MIT
// KoPoint3D: the point of space with arithmetic, indexing and ordering.
#include <kocalvix/geometry.h>

namespace {

// The coordinate index for i: the remainder of i modulo 3, made non-negative.
int Coordinate(int i) {
    const int r = i % 3;
    return r < 0 ? r + 3 : r;
}

}  // namespace

KoPoint3D::KoPoint3D() : x(0.0), y(0.0), z(0.0) {}

KoPoint3D::KoPoint3D(double x0, double y0, double z0) : x(x0), y(y0), z(z0) {}

KoPoint3D::KoPoint3D(std::vector<double>& v)
    : x(v.size() > 0 ? v[0] : 0.0), y(v.size() > 1 ? v[1] : 0.0), z(v.size() > 2 ? v[2] : 0.0) {}

KoPoint3D::KoPoint3D(const KoPoint3D& other) : x(other.x), y(other.y), z(other.z) {}

KoPoint3D& KoPoint3D::operator=(const KoPoint3D& other) {
    x = other.x;
    y = other.y;
    z = other.z;
    return *this;
}

double& KoPoint3D::operator[](int i) {
    const int k = Coordinate(i);
    return k == 0 ? x : (k == 1 ? y : z);
}

const double& KoPoint3D::operator[](int i) const {
    const int k = Coordinate(i);
    return k == 0 ? x : (k == 1 ? y : z);
}

const double& KoPoint3D::at(int i) const {
    return (*this)[i];
}

bool KoPoint3D::operator<(const KoPoint3D& o) const {
    return (x * x + y * y) + z * z < (o.x * o.x + o.y * o.y) + o.z * o.z;
}

KoPoint3D& KoPoint3D::operator+=(const KoPoint3D& o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
}

KoPoint3D& KoPoint3D::operator-=(const KoPoint3D& o) {
    x -= o.x;
    y -= o.y;
    z -= o.z;
    return *this;
}

KoPoint3D& KoPoint3D::operator*=(const double& s) {
    x = x * s;
    y = y * s;
    z = z * s;
    return *this;
}

KoPoint3D& KoPoint3D::operator/=(const double& s) {
    x = x / s;
    y = y / s;
    z = z / s;
    return *this;
}

const KoPoint3D KoPoint3D::operator+(const KoPoint3D& o) const {
    return KoPoint3D(x + o.x, y + o.y, z + o.z);
}

const KoPoint3D KoPoint3D::operator-(const KoPoint3D& o) const {
    return KoPoint3D(x - o.x, y - o.y, z - o.z);
}

const KoPoint3D KoPoint3D::operator*(const double& s) const {
    return KoPoint3D(x * s, y * s, z * s);
}

const KoPoint3D KoPoint3D::operator/(const double& s) const {
    return KoPoint3D(x / s, y / s, z / s);
}
