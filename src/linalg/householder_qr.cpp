// SPDX-License-Identifier: MIT
// QR by Householder reflections: for k = 0 .. s-1 the reflector of column k below the diagonal
// of the working matrix W is applied as W := H * W and Q := Q * H, touching only the rows and
// columns that H changes. W, which starts as A, ends as R.
#include "linalg/householder_qr.h"

#include <algorithm>
#include <utility>

#include "linalg/literal_forms.h"
#include "linalg/step_rules.h"

namespace kocalvix::linalg {

ReflectorWorkspace HouseholderWorkspace(int m, int n) {
    return ReflectorWorkspace(m, static_cast<long long>(m) * std::max(m, n));
}

bool HouseholderQR(const KoMatrixImplement& A, KoMatrixImplement& Q, KoMatrixImplement& R,
                   ReflectorWorkspace& work) {
    const int m = A.rows;
    std::copy(A.data, A.data + A.count, R.data);
    std::fill(Q.data, Q.data + Q.count, 0.0);
    for (int i = 0; i < m; ++i) {
        Q(i, i) = 1.0;
    }
    const int s = StepCount(m, A.cols);
    for (int k = 0; k < s; ++k) {
        if (!ReflectColumn(R, Q, k, work)) {
            return false;
        }
    }
    return true;
}

}  // namespace kocalvix::linalg

KoMatrixError KoMatrixImplement::Householder(KoMatrixImplement& Q, KoMatrixImplement& R) const {
    const int m = rows;
    if (!Q.CanTakeShape(m, m) || !R.CanTakeShape(m, cols)) {
        return ExternalBuffer;
    }
    KoMatrixImplement q(m, m);
    KoMatrixImplement r(m, cols);
    kocalvix::linalg::ReflectorWorkspace work = kocalvix::linalg::HouseholderWorkspace(m, cols);
    if (!kocalvix::linalg::HouseholderQR(*this, q, r, work)) {
        return kocalvix::literal::Householder(*this, Q, R);
    }
    Q = std::move(q);
    R = std::move(r);
    return NoError;
}
