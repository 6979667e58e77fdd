// SPDX-License-Identifier: MIT
// The inverse of a KoMatrix through its reduced singular value decomposition: V * (S+)^T * U^T,
// where S+ inverts the singular values outside the zero band and drops the others. For a square
// matrix whose singular values all lie outside the band this is the ordinary inverse, for any
// other matrix the pseudo-inverse (n x m for an m x n matrix).
#include <limits>

#include "matrix/KoMatrixImplement.h"

namespace {

constexpr double kZeroBand = 1e-11;

// A singular value counts only outside the zero band; a NaN never does.
bool IsOutsideBand(double v) {
    return v > kZeroBand || v < -kZeroBand;
}

}  // namespace

KoMatrixImplement KoMatrixImplement::Inv() const {
    KoMatrixImplement U;
    KoMatrixImplement S;
    KoMatrixImplement V;
    if (SubSVDDecomposition(U, S, V) != NoError) {
        // The Gram matrix held a NaN: there are no singular values to invert.
        KoMatrixImplement undefined(cols, rows);
        for (int k = 0; k < undefined.count; ++k) {
            undefined.data[k] = std::numeric_limits<double>::quiet_NaN();
        }
        return undefined;
    }
    const int p = S.rows;
    KoMatrixImplement Splus(p, p);
    for (int k = 0; k < p; ++k) {
        const double s = S(k, k);
        if (IsOutsideBand(s)) {
            Splus(k, k) = 1.0 / s;
        }
    }
    return (V * Splus.Transpose()) * U.Transpose();
}

// ---- KoMatrix forwarder ----------------------------------------------------------------------

const KoMatrix KoMatrix::Inv() const {
    return KoMatrix(impl->Inv());
}
