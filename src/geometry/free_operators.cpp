// SPDX-License-Identifier: MIT
// The free operators of the points: a scalar on the left and negation.
#include <kocalvix/geometry.h>

KoPoint operator*(const double& s, const KoPoint& p) {
    return p * s;
}

KoPoint operator-(const KoPoint& p) {
    return KoPoint(-p[0], -p[1]);
}

KoPoint3D operator*(const double& s, const KoPoint3D& p) {
    return p * s;
}

KoPoint3D operator-(const KoPoint3D& p) {
    return KoPoint3D(-p[0], -p[1], -p[2]);
}
