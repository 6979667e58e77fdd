// QR decomposition A = Q * R by classical Gram-Schmidt and by Givens rotations, and the
// dispatch between the three methods (the Householder method is in householder_qr.cpp).
//
// The results are built in local matrices and assigned to the outputs once complete, so an
// output is either fully written or untouched. Each method gives the bits of its literal form
// (literal_forms.cpp) and runs that form where a faster one could differ.
#include <algorithm>
#include <utility>
#include <vector>

#include "linalg/embedded_block.h"
#include "linalg/literal_forms.h"
#include "linalg/plane_rotation.h"
#include "linalg/step_rules.h"
#include "matrix/KoMatrixImplement.h"

using kocalvix::linalg::IsOutsideBand;

namespace {

// The projections of column j of A onto the columns 0 .. j-1 of q, summed into p (m doubles):
// for each k in order, d := a^T * q_k summed from 0.0, then p_i := q_ik * d + p_i, exactly as
// the 1 x 1 product and the element-wise sum form them.
void Projections(const double* a, const KoMatrixImplement& q, int j, double* p) {
    const int m = q.rows;
    std::fill(p, p + m, 0.0);
    for (int k = 0; k < j; ++k) {
        double d = 0.0;
        for (int i = 0; i < m; ++i) {
            d = a[i] * q(i, k) + d;
        }
        for (int i = 0; i < m; ++i) {
            p[i] = q(i, k) * d + p[i];
        }
    }
}

// The rotations of the Givens method on R (starting as A) and Q (the identity), two rows and two
// columns at a time. Returns false when a non-finite value appears, where the full products
// would spread NaN beyond those rows and columns.
bool Rotate(KoMatrixImplement& R, KoMatrixImplement& Q) {
    using namespace kocalvix::linalg;
    const int m = R.rows;
    if (!AllFinite(R.data, m, R.cols, R.cols)) {
        return false;
    }
    bool rotated = false;
    const int s = StepCount(m, R.cols);
    for (int k = 0; k < s; ++k) {
        for (int i = k + 1; i < m; ++i) {
            const double b = R(i, k);
            if (b == 0.0) {
                continue;  // nothing to rotate away
            }
            const PlaneRotation rotation = RotationFor(R(k, k), b);
            if (!rotated) {
                ClearNegativeZeros(R);
                rotated = true;
            }
            RotateRows(R, k, i, rotation);
            RotateColumns(Q, k, i, rotation);
            if (!AllFinite(R.data + R.cols * k, 1, R.cols, R.cols) ||
                !AllFinite(R.data + R.cols * i, 1, R.cols, R.cols) ||
                !AllFinite(Q.data + k, m, 1, m) || !AllFinite(Q.data + i, m, 1, m)) {
                return false;
            }
        }
    }
    return true;
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
    // a: the column of A; p: its projections; u = a - p, the residual.
    std::vector<double> work(3 * static_cast<size_t>(m));
    double* a = work.data();
    double* p = a + m;
    double* u = p + m;
    const KoMatrixImplement residual(m, 1, u, WrapTag{});
    for (int j = 1; j < n; ++j) {
        // Classical Gram-Schmidt: project the original column j, not a partly reduced one.
        for (int i = 0; i < m; ++i) {
            a[i] = (*this)(i, j);
        }
        Projections(a, q, j, p);
        for (int i = 0; i < m; ++i) {
            u[i] = a[i] - p[i];
        }
        const double nu = residual.ElementWiseNorm(2);
        if (IsOutsideBand(nu)) {
            for (int i = 0; i < m; ++i) {
                q(i, j) = u[i] / nu;
            }
        }
    }
    KoMatrixImplement r = q.Transpose() * *this;
    Q = std::move(q);
    R = std::move(r);
    return NoError;
}

KoMatrixError KoMatrixImplement::Givens(KoMatrixImplement& Q, KoMatrixImplement& R) const {
    const int m = rows;
    if (!Q.CanTakeShape(m, m) || !R.CanTakeShape(m, cols)) {
        return ExternalBuffer;
    }
    KoMatrixImplement r(*this);
    KoMatrixImplement q = Identity(m);
    if (!Rotate(r, q)) {
        return kocalvix::literal::Givens(*this, Q, R);
    }
    Q = std::move(q);
    R = std::move(r);
    return NoError;
}

// ---- KoMatrix forwarder ----------------------------------------------------------------------

KoMatrixError KoMatrix::QRDecomposition(KoMatrix& Q, KoMatrix& R, QRMethod method) const {
    return impl->QRDecomposition(*Q.impl, *R.impl, method);
}
