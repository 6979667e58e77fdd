// SPDX-License-Identifier: MIT
// Rules shared by the literal and the fast forms of the decompositions, so that both decide every
// step the same way: the zero band, the step count of the Householder and Givens methods, the
// plane rotation's coefficients and the eigen iteration's convergence measure and cap.
#ifndef KOCALVIX_SRC_LINALG_STEP_RULES_H
#define KOCALVIX_SRC_LINALG_STEP_RULES_H

#include <cmath>

#include "matrix/KoMatrixImplement.h"

namespace kocalvix::linalg {

constexpr double kZeroBand = 1e-11;

/// A norm, pivot or singular value counts as non-zero only outside the zero band; a NaN never.
inline bool IsOutsideBand(double v) {
    return v > kZeroBand || v < -kZeroBand;
}

/// Steps of the Householder and Givens methods: every column of a square or tall matrix, the
/// first rows - 1 columns of a wide one.
inline int StepCount(int rows, int cols) {
    return rows >= cols ? cols : rows - 1;
}

/// The rotation that takes (a, b) to (r, 0): c = a / r, t = b / r with r = sqrt(a*a + b*b),
/// computed directly (no scaling against overflow).
struct PlaneRotation {
    double c;
    double t;
};
inline PlaneRotation RotationFor(double a, double b) {
    const double radius = std::sqrt(a * a + b * b);
    return {a / radius, b / radius};
}

/// The eigen iteration's step counter starts at 1 and the loop is left when it reaches this.
constexpr int kEigenCounterLimit = 100;
/// The iteration goes on while the lower-triangle magnitude exceeds this.
constexpr double kEigenConvergence = 1e-11;

/// The largest magnitude below the diagonal of a square matrix, row by row, by the running rule
/// "the candidate replaces the running value unless the running value is greater" (a NaN is
/// carried only until the next entry).
inline double LowerTriangleMagnitude(const KoMatrixImplement& B) {
    double delta = 0.0;
    for (int i = 1; i < B.rows; ++i) {
        for (int j = 0; j < i; ++j) {
            const double candidate = std::fabs(B(i, j));
            if (!(std::fabs(delta) > candidate)) {
                delta = candidate;
            }
        }
    }
    return delta;
}

/// The diagonal of a square matrix as an n x 1 column, in its own order.
inline KoMatrixImplement DiagonalOf(const KoMatrixImplement& B) {
    KoMatrixImplement V(B.rows, 1);
    for (int i = 0; i < B.rows; ++i) {
        V.data[i] = B(i, i);
    }
    return V;
}

}  // namespace kocalvix::linalg

#endif  // KOCALVIX_SRC_LINALG_STEP_RULES_H
