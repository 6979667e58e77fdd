// SPDX-License-Identifier: MIT
// The literal forms of the QR methods, the bidiagonalization and the eigen iteration: each
// reflection and rotation is embedded in a full-size identity and applied by full products, and
// every intermediate is a fresh matrix. The results are built in local matrices and assigned to
// the outputs once complete, so an output is either fully written or untouched.
#include "linalg/literal_forms.h"

#include <algorithm>

#include "linalg/step_rules.h"

using kocalvix::linalg::IsOutsideBand;
using kocalvix::linalg::StepCount;

namespace kocalvix::literal {
namespace {

// The single element of the 1 x 1 product a^T * q of two columns of equal length.
double InnerProduct(const KoMatrixImplement& a, const KoMatrixImplement& q) {
    return (a.Transpose() * q).data[0];
}

// The reflector of row `row`, columns first .. cols-1 of B, embedded in the identity of B's
// column count at offset `first`. The run is turned into a column for the reflector; the
// values, and so the reflector, are the same.
KoMatrixImplement RightReflector(const KoMatrixImplement& B, int row, int first) {
    const KoMatrixImplement y = B.GetColumn(first, B.cols - 1).GetRow(row, row);
    return KoMatrixImplement::EmbedInIdentity(
        B.cols, first, KoMatrixImplement::HouseholderReflector(y.Transpose()));
}

// Runs the iteration on B; when W is given it accumulates the orthogonal factors, W := W * Q.
void Iterate(KoMatrixImplement& B, KoMatrixImplement* W) {
    int counter = 1;
    double delta = 0.0;
    do {
        if (counter >= linalg::kEigenCounterLimit) {
            break;
        }
        KoMatrixImplement Q;
        KoMatrixImplement R;
        Householder(B, Q, R);
        if (W != nullptr) {
            *W = *W * Q;
        }
        B = R * Q;
        delta = linalg::LowerTriangleMagnitude(B);
        ++counter;
    } while (delta > linalg::kEigenConvergence);
}

}  // namespace

KoMatrixError GramSchmidt(const KoMatrixImplement& A, KoMatrixImplement& Q, KoMatrixImplement& R) {
    if (A.IsRankDeficient()) {
        return SingularMatrix;
    }
    const int m = A.rows;
    const int n = A.cols;
    if (!Q.CanTakeShape(m, n) || !R.CanTakeShape(n, n)) {
        return ExternalBuffer;
    }
    KoMatrixImplement q(m, n);
    if (n > 0) {
        // Column 0 is normalised whatever its size (even when its squares underflow and the
        // norm comes out 0.0); only an entirely zero column stays zero, like a later column
        // found dependent.
        const KoMatrixImplement a0 = A.GetColumn(0, 0);
        const bool allZero =
            std::all_of(a0.data, a0.data + a0.count, [](double x) { return x == 0.0; });
        if (!allZero) {
            q.SetColumn(0, 0, a0 / a0.ElementWiseNorm(2));
        }
    }
    for (int j = 1; j < n; ++j) {
        // Classical Gram-Schmidt: project the original column j, not a partly reduced one.
        const KoMatrixImplement a = A.GetColumn(j, j);
        KoMatrixImplement p(m, 1);
        for (int k = 0; k < j; ++k) {
            const KoMatrixImplement qk = q.GetColumn(k, k);
            const double d = InnerProduct(a, qk);
            p = p + qk * d;  // p_i = q_i * d + p_i
        }
        const KoMatrixImplement u = a - p;
        const double nu = u.ElementWiseNorm(2);
        if (IsOutsideBand(nu)) {
            q.SetColumn(j, j, u / nu);
        }
    }
    const KoMatrixImplement r = q.Transpose() * A;
    Q = q;
    R = r;
    return NoError;
}

KoMatrixError Householder(const KoMatrixImplement& A, KoMatrixImplement& Q, KoMatrixImplement& R) {
    const int m = A.rows;
    if (!Q.CanTakeShape(m, m) || !R.CanTakeShape(m, A.cols)) {
        return ExternalBuffer;
    }
    const int s = StepCount(m, A.cols);
    // W is both the working matrix the reflectors are read from and, at the end, R: the two
    // receive the same products.
    KoMatrixImplement W(A);
    KoMatrixImplement q = KoMatrixImplement::Identity(m);
    for (int k = 0; k < s; ++k) {
        const KoMatrixImplement x = W.GetRow(k, m - 1).GetColumn(k, k);
        const KoMatrixImplement H =
            KoMatrixImplement::EmbedInIdentity(m, k, KoMatrixImplement::HouseholderReflector(x));
        W = H * W;
        q = q * H;
    }
    Q = q;
    R = W;
    return NoError;
}

KoMatrixError Givens(const KoMatrixImplement& A, KoMatrixImplement& Q, KoMatrixImplement& R) {
    const int m = A.rows;
    if (!Q.CanTakeShape(m, m) || !R.CanTakeShape(m, A.cols)) {
        return ExternalBuffer;
    }
    const int s = StepCount(m, A.cols);
    KoMatrixImplement r(A);
    KoMatrixImplement q = KoMatrixImplement::Identity(m);
    for (int k = 0; k < s; ++k) {
        for (int i = k + 1; i < m; ++i) {
            const double b = r(i, k);
            if (b == 0.0) {
                continue;  // nothing to rotate away (a NaN is rotated)
            }
            const linalg::PlaneRotation rotation = linalg::RotationFor(r(k, k), b);
            KoMatrixImplement G = KoMatrixImplement::Identity(m);
            G(k, k) = rotation.c;
            G(i, i) = rotation.c;
            G(k, i) = rotation.t;
            G(i, k) = -rotation.t;
            r = G * r;
            q = q * G.Transpose();
        }
    }
    Q = q;
    R = r;
    return NoError;
}

KoMatrixError BiDiagonalize(const KoMatrixImplement& A, KoMatrixImplement& U, KoMatrixImplement& B,
                            KoMatrixImplement& V) {
    const int m = A.rows;
    const int n = A.cols;
    if (!U.CanTakeShape(m, m) || !B.CanTakeShape(m, n) || !V.CanTakeShape(n, n)) {
        return ExternalBuffer;
    }
    KoMatrixImplement b(A);
    KoMatrixImplement u = KoMatrixImplement::Identity(m);
    KoMatrixImplement v = KoMatrixImplement::Identity(n);
    const int steps = m - 1 < n ? m - 1 : n;
    for (int k = 0; k < steps; ++k) {
        const KoMatrixImplement x = b.GetRow(k, m - 1).GetColumn(k, k);
        const KoMatrixImplement L =
            KoMatrixImplement::EmbedInIdentity(m, k, KoMatrixImplement::HouseholderReflector(x));
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

KoMatrixError EigenValues(const KoMatrixImplement& A, KoMatrixImplement& V) {
    if (A.rows != A.cols) {
        return DimensionMismatch;
    }
    if (!V.CanTakeShape(A.rows, 1)) {
        return ExternalBuffer;
    }
    KoMatrixImplement B(A);
    Iterate(B, nullptr);
    V = linalg::DiagonalOf(B);
    return NoError;
}

KoMatrixError Eigen(const KoMatrixImplement& A, KoMatrixImplement& V, KoMatrixImplement& W) {
    if (!A.IsSymmetric()) {
        return NotSymmetric;
    }
    if (!V.CanTakeShape(A.rows, 1) || !W.CanTakeShape(A.rows, A.rows)) {
        return ExternalBuffer;
    }
    KoMatrixImplement B(A);
    KoMatrixImplement vectors = KoMatrixImplement::Identity(A.rows);
    Iterate(B, &vectors);
    const KoMatrixImplement values = linalg::DiagonalOf(B);
    // W before V: when both name the same matrix it ends up holding the eigenvalues.
    W = vectors;
    V = values;
    return NoError;
}

}  // namespace kocalvix::literal
