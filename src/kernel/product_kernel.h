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
/// writes zeros. Runs on the path ActiveProductPath() and, for large products, on up to
/// ThreadCount() threads; the bits are the same on every path and thread count. Throws
/// std::bad_alloc, with c unchanged, when its packing buffers cannot be allocated.
void Multiply(int m, int n, int k, const double* a, int lda, const double* b, int ldb, double* c,
              int ldc);

/// The instruction-set paths of the product, from the most portable to the widest.
enum class ProductPath { kGeneric, kSse2, kAvx2, kAvx512 };

/// "generic", "sse2", "avx2" or "avx512".
const char* PathName(ProductPath path);

/// The widest path this CPU and operating system support that is not wider than `path`
/// (generic is always supported; on x86, SSE2 as well).
ProductPath SupportedPath(ProductPath path);

/// The path of Multiply, chosen once per process: the widest the CPU supports, or the one named
/// by the environment variable KOCALVIX_ISA (generic, sse2, avx2, avx512), lowered to a
/// supported one.
ProductPath ActiveProductPath();

/// The threads Multiply uses for an m x k times k x n product when `threads` are allowed: at
/// most `threads`, and fewer (down to 1) for products too small to repay starting threads.
int ThreadsFor(int threads, int m, int n, int k);

/// Multiply on SupportedPath(path) with exactly min(threads, available blocks) threads, however
/// small the product (at least one thread). For tests and benchmarks.
void MultiplyOn(ProductPath path, int threads, int m, int n, int k, const double* a, int lda,
                const double* b, int ldb, double* c, int ldc);

}  // namespace kocalvix::kernel

#endif  // KOCALVIX_SRC_KERNEL_PRODUCT_KERNEL_H
