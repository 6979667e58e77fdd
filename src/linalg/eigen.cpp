// SPDX-License-Identifier: MIT
// Eigenvalues of a square matrix and eigenpairs of a symmetric one by the unshifted QR
// iteration: B is factored with the Householder QR and replaced by R * Q until its strictly
// lower triangle lies within 1e-11 of zero or 99 steps have been made.
#include <cmath>

#include "matrix/KoMatrixImplement.h"

namespace {

constexpr double kConvergence = 1e-11;
// The step counter starts at 1 and the loop is left when it reaches this value.
constexpr int kCounterLimit = 100;

// The largest magnitude below the diagonal, row by row, by the running rule "the candidate
// replaces the running value unless the running value is greater" (a NaN is carried only
// until the next entry).
double LowerTriangleMagnitude(const KoMatrixImplement& B) {
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

// Runs the iteration on B; when W is given it accumulates the orthogonal factors, W := W * Q.
// When `record` is given it receives the step count and the last convergence test.
void Iterate(KoMatrixImplement& B, KoMatrixImplement* W,
             KoMatrixImplement::IterationRecord* record) {
    int counter = 1;
    double delta = 0.0;
    do {
        if (counter >= kCounterLimit) {
            break;
        }
        KoMatrixImplement Q;
        KoMatrixImplement R;
        B.Householder(Q, R);
        if (W != nullptr) {
            *W = *W * Q;
        }
        B = R * Q;
        delta = LowerTriangleMagnitude(B);
        ++counter;
    } while (delta > kConvergence);
    if (record != nullptr) {
        *record = {counter - 1, !(delta > kConvergence), delta};
    }
}

// The diagonal of B as an n x 1 column, in its own order.
KoMatrixImplement Diagonal(const KoMatrixImplement& B) {
    KoMatrixImplement V(B.rows, 1);
    for (int i = 0; i < B.rows; ++i) {
        V.data[i] = B(i, i);
    }
    return V;
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
    V = Diagonal(B);
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
    const KoMatrixImplement values = Diagonal(B);
    // W before V: when both name the same matrix it ends up holding the eigenvalues.
    W = vectors;
    V = values;
    return NoError;
}

// ---- KoMatrix forwarders ---------------------------------------------------------------------

KoMatrixError KoMatrix::EigenValues(KoMatrix& V) const {
    return impl->EigenValues(*V.impl);
}

KoMatrixError KoMatrix::Eigen(KoMatrix& V, KoMatrix& W) const {
    return impl->Eigen(*V.impl, *W.impl);
}
