// SPDX-License-Identifier: MIT
// Access to the elements of a fixed-size matrix. A Matrix3x1 or Matrix3x3 can be given another
// shape through a KoMatrix reference; its own members read it through ReadElements, which hands
// out the buffer only while it still holds exactly N elements and N zeros otherwise, so no
// member ever reaches outside the buffer. Not exported.
#ifndef KOCALVIX_SRC_FIXED_FIXED_ELEMENTS_H
#define KOCALVIX_SRC_FIXED_FIXED_ELEMENTS_H

#include "fixed/fixed_implement.h"
#include "matrix/KoMatrixImplement.h"

// Marks the branch every operand in its own block takes, so that it runs straight through.
#if defined(__GNUC__) || defined(__clang__)
#define KOCALVIX_LIKELY(condition) __builtin_expect(static_cast<bool>(condition), 1)
#else
#define KOCALVIX_LIKELY(condition) (condition)
#endif

namespace kocalvix {
namespace fixed {

/// N zeros, read in place of the elements of a reshaped operand.
template <int N>
struct Zeros {
    static constexpr double values[N] = {};
};

/// True while `m` holds the N elements of its fixed shape.
template <int N>
inline bool HasFixedSize(const KoMatrixImplement& m) {
    return m.count == N;
}

/// True while `m` is Rows x Cols: not just the element count, but the shape.
template <int Rows, int Cols>
inline bool HasFixedShape(const KoMatrixImplement& m) {
    return m.rows == Rows && m.cols == Cols;
}

/// The N elements of a fixed-size operand: its buffer, or N zeros when it was reshaped. An
/// operand still in its block is read at its own address rather than through `data` (the same
/// place), so the loads of the elements need not wait for the load of the pointer.
template <int N>
inline const double* ReadElements(const KoMatrixImplement& m) {
    if (KOCALVIX_LIKELY(m.coallocated && HasFixedSize<N>(m))) {
        return static_cast<const FixedImplement&>(m).values;
    }
    return HasFixedSize<N>(m) ? m.data : Zeros<N>::values;
}

}  // namespace fixed
}  // namespace kocalvix

#endif  // KOCALVIX_SRC_FIXED_FIXED_ELEMENTS_H
