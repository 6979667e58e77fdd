// SPDX-License-Identifier: MIT
// QR decomposition A = Q * R by classical Gram-Schmidt and by Givens rotations, and the
// dispatch between the three methods (the Householder method is in householder_qr.cpp).
//
// The results are built in local matrices and assigned to the outputs once complete, so an
// output is either fully written or untouched. Each method gives the bits of its literal form
// (literal_forms.cpp) and runs that form where a faster one could differ.
#include <algorithm>
#include <utility>
#include <vector>

#include "kernel/product_kernel.h"
#include "linalg/embedded_block.h"
#include "linalg/literal_forms.h"
#include "linalg/plane_rotation.h"
#include "linalg/step_rules.h"
#include "matrix/KoMatrixImplement.h"

using kocalvix::linalg::IsOutsideBand;

namespace {

// The projection p (m doubles) of the column a of A onto the rows 0 .. j-1 of qt, the transpose
// of Q: d := qt * a, each d_k = a^T * q_k summed from 0.0 in ascending order as the 1 x 1 product
// forms it; then p := d^T * qt, each p_i summed over k in ascending order from 0.0 as the
// element-wise sums p := p + q_k * d_k form it.
void Project(const KoMatrixImplement& qt, int j, const double* a, double* d, double* p) {
    const int m = qt.cols;
    kocalvix::kernel::Multiply(j, 1, m, qt.data, m, a, 1, d, 1);
    kocalvix::kernel::Multiply(1, m, j, d, j, qt.data, m, p, m);
}

// The rotations of the Givens method on R (starting as A) and the transpose of Q (starting as the
// identity), two rows of each at a time. Returns false when a non-finite value appears, where the
// full products would spread NaN beyond those rows.
bool Rotate(KoMatrixImplement& R, KoMatrixImplement& Qt) {
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
            RotateRows(Qt, k, i, rotation);
            if (!AllFinite(R.data + R.cols * k, 1, R.cols, R.cols) ||
                !AllFinite(R.data + R.cols * i, 1, R.cols, R.cols) ||
                !AllFinite(Qt.data + m * k, 1, m, m) || !AllFinite(Qt.data + m * i, 1, m, m)) {
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
    // qt is the transpose of Q: its rows are Q's columns, contiguous.
    KoMatrixImplement qt(n, m);
    if (n > 0) {
        // Column 0 is normalised whatever its size (even when its squares underflow and the
        // norm comes out 0.0); only an entirely zero column stays zero, like a later column
        // found dependent.
        const KoMatrixImplement a0 = GetColumn(0, 0);
        const bool allZero =
            std::all_of(a0.data, a0.data + a0.count, [](double x) { return x == 0.0; });
        if (!allZero) {
            qt.SetRow(0, 0, (a0 / a0.ElementWiseNorm(2)).Transpose());
        }
    }
    // a: the column of A; p: its projection; u = a - p, the residual; d: the inner products.
    // Without rows (every column of Q is empty and stays so) or with one column nothing is
    // projected: the loop is skipped and no work space is sized by an empty dimension.
    const bool projects = m > 0 && n > 1;
    const int length = projects ? m : 0;
    std::vector<double> work(projects ? 3 * static_cast<size_t>(m) + static_cast<size_t>(n) : 0);
    double* a = work.data();
    double* p = a + length;
    double* u = p + length;
    double* d = u + length;
    const KoMatrixImplement residual(length, 1, u, WrapTag{});
    for (int j = 1; j < n && projects; ++j) {
        // Classical Gram-Schmidt: project the original column j, not a partly reduced one.
        for (int i = 0; i < m; ++i) {
            a[i] = (*this)(i, j);
        }
        Project(qt, j, a, d, p);
        for (int i = 0; i < m; ++i) {
            u[i] = a[i] - p[i];
        }
        const double nu = residual.ElementWiseNorm(2);
        if (IsOutsideBand(nu)) {
            double* column = qt.data + static_cast<size_t>(m) * j;
            for (int i = 0; i < m; ++i) {
                column[i] = u[i] / nu;
            }
        }
    }
    // R = Q^T * A, and Q^T is qt.
    KoMatrixImplement r = qt * *this;
    Q = qt.Transpose();
    R = std::move(r);
    return NoError;
}

KoMatrixError KoMatrixImplement::Givens(KoMatrixImplement& Q, KoMatrixImplement& R) const {
    const int m = rows;
    if (!Q.CanTakeShape(m, m) || !R.CanTakeShape(m, cols)) {
        return ExternalBuffer;
    }
    KoMatrixImplement r(*this);
    KoMatrixImplement qt = Identity(m);
    if (!Rotate(r, qt)) {
        return kocalvix::literal::Givens(*this, Q, R);
    }
    Q = qt.Transpose();
    R = std::move(r);
    return NoError;
}

// ---- KoMatrix forwarder ----------------------------------------------------------------------

KoMatrixError KoMatrix::QRDecomposition(KoMatrix& Q, KoMatrix& R, QRMethod method) const {
    return impl->QRDecomposition(*Q.impl, *R.impl, method);
}
