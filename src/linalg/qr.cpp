// SPDX-License-Identifier: MIT
// QR decomposition A = Q * R by classical Gram-Schmidt, Householder reflections or Givens
// rotations, and the Householder reflector that the bidiagonalization shares.
//
// Every reflection and rotation is formed as a full-size matrix (the identity with the small
// block embedded) and applied by a full matrix product; every intermediate is a fresh matrix.
// The results are built in local matrices and assigned to the outputs once complete, so an
// output is either fully written or untouched.
#include <algorithm>
#include <cmath>

#include "matrix/KoMatrixImplement.h"

namespace {

constexpr double kZeroBand = 1e-11;

// A norm counts as non-zero only outside the zero band; a NaN never does.
bool IsOutsideBand(double v) {
    return v > kZeroBand || v < -kZeroBand;
}

// Steps of the Householder and Givens methods: every column of a square or tall matrix, the
// first rows - 1 columns of a wide one.
int StepCount(int rows, int cols) {
    return rows >= cols ? cols : rows - 1;
}

// The single element of the 1 x 1 product a^T * q of two columns of equal length.
double InnerProduct(const KoMatrixImplement& a, const KoMatrixImplement& q) {
    return (a.Transpose() * q).data[0];
}

}  // namespace

KoMatrixError KoMatrixImplement::QRDecomposition(KoMatrixImplement& Q, KoMatrixImplement& R,
                                                 int method) const {
    if (method != KoMatrix::GramSchmidt && method != KoMatrix::Householder &&
        method != KoMatrix::Givens) {
        return InvalidMethod;
    }
    if (&Q == this || &R == this) {
        // The outputs would overwrite A while it is read: factor a private copy instead.
        const KoMatrixImplement copy(*this);
        return copy.QRDecomposition(Q, R, method);
    }
    switch (method) {
        case KoMatrix::GramSchmidt:
            return GramSchmidt(Q, R);
        case KoMatrix::Householder:
            return Householder(Q, R);
        default:
            return Givens(Q, R);
    }
}

KoMatrixError KoMatrixImplement::GramSchmidt(KoMatrixImplement& Q, KoMatrixImplement& R) const {
    if (IsRankDeficient()) {
        return SingularMatrix;
    }
    const int m = rows;
    const int n = cols;
    if (!Q.CanTakeShape(m, n) || !R.CanTakeShape(n, n)) {
        return ExternalBuffer;
    }
    KoMatrixImplement q(m, n);
    if (n > 0) {
        // Column 0 is normalised whatever its size (even when its squares underflow and the
        // norm comes out 0.0); only an entirely zero column stays zero, like a later column
        // found dependent.
        const KoMatrixImplement a0 = GetColumn(0, 0);
        const bool allZero =
            std::all_of(a0.data, a0.data + a0.count, [](double x) { return x == 0.0; });
        if (!allZero) {
            q.SetColumn(0, 0, a0 / a0.ElementWiseNorm(2));
        }
    }
    for (int j = 1; j < n; ++j) {
        // Classical Gram-Schmidt: project the original column j, not a partly reduced one.
        const KoMatrixImplement a = GetColumn(j, j);
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
    const KoMatrixImplement r = q.Transpose() * *this;
    Q = q;
    R = r;
    return NoError;
}

KoMatrixImplement KoMatrixImplement::HouseholderReflector(const KoMatrixImplement& x) {
    const int L = x.rows;
    const double alpha = x.ElementWiseNorm(2);
    KoMatrixImplement e(L, 1);
    if (L > 0) {
        e.data[0] = 1.0;
    }
    const KoMatrixImplement v = x - e * alpha;
    const double nu = v.ElementWiseNorm(2);
    KoMatrixImplement u(L, 1);
    if (IsOutsideBand(nu)) {
        u = v / nu;
    }
    return Identity(L) - (u * u.Transpose()) * 2.0;
}

KoMatrixError KoMatrixImplement::Householder(KoMatrixImplement& Q, KoMatrixImplement& R) const {
    const int m = rows;
    if (!Q.CanTakeShape(m, m) || !R.CanTakeShape(m, cols)) {
        return ExternalBuffer;
    }
    const int s = StepCount(m, cols);
    // W is both the working matrix the reflectors are read from and, at the end, R: the two
    // receive the same products.
    KoMatrixImplement W(*this);
    KoMatrixImplement q = Identity(m);
    for (int k = 0; k < s; ++k) {
        const KoMatrixImplement x = W.GetRow(k, m - 1).GetColumn(k, k);
        const KoMatrixImplement H = EmbedInIdentity(m, k, HouseholderReflector(x));
        W = H * W;
        q = q * H;
    }
    Q = q;
    R = W;
    return NoError;
}

KoMatrixError KoMatrixImplement::Givens(KoMatrixImplement& Q, KoMatrixImplement& R) const {
    const int m = rows;
    if (!Q.CanTakeShape(m, m) || !R.CanTakeShape(m, cols)) {
        return ExternalBuffer;
    }
    const int s = StepCount(m, cols);
    KoMatrixImplement r(*this);
    KoMatrixImplement q = Identity(m);
    for (int k = 0; k < s; ++k) {
        for (int i = k + 1; i < m; ++i) {
            const double b = r(i, k);
            if (b == 0.0) {
                continue;  // nothing to rotate away (a NaN is rotated)
            }
            const double a = r(k, k);
            const double radius = std::sqrt(a * a + b * b);
            const double c = a / radius;
            const double t = b / radius;
            KoMatrixImplement G = Identity(m);
            G(k, k) = c;
            G(i, i) = c;
            G(k, i) = t;
            G(i, k) = -t;
            r = G * r;
            q = q * G.Transpose();
        }
    }
    Q = q;
    R = r;
    return NoError;
}

// ---- KoMatrix forwarder ----------------------------------------------------------------------

KoMatrixError KoMatrix::QRDecomposition(KoMatrix& Q, KoMatrix& R, QRMethod method) const {
    return impl->QRDecomposition(*Q.impl, *R.impl, method);
}
