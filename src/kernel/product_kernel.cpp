// SPDX-License-Identifier: MIT
// The product kernel: columns of b in panels that stay in cache, four rows of c sharing every
// load of a row of b, and the innermost loop along j, which the compiler vectorises. Each
// element keeps its own k-ascending sequence of additions from 0.0.
#include "kernel/product_kernel.h"

#include <algorithm>
#include <cstddef>

namespace kocalvix::kernel {
namespace {

// Columns of b worked on at a time: a panel of 128 columns of a few hundred rows stays in the
// second-level cache while every row of the result passes over it.
constexpr int kPanelWidth = 128;

// c0..c3[j] += a(r, p) * b(p, j) over p = 0 .. k-1 for four consecutive rows r of a.
void AccumulateFourRows(const double* a, int lda, int k, const double* b, int ldb, int width,
                        double* c, int ldc) {
    double* c0 = c;
    double* c1 = c + ldc;
    double* c2 = c + 2 * static_cast<std::ptrdiff_t>(ldc);
    double* c3 = c + 3 * static_cast<std::ptrdiff_t>(ldc);
    for (int p = 0; p < k; ++p) {
        const double a0 = a[p];
        const double a1 = a[lda + p];
        const double a2 = a[2 * static_cast<std::ptrdiff_t>(lda) + p];
        const double a3 = a[3 * static_cast<std::ptrdiff_t>(lda) + p];
        const double* bRow = b + static_cast<std::ptrdiff_t>(ldb) * p;
        for (int j = 0; j < width; ++j) {
            const double bpj = bRow[j];
            c0[j] = a0 * bpj + c0[j];
            c1[j] = a1 * bpj + c1[j];
            c2[j] = a2 * bpj + c2[j];
            c3[j] = a3 * bpj + c3[j];
        }
    }
}

// The same for a single row.
void AccumulateOneRow(const double* a, int k, const double* b, int ldb, int width, double* c) {
    for (int p = 0; p < k; ++p) {
        const double aip = a[p];
        const double* bRow = b + static_cast<std::ptrdiff_t>(ldb) * p;
        for (int j = 0; j < width; ++j) {
            c[j] = aip * bRow[j] + c[j];
        }
    }
}

}  // namespace

void Multiply(int m, int n, int k, const double* a, int lda, const double* b, int ldb, double* c,
              int ldc) {
    if (m <= 0 || n <= 0) {
        return;
    }
    for (int i = 0; i < m; ++i) {
        std::fill(c + static_cast<std::ptrdiff_t>(ldc) * i,
                  c + static_cast<std::ptrdiff_t>(ldc) * i + n, 0.0);
    }
    // A non-empty c has fewer than 2^29 elements, so j0 + kPanelWidth cannot overflow.
    for (int j0 = 0; j0 < n; j0 += kPanelWidth) {
        const int width = std::min(kPanelWidth, n - j0);
        int i = 0;
        for (; i + 4 <= m; i += 4) {
            AccumulateFourRows(a + static_cast<std::ptrdiff_t>(lda) * i, lda, k, b + j0, ldb, width,
                               c + static_cast<std::ptrdiff_t>(ldc) * i + j0, ldc);
        }
        for (; i < m; ++i) {
            AccumulateOneRow(a + static_cast<std::ptrdiff_t>(lda) * i, k, b + j0, ldb, width,
                             c + static_cast<std::ptrdiff_t>(ldc) * i + j0);
        }
    }
}

}  // namespace kocalvix::kernel
