// SPDX-License-Identifier: MIT
// The product kernel: the classic three-level blocking around a register-tile micro-kernel.
//
//   for each block of nc columns of b and c                       (jc)
//     for each block of kc steps of the sum                       (pc)
//       pack b(pc.., jc..) into panels of `cols` columns, row by row
//       for each block of mc rows of a and c                      (ic)
//         pack a(ic.., pc..) into panels of `rows` rows, column by column
//         for each panel of b, for each panel of a: the micro-kernel on one tile of c
//
// The first block of the sum starts every accumulator at +0.0; each later block continues from
// the partial sum stored in c. So every c(i, j) receives exactly the additions of the textbook
// loop, in the same order, whatever the block sizes, the tile shape or the instruction set.
// Large products are split into blocks of rows or of columns of c, one per thread; no element's
// sum is ever split, so the thread count does not change a bit either. Tiny products skip the
// packing and run a direct loop with the same order of operations.
#include "kernel/product_kernel.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "kernel/micro_kernel.h"
#include "kernel/thread_count.h"
#include "kernel/worker_threads.h"

namespace kocalvix::kernel {
namespace {

using Index = std::ptrdiff_t;

// Every thread of a product gets at least this many floating-point operations: starting and
// joining a thread takes about 26 microseconds on a current x86 machine, a third of the time
// one core needs for 6 million operations.
constexpr double kFlopsPerThread = 6.0e6;

// Packed panels start on a cache line.
constexpr std::size_t kAlignmentDoubles = 64 / sizeof(double);

std::size_t RoundUp(std::size_t value, std::size_t step) {
    return (value + step - 1) / step * step;
}

const MicroKernel& KernelFor(ProductPath path) {
    switch (SupportedPath(path)) {
#if KOCALVIX_KERNEL_X86
        case ProductPath::kAvx512:
            return Avx512MicroKernel();
        case ProductPath::kAvx2:
            return Avx2MicroKernel();
        case ProductPath::kSse2:
            return Sse2MicroKernel();
#endif
        default:
            return GenericMicroKernel();
    }
}

// The operands of one product, or of the block of it that one thread computes.
struct Operands {
    int m, n, k;
    const double* a;
    Index lda;
    const double* b;
    Index ldb;
    double* c;
    Index ldc;
};

// Copies `rows` (at most kPanelRows) rows of a, `depth` columns long, into one panel of
// kPanelRows rows; within the panel, the values of one column lie together. Rows past `rows`
// are padded with zeros.
template <int kPanelRows>
void PackPanelA(int rows, int depth, const double* a, Index lda, double* packed) {
    if (rows == kPanelRows) {
        for (int p = 0; p < depth; ++p, packed += kPanelRows) {
            for (int r = 0; r < kPanelRows; ++r) {
                packed[r] = a[r * lda + p];
            }
        }
        return;
    }
    for (int p = 0; p < depth; ++p, packed += kPanelRows) {
        for (int r = 0; r < kPanelRows; ++r) {
            packed[r] = r < rows ? a[r * lda + p] : 0.0;
        }
    }
}

// Copies rows x depth of a into panels of kernel.rows rows.
void PackA(const MicroKernel& kernel, int rows, int depth, const double* a, Index lda,
           double* packed) {
    // The panel heights of the micro-kernels, as compile-time constants for the copy loops.
    using PackPanel = void (*)(int, int, const double*, Index, double*);
    static constexpr struct {
        int rows;
        PackPanel pack;
    } kPanels[] = {{2, PackPanelA<2>},
                   {4, PackPanelA<4>},
                   {6, PackPanelA<6>},
                   {8, PackPanelA<8>},
                   {12, PackPanelA<12>}};
    PackPanel packPanel = nullptr;
    for (const auto& panel : kPanels) {
        if (panel.rows == kernel.rows) {
            packPanel = panel.pack;
        }
    }
    for (int i0 = 0; i0 < rows; i0 += kernel.rows) {
        const int panelRows = std::min(kernel.rows, rows - i0);
        if (packPanel != nullptr) {
            packPanel(panelRows, depth, a + i0 * lda, lda, packed);
            packed += static_cast<Index>(depth) * kernel.rows;
            continue;
        }
        for (int p = 0; p < depth; ++p, packed += kernel.rows) {  // any other height
            for (int r = 0; r < kernel.rows; ++r) {
                packed[r] = r < panelRows ? a[(i0 + r) * lda + p] : 0.0;
            }
        }
    }
}

// Copies depth x cols of b into panels of kernel.cols columns; within a panel, the kernel.cols
// values of one row lie together. Columns past the end of b are padded with zeros.
void PackB(const MicroKernel& kernel, int depth, int cols, const double* b, Index ldb,
           double* packed) {
    for (int j0 = 0; j0 < cols; j0 += kernel.cols) {
        const int panelCols = std::min(kernel.cols, cols - j0);
        for (int p = 0; p < depth; ++p) {
            const double* source = b + p * ldb + j0;
            std::copy(source, source + panelCols, packed);
            std::fill(packed + panelCols, packed + kernel.cols, 0.0);
            packed += kernel.cols;
        }
    }
}

// One tile of c of tileRows x tileCols, smaller than the kernel's: the kernel works on a full
// tile in scratch memory, and only the elements of c are copied in and out.
void RunEdgeTile(const MicroKernel& kernel, int depth, const double* a, const double* b, double* c,
                 Index ldc, int tileRows, int tileCols, bool accumulate) {
    alignas(64) double tile[kMaxTileElements] = {};
    if (accumulate) {
        for (int i = 0; i < tileRows; ++i) {
            std::copy(c + i * ldc, c + i * ldc + tileCols, tile + i * kernel.cols);
        }
    }
    kernel.run(depth, a, b, tile, kernel.cols, accumulate);
    for (int i = 0; i < tileRows; ++i) {
        std::copy(tile + i * kernel.cols, tile + i * kernel.cols + tileCols, c + i * ldc);
    }
}

// Doubles of packing memory one thread needs for a product of this shape.
std::size_t PackSize(const MicroKernel& kernel, const Operands& x) {
    const std::size_t depth = static_cast<std::size_t>(std::min(kernel.kc, x.k));
    const std::size_t rows = RoundUp(std::min(kernel.mc, x.m), kernel.rows);
    const std::size_t cols = RoundUp(std::min(kernel.nc, x.n), kernel.cols);
    return RoundUp(depth * rows, kAlignmentDoubles) + RoundUp(depth * cols, kAlignmentDoubles);
}

// The blocked product on one thread; `pack` holds PackSize(kernel, x) doubles, 64-byte aligned.
void MultiplyBlocked(const MicroKernel& kernel, const Operands& x, double* pack) {
    double* const packedA = pack;
    double* const packedB = pack + RoundUp(static_cast<std::size_t>(std::min(kernel.kc, x.k)) *
                                               RoundUp(std::min(kernel.mc, x.m), kernel.rows),
                                           kAlignmentDoubles);
    for (int jc = 0, nc = 0; jc < x.n; jc += nc) {
        nc = std::min(kernel.nc, x.n - jc);
        for (int pc = 0, kc = 0; pc < x.k; pc += kc) {
            kc = std::min(kernel.kc, x.k - pc);
            const bool accumulate = pc > 0;
            PackB(kernel, kc, nc, x.b + pc * x.ldb + jc, x.ldb, packedB);
            for (int ic = 0, mc = 0; ic < x.m; ic += mc) {
                mc = std::min(kernel.mc, x.m - ic);
                PackA(kernel, mc, kc, x.a + ic * x.lda + pc, x.lda, packedA);
                for (int jr = 0; jr < nc; jr += kernel.cols) {
                    const double* panelB = packedB + static_cast<Index>(jr) * kc;
                    const int tileCols = std::min(kernel.cols, nc - jr);
                    for (int ir = 0; ir < mc; ir += kernel.rows) {
                        const double* panelA = packedA + static_cast<Index>(ir) * kc;
                        const int tileRows = std::min(kernel.rows, mc - ir);
                        double* tile = x.c + (ic + ir) * x.ldc + jc + jr;
                        if (tileRows == kernel.rows && tileCols == kernel.cols) {
                            kernel.run(kc, panelA, panelB, tile, x.ldc, accumulate);
                        } else {
                            RunEdgeTile(kernel, kc, panelA, panelB, tile, x.ldc, tileRows, tileCols,
                                        accumulate);
                        }
                    }
                }
            }
        }
    }
}

// The product split into `parts` blocks of whole rows (or whole columns) of c, each a multiple
// of the kernel's tile, with one packing area per part.
struct SplitProduct {
    const MicroKernel* kernel;
    Operands whole;
    bool byRows;
    int parts;
    int tiles;  // tiles of the kernel along the split dimension
    double* pack;
    std::size_t packSize;

