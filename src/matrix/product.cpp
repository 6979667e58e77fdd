// The matrix product: the kernel every decomposition spends its time in, and the value and
// in-place forms of KoMatrix built on it.
#include <algorithm>

#include "matrix/KoMatrixImplement.h"

void KoMatrixImplement::MultiplyInto(const KoMatrixImplement& a, const KoMatrixImplement& b,
                                     double* out) {
    // Each out(i, j) receives out(i, j) = a(i, k) * b(k, j) + out(i, j) for k = 0, 1, ...
    // starting from 0.0: the same operations, in the same order per element, as the textbook
    // i-j-k loop. Running k in the middle streams rows of b, which the compiler vectorises
    // across j without changing any element's sequence of additions.
    const int n = a.cols;
    const int m = b.cols;
    for (int i = 0; i < a.rows; ++i) {
        double* outRow = out + m * i;
        std::fill(outRow, outRow + m, 0.0);
        const double* aRow = a.data + n * i;
        for (int k = 0; k < n; ++k) {
            const double aik = aRow[k];
            const double* bRow = b.data + m * k;
            for (int j = 0; j < m; ++j) {
                outRow[j] = aik * bRow[j] + outRow[j];
            }
        }
    }
}

KoMatrixImplement KoMatrixImplement::operator*(const KoMatrixImplement& other) const {
    if (cols != other.rows) {
        return *this;
    }
    KoMatrixImplement result(rows, other.cols);
    MultiplyInto(*this, other, result.data);
    return result;
}

void KoMatrixImplement::operator*=(const KoMatrixImplement& other) {
    if (cols != other.rows) {
        return;
    }
    if (external && other.rows != other.cols) {
        return;
    }
    // The product goes to a separate buffer first, so A *= A reads A as it was.
    *this = *this * other;
}

const KoMatrix KoMatrix::operator*(const KoMatrix& other) const {
    return KoMatrix(*impl * *other.impl);
}

const KoMatrix& KoMatrix::operator*=(const KoMatrix& other) {
    *impl *= *other.impl;
    return *this;
}
