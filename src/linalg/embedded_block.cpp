// SPDX-License-Identifier: MIT
// Products with an embedded block, through the product kernel on the changed rows or columns
// only (see embedded_block.h for why that gives the full product's bits).
#include "linalg/embedded_block.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "kernel/product_kernel.h"

namespace kocalvix::linalg {
namespace {

// x := x + 0.0 over a run of rows: what an unchanged element becomes in the full product. True
// when every element is finite.
bool AddPositiveZero(double* data, int rows, int cols, int ld) {
    bool finite = true;
    for (int i = 0; i < rows; ++i) {
        double* row = data + static_cast<std::ptrdiff_t>(ld) * i;
        for (int j = 0; j < cols; ++j) {
            row[j] = row[j] + 0.0;
            finite = finite & std::isfinite(row[j]);
        }
    }
    return finite;
}

// Copies a rows x cols run between two strided buffers. True when every element is finite.
bool CopyRun(const double* from, int ldFrom, int rows, int cols, double* to, int ldTo) {
    bool finite = true;
    for (int i = 0; i < rows; ++i) {
        const double* source = from + static_cast<std::ptrdiff_t>(ldFrom) * i;
        double* target = to + static_cast<std::ptrdiff_t>(ldTo) * i;
        for (int j = 0; j < cols; ++j) {
            target[j] = source[j];
            finite = finite & std::isfinite(source[j]);
        }
    }
    return finite;
}

}  // namespace

bool AllFinite(const double* data, int rows, int cols, int ld) {
    bool finite = true;
    for (int i = 0; i < rows; ++i) {
        const double* row = data + static_cast<std::ptrdiff_t>(ld) * i;
        for (int j = 0; j < cols; ++j) {
            finite = finite & std::isfinite(row[j]);
        }
    }
    return finite;
}

// A non-finite element of the operand in the changed rows (or columns) makes a changed element
// of the result non-finite too (an infinity times any factor is infinite or NaN, and no finite
// term cancels it), so checking the result and the unchanged part covers the whole operand.

bool MultiplyEmbeddedFromLeft(const double* block, int L, int offset, KoMatrixImplement& W,
                              double* work) {
    const int n = W.cols;
    double* changed = W.data + static_cast<std::ptrdiff_t>(n) * offset;
    kernel::Multiply(L, n, L, block, L, changed, n, work, n);
    // All three run, whatever the first finds.
    const bool copied = CopyRun(work, n, L, n, changed, n);
    const bool above = AddPositiveZero(W.data, offset, n, n);
    const bool below =
        AddPositiveZero(changed + static_cast<std::ptrdiff_t>(n) * L, W.rows - offset - L, n, n);
    return copied && above && below;
}

bool MultiplyEmbeddedFromRight(KoMatrixImplement& Q, const double* block, int L, int offset,
                               double* work) {
    const int m = Q.rows;
    const int n = Q.cols;
    double* changed = Q.data + offset;
    kernel::Multiply(m, L, L, changed, n, block, L, work, L);
    const bool copied = CopyRun(work, L, m, L, changed, n);
    const bool left = AddPositiveZero(Q.data, m, offset, n);
    const bool right = AddPositiveZero(changed + L, m, n - offset - L, n);
    return copied && left && right;
}

}  // namespace kocalvix::linalg
