// SPDX-License-Identifier: MIT
// The Householder reflector of a column x of length L, formed into a workspace with the same
// operations, in the same order, as KoMatrixImplement::HouseholderReflector, and the two steps
// that apply it as an embedded block: to the rows below a diagonal element (QR, the left steps of
// the bidiagonalization) and to the columns right of one (its right steps).
#ifndef KOCALVIX_SRC_LINALG_HOUSEHOLDER_REFLECTOR_H
#define KOCALVIX_SRC_LINALG_HOUSEHOLDER_REFLECTOR_H

#include <vector>

#include "matrix/KoMatrixImplement.h"

namespace kocalvix::linalg {

/// Buffers for reflectors of length up to maxLength applied to matrices of up to maxElements
/// elements, allocated once per decomposition and reused by every step.
struct ReflectorWorkspace {
    ReflectorWorkspace(int maxLength, long long maxElements);
    std::vector<double> vectors;  // x, v and u of the reflector
    std::vector<double> block;    // the reflector itself
    std::vector<double> product;  // the changed rows or columns of a product
};

/// On entry vectors[0 .. L-1] holds x; vectors[L .. 3L-1] is scratch. Writes the L x L
/// reflector I - (u * u^T) * 2.0 (row-major) to `block`, where alpha = ||x||,
/// v = x - alpha * e0, nu = ||v|| and u = v / nu when nu lies outside the zero band (else 0).
void FormHouseholderReflector(int L, double* vectors, double* block);

/// The left reflection step: the reflector of column k, rows k .. W.rows-1 of W; then
/// W := H * W and Q := Q * H, H the reflector embedded in the identity at offset k. Returns
/// false when W or Q held a non-finite element or a result holds one, where the embedded
/// products could differ from the full ones (see embedded_block.h); W and Q then hold no
/// meaningful result.
bool ReflectColumn(KoMatrixImplement& W, KoMatrixImplement& Q, int k, ReflectorWorkspace& work);

/// The right reflection step: the reflector of row `row`, columns first .. B.cols-1 of B; then
/// B := B * H and V := H * V, H embedded at offset `first`. Returns false as ReflectColumn does.
bool ReflectRow(KoMatrixImplement& B, KoMatrixImplement& V, int row, int first,
                ReflectorWorkspace& work);

}  // namespace kocalvix::linalg

#endif  // KOCALVIX_SRC_LINALG_HOUSEHOLDER_REFLECTOR_H
