// SPDX-License-Identifier: MIT
// The product kernel against the textbook loop, bit for bit, on strided operands.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "kernel/product_kernel.h"

namespace {

TEST(ProductKernel, StridedOperandsMatchTheTextbookLoop) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    for (const int m : {0, 1, 3, 5, 9}) {
        for (const int n : {0, 1, 4, 7, 130}) {
            for (const int k : {0, 1, 2, 6}) {
                const int lda = k + 2, ldb = n + 3, ldc = n + 1;
                std::vector<double> a(static_cast<size_t>(m) * lda),
                    b(static_cast<size_t>(k) * ldb);
                for (double& x : a)
                    x = value(rng);
                for (double& x : b)
                    x = value(rng);
                std::vector<double> c(static_cast<size_t>(m) * ldc, 42.0), expected = c;
                for (int i = 0; i < m; ++i) {
                    for (int j = 0; j < n; ++j) {
                        double sum = 0.0;
                        for (int p = 0; p < k; ++p)
                            sum = sum + a[i * lda + p] * b[p * ldb + j];
                        expected[i * ldc + j] = sum;
                    }
                }
                kocalvix::kernel::Multiply(m, n, k, a.data(), lda, b.data(), ldb, c.data(), ldc);
                EXPECT_EQ(0, std::memcmp(c.data(), expected.data(), c.size() * sizeof(double)))
                    << m << "x" << k << " * " << k << "x" << n;
            }
        }
    }
}

}  // namespace
