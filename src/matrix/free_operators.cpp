// SPDX-License-Identifier: MIT
// The free operators of KoMatrix: a scalar on the left and negation, element by element.
#include <kocalvix/matrix.h>

KoMatrix operator*(const double& s, const KoMatrix& m) {
    return m * s;
}

KoMatrix operator+(const double& s, const KoMatrix& m) {
    return m + s;
}

KoMatrix operator-(const double& s, const KoMatrix& m) {
    KoMatrix result(m);
    for (double& x : result) {
        x = s - x;
    }
    return result;
}

KoMatrix operator-(const KoMatrix& m) {
    KoMatrix result(m);
    for (double& x : result) {
        x = -x;
    }
    return result;
}