    Operands Part(int t) const {
        const int step = byRows ? kernel->rows : kernel->cols;
        const int extent = byRows ? whole.m : whole.n;
        const auto boundary = [&](int s) {
            const long long tile = static_cast<long long>(tiles) * s / parts;
            return static_cast<int>(std::min<long long>(tile * step, extent));
        };
        const int begin = boundary(t), end = boundary(t + 1);
        Operands x = whole;
        if (byRows) {
            x.m = end - begin;
            x.a += begin * whole.lda;
            x.c += begin * whole.ldc;
        } else {
            x.n = end - begin;
            x.b += begin;
            x.c += begin;
        }
        return x;
    }

    static void Run(void* context, int t) {
        const SplitProduct& split = *static_cast<const SplitProduct*>(context);
        const Operands x = split.Part(t);
        if (x.m > 0 && x.n > 0) {
            MultiplyBlocked(*split.kernel, x, split.pack + t * split.packSize);
        }
    }
};

// A product this small (m * n * k elementary steps) costs less than packing its operands and
// padding its edges to whole tiles: it runs directly on the operands.
constexpr double kSmallProductSteps = 10.0 * 10.0 * 10.0;

// The small product, element by element in blocks of eight of a row, so that the sums stay in
// registers: each starts at 0.0 and takes a(i, p) * b(p, j) for ascending p.
void MultiplyDirect(const Operands& x) {
    constexpr int kBlock = 8;
    for (int i = 0; i < x.m; ++i) {
        const double* aRow = x.a + i * x.lda;
        double* cRow = x.c + i * x.ldc;
        int j0 = 0;
        for (; j0 + kBlock <= x.n; j0 += kBlock) {
            double sum[kBlock] = {};
            for (int p = 0; p < x.k; ++p) {
                const double* bRow = x.b + p * x.ldb + j0;
                for (int j = 0; j < kBlock; ++j) {
                    sum[j] = aRow[p] * bRow[j] + sum[j];
                }
            }
            std::copy(sum, sum + kBlock, cRow + j0);
        }
        for (int j = j0; j < x.n; ++j) {
            double sum = 0.0;
            for (int p = 0; p < x.k; ++p) {
                sum = aRow[p] * x.b[p * x.ldb + j] + sum;
            }
            cRow[j] = sum;
        }
    }
}

void MultiplyWith(const MicroKernel& kernel, int threads, const Operands& x) {
    if (x.m <= 0 || x.n <= 0) {
        return;
    }
    if (static_cast<double>(x.m) * x.n * x.k <= kSmallProductSteps) {
        MultiplyDirect(x);  // k == 0 included: zeros
        return;
    }
    const int rowTiles = static_cast<int>(RoundUp(x.m, kernel.rows) / kernel.rows);
    const int colTiles = static_cast<int>(RoundUp(x.n, kernel.cols) / kernel.cols);
    SplitProduct split{&kernel, x, rowTiles >= colTiles, 1, 0, nullptr, 0};
    split.tiles = split.byRows ? rowTiles : colTiles;
    split.parts = std::max(1, std::min(threads, split.tiles));
    // The packing memory of every part is allocated before c is touched: if it fails, the
    // std::bad_alloc leaves c as it was.
    for (int t = 0; t < split.parts; ++t) {
        split.packSize = std::max(split.packSize, PackSize(kernel, split.Part(t)));
    }
    const std::size_t total = split.packSize * static_cast<std::size_t>(split.parts);
    const std::unique_ptr<double[]> storage(new double[total + kAlignmentDoubles]);
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(storage.get());
    split.pack = storage.get() + (RoundUp(address, 64) - address) / sizeof(double);
    RunOnThreads(split.parts, &SplitProduct::Run, &split);
}

}  // namespace

int ThreadsFor(int threads, int m, int n, int k) {
    const double flops = 2.0 * m * n * k;
    return flops < 2 * kFlopsPerThread
               ? 1
               : static_cast<int>(
                     std::max(1.0, std::min<double>(threads, flops / kFlopsPerThread)));
}

void Multiply(int m, int n, int k, const double* a, int lda, const double* b, int ldb, double* c,
              int ldc) {
    const int threads = ThreadsFor(ThreadCount(), m, n, k);
    MultiplyWith(KernelFor(ActiveProductPath()), threads,
                 Operands{m, n, k, a, lda, b, ldb, c, ldc});
}

void MultiplyOn(ProductPath path, int threads, int m, int n, int k, const double* a, int lda,
                const double* b, int ldb, double* c, int ldc) {
    MultiplyWith(KernelFor(path), threads, Operands{m, n, k, a, lda, b, ldb, c, ldc});
}

}  // namespace kocalvix::kernel
