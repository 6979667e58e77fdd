// SPDX-License-Identifier: MIT
// The product kernel against the textbook loop, bit for bit, on every instruction-set path this
// CPU has and on 1, 2 and 3 threads: random and edge shapes (edge tiles, empty dimensions,
// k == 0, depths and widths past the block sizes), strided operands, and special values.
#include <gtest/gtest.h>
#include <kocalvix/complex.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "kernel/product_kernel.h"

namespace {

using kocalvix::kernel::ProductPath;

struct Shape {
    int m, n, k;
};

// The literal form: c(i, j) = 0.0, then c(i, j) = a(i, p) * b(p, j) + c(i, j) for ascending p.
void TextbookProduct(const Shape& s, const double* a, int lda, const double* b, int ldb, double* c,
                     int ldc) {
    for (int i = 0; i < s.m; ++i) {
        for (int j = 0; j < s.n; ++j) {
            c[i * ldc + j] = 0.0;
            for (int p = 0; p < s.k; ++p) {
                c[i * ldc + j] = a[i * lda + p] * b[p * ldb + j] + c[i * ldc + j];
            }
        }
    }
}

// Equal bits, or both NaN (payloads may differ).
bool SameBits(double x, double y) {
    return std::memcmp(&x, &y, sizeof x) == 0 || (std::isnan(x) && std::isnan(y));
}

// Mostly ordinary numbers; with `special` set, one element in eight is NaN, an infinity, a
// signed zero, a denormal, or large or tiny enough that products overflow or underflow to -0.0.
double RandomValue(std::mt19937& rng, bool special) {
    static const double kSpecial[] = {std::numeric_limits<double>::quiet_NaN(),
                                      std::numeric_limits<double>::infinity(),
                                      -std::numeric_limits<double>::infinity(),
                                      0.0,
                                      -0.0,
                                      std::numeric_limits<double>::denorm_min(),
                                      -3e-310,
                                      1e300,
                                      -1e-200};
    if (special && rng() % 8 == 0) {
        return kSpecial[rng() % (sizeof kSpecial / sizeof kSpecial[0])];
    }
    return std::uniform_real_distribution<double>(-1.0, 1.0)(rng);
}

// KOCALVIX_THREADS=1 keeps these tests on the calling thread too, for emulators whose threads
// do not work (qemu-i386 7.2 hangs in pthread_create).
bool SingleThreadOnly() {
    const char* threads = std::getenv("KOCALVIX_THREADS");
    return threads != nullptr && std::string(threads) == "1";
}

TEST(ProductKernel, EveryPathAndThreadCountMatchesTheTextbookLoop) {
    std::mt19937 rng(2024);
    // Edge shapes first (empty products, k == 0, a single -0.0 product that must become +0.0,
    // sums past the depth of a packed block, rows past a row block, columns past a column
    // block), then random small shapes.
    std::vector<Shape> shapes = {{0, 0, 5},    {0, 7, 3},    {4, 0, 3},     {5, 6, 0},
                                 {1, 1, 1},    {9, 25, 1},   {17, 13, 300}, {130, 37, 21},
                                 {3, 2100, 5}, {41, 49, 530}};
    for (int t = 0; t < 40; ++t) {
        shapes.push_back({static_cast<int>(rng() % 30), static_cast<int>(rng() % 60),
                          static_cast<int>(rng() % 20)});
    }
    for (const Shape& s : shapes) {
        const bool special = rng() % 2 == 0;
        const int lda = s.k + static_cast<int>(rng() % 3);
        const int ldb = s.n + static_cast<int>(rng() % 3);
        const int ldc = s.n + static_cast<int>(rng() % 3);
        std::vector<double> a(static_cast<size_t>(s.m) * lda), b(static_cast<size_t>(s.k) * ldb);
        for (double& x : a) {
            x = RandomValue(rng, special);
        }
        for (double& x : b) {
            x = s.k == 1 ? 0.0 : RandomValue(rng, special);  // k == 1: every product is +-0.0
        }
        if (s.k == 1 && !a.empty()) {
            a[0] = -1.0;
        }
        // Elements of c outside the product hold a marker that must survive.
        std::vector<double> expected(static_cast<size_t>(s.m) * ldc, -7.5);
        TextbookProduct(s, a.data(), lda, b.data(), ldb, expected.data(), ldc);
        for (const ProductPath path : {ProductPath::kGeneric, ProductPath::kSse2,
                                       ProductPath::kAvx2, ProductPath::kAvx512}) {
            if (kocalvix::kernel::SupportedPath(path) != path) {
                continue;
            }
            for (const int threads : {1, 2, 3}) {
                if (threads > 1 && SingleThreadOnly()) {
                    break;
                }
                std::vector<double> c(expected.size(), -7.5);
                kocalvix::kernel::MultiplyOn(path, threads, s.m, s.n, s.k, a.data(), lda, b.data(),
                                             ldb, c.data(), ldc);
                size_t wrong = 0;
                while (wrong < c.size() && SameBits(c[wrong], expected[wrong])) {
                    ++wrong;
                }
                ASSERT_EQ(wrong, c.size())
                    << kocalvix::kernel::PathName(path) << ", " << threads << " threads, " << s.m
                    << "x" << s.k << " * " << s.k << "x" << s.n << ": element " << wrong << " is "
                    << c[wrong] << ", expected " << expected[wrong];
            }
        }
    }
}

// The public entry point splits large products by the thread setting, which Calvix controls.
TEST(ProductKernel, ThreadSettingAndPublicEntryPoint) {
    const int initial = Calvix::ThreadCount();
    EXPECT_GE(initial, 1);
    Calvix::SetThreadCount(1000);
    EXPECT_EQ(Calvix::ThreadCount(), 64);
    Calvix::SetThreadCount(SingleThreadOnly() ? 1 : 2);

    const Shape s{210, 190, 200};  // large enough to be split
    std::mt19937 rng(5);
    std::vector<double> a(static_cast<size_t>(s.m) * s.k), b(static_cast<size_t>(s.k) * s.n);
    for (double& x : a) {
        x = RandomValue(rng, true);
    }
    for (double& x : b) {
        x = RandomValue(rng, true);
    }
    std::vector<double> expected(static_cast<size_t>(s.m) * s.n), c(expected.size());
    TextbookProduct(s, a.data(), s.k, b.data(), s.n, expected.data(), s.n);
    kocalvix::kernel::Multiply(s.m, s.n, s.k, a.data(), s.k, b.data(), s.n, c.data(), s.n);
    for (size_t e = 0; e < c.size(); ++e) {
        ASSERT_TRUE(SameBits(c[e], expected[e])) << "element " << e;
    }

    Calvix::SetThreadCount(-1);
    EXPECT_EQ(Calvix::ThreadCount(), initial);
    const std::string path = Calvix::ProductKernel();
    EXPECT_EQ(path, kocalvix::kernel::PathName(kocalvix::kernel::ActiveProductPath()));
}

}  // namespace
