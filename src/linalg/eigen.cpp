// SPDX-License-Identifier: MIT
// Eigenvalues of a square matrix and eigenpairs of a symmetric one by the unshifted QR
// iteration: B is factored with the Householder QR and replaced by R * Q until its strictly
// lower triangle lies within 1e-11 of zero or 99 steps have been made.
//
// Every matrix of the iteration is allocated once per call and reused by all its steps; the
// factorization runs without identity work and falls back to the literal Householder method for
// a step on which a non-finite value appears.
#include <utility>

#include "linalg/householder_qr.h"
#include "linalg/literal_forms.h"
#include "linalg/step_rules.h"
#include "matrix/KoMatrixImplement.h"

namespace {

// Runs the iteration on B; when W is given it accumulates the orthogonal factors, W := W * Q.
// When `record` is given it receives the step count and the last convergence test.
void Iterate(KoMatrixImplement& B, KoMatrixImplement* W,
             KoMatrixImplement::IterationRecord* record) {
    using namespace kocalvix::linalg;
    const int n = B.rows;
    KoMatrixImplement Q(n, n);
    KoMatrixImplement R(n, n);
    KoMatrixImplement product(W != nullptr ? n : 0, W != nullptr ? n : 0);
    ReflectorWorkspace work = HouseholderWorkspace(n, n);
    int counter = 1;
    double delta = 0.0;
    do {
        if (counter >= kEigenCounterLimit) {
            break;
        }
        if (!HouseholderQR(B, Q, R, work)) {
            kocalvix::literal::Householder(B, Q, R);
        }
        if (W != nullptr) {
            KoMatrixImplement::MultiplyInto(*W, Q, product.data);
            std::swap(*W, product);
        }
        KoMatrixImplement::MultiplyInto(R, Q, B.data);
        delta = LowerTriangleMagnitude(B);
        ++counter;
    } while (delta > kEigenConvergence);
    if (record != nullptr) {
        *record = {counter - 1, !(delta > kEigenConvergence), delta};
    }
}

}  // namespace

bool KoMatrixImplement::IsSymmetric() const {
    return rows == cols && *this == Transpose();
}

KoMatrixError KoMatrixImplement::EigenValues(KoMatrixImplement& V, IterationRecord* record) const {
    if (rows != cols) {
        return DimensionMismatch;
    }
    if (!V.CanTakeShape(rows, 1)) {
        return ExternalBuffer;
    }
    KoMatrixImplement B(*this);
    Iterate(B, nullptr, record);
    V = kocalvix::linalg::DiagonalOf(B);
    return NoError;
}

KoMatrixError KoMatrixImplement::Eigen(KoMatrixImplement& V, KoMatrixImplement& W,
                                       IterationRecord* record) const {
    if (!IsSymmetric()) {
        return NotSymmetric;
    }
    if (!V.CanTakeShape(rows, 1) || !W.CanTakeShape(rows, rows)) {
        return ExternalBuffer;
    }
    KoMatrixImplement B(*this);
    KoMatrixImplement vectors = Identity(rows);
    Iterate(B, &vectors, record);
    KoMatrixImplement values = kocalvix::linalg::DiagonalOf(B);
    // W before V: when both name the same matrix it ends up holding the eigenvalues.
    W = std::move(vectors);
    V = std::move(values);
    return NoError;
}

// ---- KoMatrix forwarders ---------------------------------------------------------------------

KoMatrixError KoMatrix::EigenValues(KoMatrix& V) const {
    return impl->EigenValues(*V.impl);
}

KoMatrixError KoMatrix::Eigen(KoMatrix& V, KoMatrix& W) const {
    return impl->Eigen(*V.impl, *W.impl);
}
