// SPDX-License-Identifier: MIT
// Plane rotations on two rows or two columns, each element summed as the full product sums it
// (see plane_rotation.h).
#include "linalg/plane_rotation.h"

namespace kocalvix::linalg {

void ClearNegativeZeros(KoMatrixImplement& R) {
    for (int k = 0; k < R.count; ++k) {
        R.data[k] = R.data[k] + 0.0;
    }
}

void RotateRows(KoMatrixImplement& R, int k, int i, PlaneRotation rotation) {
    const double c = rotation.c;
    const double t = rotation.t;
    const double minusT = -t;
    double* rowK = R.data + R.cols * k;
    double* rowI = R.data + R.cols * i;
    for (int j = 0; j < R.cols; ++j) {
        const double a = rowK[j];
        const double b = rowI[j];
        rowK[j] = t * b + (c * a + 0.0);
        rowI[j] = c * b + (minusT * a + 0.0);
    }
}

}  // namespace kocalvix::linalg
