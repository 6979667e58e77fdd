// SPDX-License-Identifier: MIT
// The Householder QR without identity work, for the public member and for the eigen iteration,
// which factors 99 matrices of one shape with one workspace.
#ifndef KOCALVIX_SRC_LINALG_HOUSEHOLDER_QR_H
#define KOCALVIX_SRC_LINALG_HOUSEHOLDER_QR_H

#include "linalg/householder_reflector.h"
#include "matrix/KoMatrixImplement.h"

namespace kocalvix::linalg {

/// A workspace fit for the Householder QR of an m x n matrix.
ReflectorWorkspace HouseholderWorkspace(int m, int n);

/// Q := the m x m and R := the m x n factor of the m x n matrix A, with the bits of the literal
/// method. Q and R are owning matrices of those shapes, distinct from A and from each other.
/// Returns false when a non-finite value appeared on the way; Q and R then hold no result and
/// the literal method must be run instead.
bool HouseholderQR(const KoMatrixImplement& A, KoMatrixImplement& Q, KoMatrixImplement& R,
                   ReflectorWorkspace& work);

}  // namespace kocalvix::linalg

#endif  // KOCALVIX_SRC_LINALG_HOUSEHOLDER_QR_H
