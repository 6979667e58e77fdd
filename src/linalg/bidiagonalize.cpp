// SPDX-License-Identifier: MIT
// Householder bidiagonalization A = U * B * V: reflections from the left clear each column
// below the diagonal, reflections from the right clear each row beyond the superdiagonal.
//
// U accumulates the left reflectors in the order they are applied (U * L), V the right ones
// with each new reflector multiplied on the left (R * V); every reflector is symmetric, so V
// itself, not its transpose, is the right factor. Every reflector reads its vector from the
// current B and changes only the rows or columns its block covers; where a non-finite value
// could make that differ from the full products, the literal form runs instead.
#include <algorithm>
#include <utility>

#include "linalg/householder_reflector.h"
#include "linalg/literal_forms.h"
#include "matrix/KoMatrixImplement.h"

namespace {

// The steps on b (starting as A), u and v (identities); false when a non-finite value appears.
bool Reflect(KoMatrixImplement& b, KoMatrixImplement& u, KoMatrixImplement& v) {
    using kocalvix::linalg::ReflectColumn;
    using kocalvix::linalg::ReflectRow;
    const int m = b.rows;
    const int n = b.cols;
    const int longest = std::max(m, n);
    kocalvix::linalg::ReflectorWorkspace work(longest, static_cast<long long>(longest) * longest);
    const int steps = m - 1 < n ? m - 1 : n;
    for (int k = 0; k < steps; ++k) {
        if (!ReflectColumn(b, u, k, work)) {
            return false;
        }
        if (k <= n - 3 && !ReflectRow(b, v, k, k + 1, work)) {
            return false;
        }
    }
    // A wide matrix with at least two columns beyond its last row's diagonal: clear that row
    // beyond its superdiagonal. A matrix without rows has no such row.
    return !(m > 0 && n - m >= 2) || ReflectRow(b, v, m - 1, m, work);
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
    if (!Reflect(b, u, v)) {
        return kocalvix::literal::BiDiagonalize(*this, U, B, V);
    }
    B = std::move(b);
    U = std::move(u);
    V = std::move(v);
    return NoError;
}

// ---- KoMatrix forwarder ----------------------------------------------------------------------

KoMatrixError KoMatrix::BiDiagonalize(KoMatrix& U, KoMatrix& B, KoMatrix& V) const {
    return impl->BiDiagonalize(*U.impl, *B.impl, *V.impl);
}
