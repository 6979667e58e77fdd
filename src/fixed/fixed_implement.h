// SPDX-License-Identifier: MIT
// The implementation object of a Matrix3x1 or Matrix3x3, allocated in one block with its
// elements, and that block taken from the per-thread block cache: creating a fixed-size value
// costs no trip through the heap in the common case instead of two. Not exported.
#ifndef KOCALVIX_SRC_FIXED_FIXED_IMPLEMENT_H
#define KOCALVIX_SRC_FIXED_FIXED_IMPLEMENT_H

#include <cstddef>

#include "fixed/block_cache.h"
#include "matrix/KoMatrixImplement.h"

namespace kocalvix {
namespace fixed {

/// A Rows x Cols KoMatrixImplement whose buffer is its own member array, zero-initialised. The
/// base class sees a co-allocated buffer: it never releases it, moves copy it, and an assignment
/// of another element count moves the object to a separate heap buffer, which the base
/// destructor then releases as usual. Deleting it through a KoMatrixImplement* gives the whole
/// block back to the cache (the destructor is virtual, so this class's operator delete is used).
template <int Rows, int Cols>
class FixedImplement final : public KoMatrixImplement {
  public:
    FixedImplement() noexcept : values{} {
        rows = Rows;
        cols = Cols;
        count = Rows * Cols;
        data = values;
        coallocated = true;
    }
    FixedImplement(const FixedImplement&) = delete;
    FixedImplement& operator=(const FixedImplement&) = delete;

    static void* operator new(std::size_t) { return TakeBlock(); }
    static void operator delete(void* block) noexcept { GiveBlock(block); }

  private:
    double values[Rows * Cols];
};

static_assert(sizeof(FixedImplement<3, 3>) <= kBlockSize, "a block holds a 3 x 3 implementation");
static_assert(alignof(FixedImplement<3, 3>) <= alignof(std::max_align_t),
              "heap blocks are aligned for the implementation");

/// A new zero Rows x Cols implementation in one block; throws std::bad_alloc.
template <int Rows, int Cols>
inline KoMatrixImplement* NewFixedImplement() {
    return new FixedImplement<Rows, Cols>();
}

}  // namespace fixed
}  // namespace kocalvix

#endif  // KOCALVIX_SRC_FIXED_FIXED_IMPLEMENT_H
