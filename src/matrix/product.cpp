// The matrix product: the kernel every decomposition spends its time in, and the value and
// in-place forms of KoMatrix built on it.
#include <algorithm>

#include "matrix/KoMatrixImplement.h"

namespace {

// Columns of the right operand worked on at a time: a panel of 128 columns of a few hundred
// rows stays in the second-level cache while every row of the result passes over it.
constexpr int kPanelWidth = 128;

// out0..out3[j] += a(r, k) * b(k, j) over k = 0 .. n-1 for four consecutive rows r of a, with
// j = 0 .. width-1 of one panel. Every element keeps its own sequence of additions.
void AccumulateFourRows(const double* a, int n, const double* b, int ldb, int width, double* out,
                        int ldo) {
    double* out0 = out;
    double* out1 = out + ldo;
    double* out2 = out + 2 * ldo;
    double* out3 = out + 3 * ldo;
    for (int k = 0; k < n; ++k) {
        const double a0 = a[k];
        const double a1 = a[n + k];
        const double a2 = a[2 * n + k];
        const double a3 = a[3 * n + k];
        const double* bRow = b + ldb * k;
        for (int j = 0; j < width; ++j) {
            const double bkj = bRow[j];
            out0[j] = a0 * bkj + out0[j];
            out1[j] = a1 * bkj + out1[j];
            out2[j] = a2 * bkj + out2[j];
            out3[j] = a3 * bkj + out3[j];
        }
    }
}

// The same for a single row.
void AccumulateOneRow(const double* a, int n, const double* b, int ldb, int width, double* out) {
    for (int k = 0; k < n; ++k) {
        const double aik = a[k];
        const double* bRow = b + ldb * k;
        for (int j = 0; j < width; ++j) {
            out[j] = aik * bRow[j] + out[j];
        }
    }
}

}  // namespace

void KoMatrixImplement::MultiplyInto(const KoMatrixImplement& a, const KoMatrixImplement& b,
                                     double* out) {
    // Each out(i, j) receives out(i, j) = a(i, k) * b(k, j) + out(i, j) for k = 0, 1, ...
    // starting from 0.0: the same operations, in the same order per element, as the textbook
    // i-j-k loop. Only the order in which different elements are worked on changes: columns of
    // b are taken in panels that stay in cache, four rows of the result share every load of a
    // row of b, and the innermost loop runs along j, which the compiler vectorises.
    const int n = a.cols;
    const int m = b.cols;
    const int rows = a.rows;
    std::fill(out, out + static_cast<size_t>(rows) * static_cast<size_t>(m), 0.0);
    for (int j0 = 0; j0 < m; j0 += kPanelWidth) {
        const int width = std::min(kPanelWidth, m - j0);
        int i = 0;
        for (; i + 4 <= rows; i += 4) {
            AccumulateFourRows(a.data + n * i, n, b.data + j0, m, width, out + m * i + j0, m);
        }
        for (; i < rows; ++i) {
            AccumulateOneRow(a.data + n * i, n, b.data + j0, m, width, out + m * i + j0);
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
