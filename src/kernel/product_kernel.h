// SPDX-License-Identifier: MIT
// The product kernel: the one routine that carries the arithmetic of every matrix product in
// the library. Private to the library.
#ifndef KOCALVIX_SRC_KERNEL_PRODUCT_KERNEL_H
#define KOCALVIX_SRC_KERNEL_PRODUCT_KERNEL_H

namespace kocalvix::kernel {

/// c = a * b for row-major operands with leading dimensions (row strides) lda, ldb, ldc:
/// a is m x k, b is k x n, c is m x n. Every element is formed as
///     c(i, j) = 0.0;  c(i, j) = a(i, p) * b(p, j) + c(i, j)  for p = 0, 1, ..., k - 1,
/// one rounding per multiply and per add, exactly as the textbook i-j-p loop; c is overwritten
/// (never read). c must not overlap a or b. Returns at once when m or n is 0; with k == 0 it
/// writes zeros.
void Multiply(int m, int n, int k, const double* a, int lda, const double* b, int ldb, double* c,
              int ldc);

}  // namespace kocalvix::kernel

#endif  // KOCALVIX_SRC_KERNEL_PRODUCT_KERNEL_H
