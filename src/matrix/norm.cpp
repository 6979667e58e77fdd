// SPDX-License-Identifier: MIT
// Element-wise norms of a KoMatrix (largest absolute element, p-norm, largest absolute row sum)
// and the rank test that the Gram-Schmidt QR and the property tests ask.
#include <cmath>

#include "matrix/KoMatrixImplement.h"
#include "matrix/power.h"

namespace {

// The running maximum used by every norm: the candidate replaces the running value unless the
// running value is greater, so a NaN candidate is taken and the next candidate replaces it.
void TakeUnlessGreater(double& running, double candidate) {
    if (!(running > candidate)) {
        running = candidate;
    }
}

}  // namespace

double KoMatrixImplement::ElementWiseInfiniteNorm() const {
    double norm = 0.0;
    for (int k = 0; k < count; ++k) {
        TakeUnlessGreater(norm, std::fabs(data[k]));
    }
    return norm;
}

double KoMatrixImplement::ElementWiseNorm(const int& p) const {
    const double power = static_cast<double>(p);
    double sum = 0.0;
    for (int k = 0; k < count; ++k) {
        sum = sum + kocalvix::Power(std::fabs(data[k]), power);
    }
    return kocalvix::Power(sum, 1.0 / power);
}

double KoMatrixImplement::MatrixInfiniteNorm() const {
    double norm = 0.0;
    if (count == 0) {
        return norm;  // every row sum is 0.0; no loop over rows without columns
    }
    for (int i = 0; i < rows; ++i) {
        TakeUnlessGreater(norm, GetRow(i, i).ElementWiseNorm(1));
    }
    return norm;
}

bool KoMatrixImplement::IsRankDeficient() const {
    if (rows != cols) {
        return false;
    }
    if (rows == 0) {
        return true;
    }
    return Rank() < rows;
}

// ---- KoMatrix forwarders ---------------------------------------------------------------------

double KoMatrix::ElementWiseInfiniteNorm() const {
    return impl->ElementWiseInfiniteNorm();
}

double KoMatrix::ElementWiseNorm(const int& p) const {
    return impl->ElementWiseNorm(p);
}

double KoMatrix::MatrixInfiniteNorm() const {
    return impl->MatrixInfiniteNorm();
}
