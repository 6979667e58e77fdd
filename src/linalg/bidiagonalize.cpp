// SPDX-License-Identifier: MIT
// Householder bidiagonalization A = U * B * V: reflections from the left clear each column
// below the diagonal, reflections from the right clear each row beyond the superdiagonal.
//
// U accumulates the left reflectors in the order they are applied (U * L), V the right ones
// with each new reflector multiplied on the left (R * V); every reflector is symmetric, so V
// itself, not its transpose, is the right factor. Each reflector is the full-size identity with
// the small reflector embedded, applied by a full matrix product, and every reflector reads its
// vector from the current B.
#include "matrix/KoMatrixImplement.h"

namespace {

// The reflector of row `row`, columns first .. cols-1 of B, embedded in the identity of B's
// column count at offset `first`. The run is turned into a column for the reflector; the
// values, and so the reflector, are the same.
KoMatrixImplement RightReflector(const KoMatrixImplement& B, int row, int first) {
    const KoMatrixImplement y = B.GetColumn(first, B.cols - 1).GetRow(row, row);
    return KoMatrixImplement::EmbedInIdentity(
        B.cols, first, KoMatrixImplement::HouseholderReflector(y.Transpose()));
}

}  // namespace

KoMatrixError KoMatrixImplement::BiDiagonalize(KoMatrixImplement& U, KoMatrixImplement& B,
                                               KoMatrixImplement& V) const {
    const int m = rows;
    const int n = cols;
    if (!U.CanTakeShape(m, m) || !B.CanTakeShape(m, n) || !V.CanTakeShape(n, n)) {
        return ExternalBuffer;
    }
    KoMatrixImplement b(*this);
    KoMatrixImplement u = Identity(m);
    KoMatrixImplement v = Identity(n);
    const int steps = m - 1 < n ? m - 1 : n;
    for (int k = 0; k < steps; ++k) {
        const KoMatrixImplement x = b.GetRow(k, m - 1).GetColumn(k, k);
        const KoMatrixImplement L = EmbedInIdentity(m, k, HouseholderReflector(x));
        b = L * b;
        u = u * L;
        if (k <= n - 3) {
            const KoMatrixImplement R = RightReflector(b, k, k + 1);
            b = b * R;
            v = R * v;
        }
    }
    // A wide matrix with at least two columns beyond its last row's diagonal: clear that row
    // beyond its superdiagonal. A matrix without rows has no such row.
    if (m > 0 && n - m >= 2) {
        const KoMatrixImplement R = RightReflector(b, m - 1, m);
        b = b * R;
        v = R * v;
    }
    B = b;
    U = u;
    V = v;
    return NoError;
}

// ---- KoMatrix forwarder ----------------------------------------------------------------------

KoMatrixError KoMatrix::BiDiagonalize(KoMatrix& U, KoMatrix& B, KoMatrix& V) const {
    return impl->BiDiagonalize(*U.impl, *B.impl, *V.impl);
}
