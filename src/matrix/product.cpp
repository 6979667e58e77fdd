// SPDX-License-Identifier: MIT
// The matrix product, in value and in-place forms, built on the product kernel.
#include <utility>

#include "kernel/product_kernel.h"
#include "matrix/KoMatrixImplement.h"

void KoMatrixImplement::MultiplyInto(const KoMatrixImplement& a, const KoMatrixImplement& b,
                                     double* out) {
    // Each out(i, j) is a(i, 0) * b(0, j) + ... summed in increasing k from 0.0: the same
    // operations, in the same order per element, as the textbook i-j-k loop.
    kocalvix::kernel::Multiply(a.rows, b.cols, a.cols, a.data, a.cols, b.data, b.cols, out, b.cols);
}

KoMatrixImplement KoMatrixImplement::operator*(const KoMatrixImplement& other) const {
    if (cols != other.rows) {
        return *this;
    }
    // The kernel writes every element, so the result's buffer is allocated without zeroing.
    CheckShape(rows, other.cols);
    KoMatrixImplement result;
    result.count = rows * other.cols;
    result.data = result.count > 0 ? new double[result.count] : nullptr;
    result.rows = rows;
    result.cols = other.cols;
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
    // The product goes to a separate buffer first, so A *= A reads A as it was. The move
    // assignment then places it: an owning matrix takes that buffer over, while a wrapped buffer,
    // or the block of a fixed-size value when the element count stays, receives a copy.
    *this = *this * other;
}

const KoMatrix KoMatrix::operator*(const KoMatrix& other) const {
    return KoMatrix(*impl * *other.impl);
}

const KoMatrix& KoMatrix::operator*=(const KoMatrix& other) {
    *impl *= *other.impl;
    return *this;
}
