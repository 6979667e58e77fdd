// Products with an embedded block, through the product kernel on the changed rows or columns
// only (see embedded_block.h for why that gives the full product's bits).
#include "linalg/embedded_block.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "kernel/product_kernel.h"

namespace kocalvix::linalg {
namespace {

// x := x + 0.0 over a run of rows: what an unchanged element becomes in the full product.
void AddPositiveZero(double* data, int rows, int cols, int ld) {
    for (int i = 0; i < rows; ++i) {
        double* row = data + static_cast<std::ptrdiff_t>(ld) * i;
        for (int j = 0; j < cols; ++j) {
            row[j] = row[j] + 0.0;
        }
    }
}

// Copies a rows x cols run between two strided buffers.
void CopyRun(const double* from, int ldFrom, int rows, int cols, double* to, int ldTo) {
    for (int i = 0; i < rows; ++i) {
        const double* row = from + static_cast<std::ptrdiff_t>(ldFrom) * i;
        std::copy(row, row + cols, to + static_cast<std::ptrdiff_t>(ldTo) * i);
    }
}

}  // namespace

bool AllFinite(const double* data, int rows, int cols, int ld) {
    for (int i = 0; i < rows; ++i) {
        const double* row = data + static_cast<std::ptrdiff_t>(ld) * i;
        bool finite = true;
        for (int j = 0; j < cols; ++j) {
            finite = finite & std::isfinite(row[j]);
        }
        if (!finite) {
            return false;
        }
    }
    return true;
}

bool MultiplyEmbeddedFromLeft(const double* block, int L, int offset, KoMatrixImplement& W,
                              double* work) {
    const int n = W.cols;
    if (!AllFinite(W.data, W.rows, n, n)) {
        return false;
    }
    double* changed = W.data + static_cast<std::ptrdiff_t>(n) * offset;
    kernel::Multiply(L, n, L, block, L, changed, n, work, n);
    CopyRun(work, n, L, n, changed, n);
    AddPositiveZero(W.data, offset, n, n);
    AddPositiveZero(changed + static_cast<std::ptrdiff_t>(n) * L, W.rows - offset - L, n, n);
    return true;
}

bool MultiplyEmbeddedFromRight(KoMatrixImplement& Q, const double* block, int L, int offset,
                               double* work) {
    const int m = Q.rows;
    const int n = Q.cols;
    if (!AllFinite(Q.data, m, n, n)) {
        return false;
    }
    double* changed = Q.data + offset;
    kernel::Multiply(m, L, L, changed, n, block, L, work, L);
    CopyRun(work, L, m, L, changed, n);
    AddPositiveZero(Q.data, m, offset, n);
    AddPositiveZero(changed + L, m, n - offset - L, n);
    return true;
}

}  // namespace kocalvix::linalg
