// SPDX-License-Identifier: MIT
// The implementation object of a Matrix3x1 or Matrix3x3, allocated in one block with its
// elements, and that block taken from the per-thread block cache: creating a fixed-size value
// costs no trip through the heap in the common case instead of two. Not exported.
#ifndef KOCALVIX_SRC_FIXED_FIXED_IMPLEMENT_H
#define KOCALVIX_SRC_FIXED_FIXED_IMPLEMENT_H

#include <cstddef>
#include <cstring>

#include "fixed/block_cache.h"
#include "matrix/KoMatrixImplement.h"

namespace kocalvix {
namespace fixed {

/// A 3 x 1 or 3 x 3 KoMatrixImplement whose buffer is its own member array. The base class sees
/// a co-allocated buffer: it never releases it, moves copy it, and an assignment of another
/// element count moves the object to a separate heap buffer, which the base destructor then
/// releases as usual. Only this class sets `coallocated`, so while the flag holds the object is
/// a FixedImplement and `values` are its elements. Deleting it through a KoMatrixImplement* gives
/// the whole block back to the cache (the destructor is virtual, so this class's operator delete
/// is used); DeleteImplement does the same without the virtual call.
class FixedImplement final : public KoMatrixImplement {
  public:
    /// A rows x cols implementation (at most nine elements) whose elements are left
    /// uninitialised: the creator writes every one of them before anything reads them.
    FixedImplement(int rowCount, int colCount) noexcept {
        rows = rowCount;
        cols = colCount;
        count = rowCount * colCount;
        data = values;
        coallocated = true;
    }
    FixedImplement(const FixedImplement&) = delete;
    FixedImplement& operator=(const FixedImplement&) = delete;

    static void* operator new(std::size_t) { return TakeBlock(); }
    static void operator delete(void* block) noexcept { GiveBlock(block); }

    /// The elements, row by row; `data` points here while `coallocated` holds.
    double values[9];
};

static_assert(sizeof(FixedImplement) <= kBlockSize, "a block holds a 3 x 3 implementation");
static_assert(alignof(FixedImplement) <= alignof(std::max_align_t),
              "heap blocks are aligned for the implementation");

/// A new Rows x Cols implementation in one block, its elements uninitialised; throws
/// std::bad_alloc.
template <int Rows, int Cols>
inline FixedImplement* NewUninitialised() {
    return new FixedImplement(Rows, Cols);
}

/// A new zero Rows x Cols implementation in one block; throws std::bad_alloc.
template <int Rows, int Cols>
inline FixedImplement* NewFixedImplement() {
    FixedImplement* m = NewUninitialised<Rows, Cols>();
    for (int k = 0; k < Rows * Cols; ++k) {
        m->values[k] = 0.0;
    }
    return m;
}

/// A new Rows x Cols implementation holding a copy of values[0 .. Rows * Cols - 1].
template <int Rows, int Cols>
inline FixedImplement* NewFixedImplement(const double* values) {
    FixedImplement* m = NewUninitialised<Rows, Cols>();
    std::memcpy(m->values, values, Rows * Cols * sizeof(double));
    return m;
}

/// A new 3 x 1 implementation holding (a, b, c).
inline FixedImplement* NewVector(double a, double b, double c) {
    FixedImplement* m = NewUninitialised<3, 1>();
    m->values[0] = a;
    m->values[1] = b;
    m->values[2] = c;
    return m;
}

/// A new 3 x 3 implementation whose element k (row by row) is element(k).
template <typename Element>
inline FixedImplement* NewMatrix(Element element) {
    FixedImplement* m = NewUninitialised<3, 3>();
    for (int k = 0; k < 9; ++k) {
        m->values[k] = element(k);
    }
    return m;
}

/// Destroys `m` and releases its memory: a fixed-size implementation in its block goes back to
/// the cache directly, any other through the virtual destructor.
inline void DeleteImplement(KoMatrixImplement* m) noexcept {
    if (m->coallocated) {
        delete static_cast<FixedImplement*>(m);  // final: no virtual call
    } else {
        delete m;
    }
}

}  // namespace fixed
}  // namespace kocalvix

#endif  // KOCALVIX_SRC_FIXED_FIXED_IMPLEMENT_H
