// SPDX-License-Identifier: MIT
// The inverse of a KoMatrix through its reduced singular value decomposition: V * (S+)^T * U^T,
// where S+ inverts the singular values outside the zero band and drops the others. For a square
// matrix whose singular values all lie outside the band this is the ordinary inverse, for any
// other matrix the pseudo-inverse (n x m for an m x n matrix).
#include <limits>
#include <utility>

#include "linalg/literal_forms.h"
#include "linalg/step_rules.h"
#include "matrix/KoMatrixImplement.h"

namespace {

using IterationRecord = KoMatrixImplement::IterationRecord;

// The reduced decomposition used: the member, which fills the record when given, or its literal
// twin, which keeps none.
using ReducedSVD = KoMatrixError (*)(const KoMatrixImplement&, KoMatrixImplement&,
                                     KoMatrixImplement&, KoMatrixImplement&, IterationRecord*);

KoMatrixError FastReducedSVD(const KoMatrixImplement& A, KoMatrixImplement& U, KoMatrixImplement& S,
                             KoMatrixImplement& V, IterationRecord* record) {
    return A.SubSVDDecomposition(U, S, V, record);
}

KoMatrixError LiteralReducedSVD(const KoMatrixImplement& A, KoMatrixImplement& U,
                                KoMatrixImplement& S, KoMatrixImplement& V, IterationRecord*) {
    return kocalvix::literal::SubSVDDecomposition(A, U, S, V);
}

// The inverse; `singularValues`, when given, receives S of a decomposition that did not refuse.
KoMatrixImplement InverseBy(const KoMatrixImplement& A, ReducedSVD decompose,
                            IterationRecord* record, KoMatrixImplement* singularValues) {
    KoMatrixImplement U;
    KoMatrixImplement S;
    KoMatrixImplement V;
    if (decompose(A, U, S, V, record) != NoError) {
        // The Gram matrix held a NaN: there are no singular values to invert.
        KoMatrixImplement undefined(A.cols, A.rows);
        for (int k = 0; k < undefined.count; ++k) {
            undefined.data[k] = std::numeric_limits<double>::quiet_NaN();
        }
        return undefined;
    }
    const int p = S.rows;
    KoMatrixImplement Splus(p, p);
    for (int k = 0; k < p; ++k) {
        const double s = S(k, k);
        if (kocalvix::linalg::IsOutsideBand(s)) {
            Splus(k, k) = 1.0 / s;
        }
    }
    if (singularValues != nullptr) {
        *singularValues = std::move(S);
    }
    return (V * Splus.Transpose()) * U.Transpose();
}

}  // namespace

KoMatrixImplement KoMatrixImplement::Inv(IterationRecord* record,
                                         KoMatrixImplement* singularValues) const {
    return InverseBy(*this, FastReducedSVD, record, singularValues);
}

KoMatrixImplement kocalvix::literal::Inv(const KoMatrixImplement& A) {
    return InverseBy(A, LiteralReducedSVD, nullptr, nullptr);
}

// ---- KoMatrix forwarder ----------------------------------------------------------------------

const KoMatrix KoMatrix::Inv() const {
    return KoMatrix(impl->Inv());
}
