// SPDX-License-Identifier: MIT
// Products with an embedded block: the n x n identity whose rows and columns offset .. offset+L-1
// are replaced by a square block (a reflector), applied to a matrix from the left or the right.
//
// The full product sums, for every element, over all n positions from 0.0 in ascending order.
// While the other operand is finite, the positions outside the block contribute exact zeros
// (0 * x) that leave the partial sum unchanged: a sum that starts at +0.0 stays +0.0 when zeros
// of either sign are added, and a sum that has become non-zero is not changed by them. So
//   - an element outside the changed rows (or columns) becomes x + 0.0 (-0.0 turns into +0.0);
//   - an element inside them is the block's own product, summed from 0.0 in the same order.
// With a non-finite element in the operand, 0 * inf and 0 * NaN spread NaN over whole columns
// (or rows); these functions then report it, and the caller takes the literal product.
#ifndef KOCALVIX_SRC_LINALG_EMBEDDED_BLOCK_H
#define KOCALVIX_SRC_LINALG_EMBEDDED_BLOCK_H

#include "matrix/KoMatrixImplement.h"

namespace kocalvix::linalg {

/// W := E * W for E the W.rows x W.rows identity with `block` (L x L, row-major) at `offset`.
/// `work` holds at least L * W.cols doubles. Returns false when W held a non-finite element or
/// the result holds one; W then holds no meaningful result.
bool MultiplyEmbeddedFromLeft(const double* block, int L, int offset, KoMatrixImplement& W,
                              double* work);

/// Q := Q * E for E the Q.cols x Q.cols identity with `block` (L x L, row-major) at `offset`.
/// `work` holds at least Q.rows * L doubles. Returns false when Q held a non-finite element or
/// the result holds one; Q then holds no meaningful result.
bool MultiplyEmbeddedFromRight(KoMatrixImplement& Q, const double* block, int L, int offset,
                               double* work);

/// True when every element of the rows x cols run at `data` (row stride `ld`) is finite.
bool AllFinite(const double* data, int rows, int cols, int ld);

}  // namespace kocalvix::linalg

#endif  // KOCALVIX_SRC_LINALG_EMBEDDED_BLOCK_H
