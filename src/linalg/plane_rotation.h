// SPDX-License-Identifier: MIT
// A plane rotation applied as the full product with the rotation embedded in the identity would
// apply it, touching only the two rows it changes: O(n) instead of O(n^3).
//
// The embedded rotation G is the identity with G(k, k) = c, G(k, i) = t, G(i, k) = -t,
// G(i, i) = c for k < i. In the full product G * R, row k of the result is summed over all rows
// of R from 0.0 in ascending order: the zero entries of G add exact zeros while R is finite, so
// the element is (0.0 + c * R(k, j)) + t * R(i, j), and row i is (0.0 + (-t) * R(k, j)) +
// c * R(i, j). Every other element becomes x + 0.0, which changes nothing once the matrix holds
// no -0.0 (a sum that starts at +0.0 is never -0.0). The callers keep R and Q finite and free of
// -0.0 and take the literal product otherwise.
//
// The product from the right, Q := Q * G^T, changes columns k and i of Q by the same sums with
// the factors in the other order (Q(r, k) * c for c * Q(r, k)), which round alike: it is
// RotateRows on the transpose of Q, whose changed elements are contiguous.
#ifndef KOCALVIX_SRC_LINALG_PLANE_ROTATION_H
#define KOCALVIX_SRC_LINALG_PLANE_ROTATION_H

#include "linalg/step_rules.h"
#include "matrix/KoMatrixImplement.h"

namespace kocalvix::linalg {

/// x := x + 0.0 for every element: what the first rotation's full product does to the rows it
/// does not change; afterwards the matrix holds no -0.0.
void ClearNegativeZeros(KoMatrixImplement& R);

/// R := G * R: rows k and i of R change.
void RotateRows(KoMatrixImplement& R, int k, int i, PlaneRotation rotation);

}  // namespace kocalvix::linalg

#endif  // KOCALVIX_SRC_LINALG_PLANE_ROTATION_H
