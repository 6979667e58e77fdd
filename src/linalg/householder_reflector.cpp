// SPDX-License-Identifier: MIT
// The Householder reflector I - 2 u u^T of a column, as a fresh matrix (the literal form) and
// into a caller's buffer (the form the fast decompositions use). Both take the norms from
// KoMatrixImplement::ElementWiseNorm and form every element with the same operations.
#include "linalg/householder_reflector.h"

#include <cstddef>

#include "linalg/embedded_block.h"
#include "linalg/step_rules.h"
#include "matrix/KoMatrixImplement.h"

KoMatrixImplement KoMatrixImplement::HouseholderReflector(const KoMatrixImplement& x) {
    const int L = x.rows;
    const double alpha = x.ElementWiseNorm(2);
    KoMatrixImplement e(L, 1);
    if (L > 0) {
        e.data[0] = 1.0;
    }
    const KoMatrixImplement v = x - e * alpha;
    const double nu = v.ElementWiseNorm(2);
    KoMatrixImplement u(L, 1);
    if (kocalvix::linalg::IsOutsideBand(nu)) {
        u = v / nu;
    }
    return Identity(L) - (u * u.Transpose()) * 2.0;
}

namespace kocalvix::linalg {

ReflectorWorkspace::ReflectorWorkspace(int maxLength, long long maxElements)
    : vectors(3 * static_cast<size_t>(maxLength)),
      block(static_cast<size_t>(maxLength) * static_cast<size_t>(maxLength)),
      product(static_cast<size_t>(maxElements)) {}

void FormHouseholderReflector(int L, double* vectors, double* block) {
    double* x = vectors;
    double* v = vectors + L;
    double* u = vectors + 2 * L;
    const KoMatrixImplement xColumn(L, 1, x, KoMatrixImplement::WrapTag{});
    const double alpha = xColumn.ElementWiseNorm(2);
    // v = x - e * alpha, e the first unit vector: every element subtracts its e_i * alpha.
    for (int i = 0; i < L; ++i) {
        v[i] = x[i] - (i == 0 ? 1.0 : 0.0) * alpha;
    }
    const KoMatrixImplement vColumn(L, 1, v, KoMatrixImplement::WrapTag{});
    const double nu = vColumn.ElementWiseNorm(2);
    const bool reflects = IsOutsideBand(nu);
    for (int i = 0; i < L; ++i) {
        u[i] = reflects ? v[i] / nu : 0.0;
    }
    // I - (u * u^T) * 2.0: the outer product is a one-term sum from 0.0.
    for (int r = 0; r < L; ++r) {
        double* row = block + static_cast<std::ptrdiff_t>(L) * r;
        const double ur = u[r];
        for (int c = 0; c < L; ++c) {
            row[c] = 0.0 - ((ur * u[c] + 0.0) * 2.0);
        }
        row[r] = 1.0 - ((ur * ur + 0.0) * 2.0);
    }
}

}  // namespace kocalvix::linalg

namespace kocalvix::linalg {

bool ReflectColumn(KoMatrixImplement& W, KoMatrixImplement& Q, int k, ReflectorWorkspace& work) {
    const int L = W.rows - k;
    for (int i = 0; i < L; ++i) {
        work.vectors[i] = W(k + i, k);
    }
    FormHouseholderReflector(L, work.vectors.data(), work.block.data());
    return MultiplyEmbeddedFromLeft(work.block.data(), L, k, W, work.product.data()) &&
           MultiplyEmbeddedFromRight(Q, work.block.data(), L, k, work.product.data());
}

bool ReflectRow(KoMatrixImplement& B, KoMatrixImplement& V, int row, int first,
                ReflectorWorkspace& work) {
    const int L = B.cols - first;
    for (int j = 0; j < L; ++j) {
        work.vectors[j] = B(row, first + j);
    }
    FormHouseholderReflector(L, work.vectors.data(), work.block.data());
    return MultiplyEmbeddedFromRight(B, work.block.data(), L, first, work.product.data()) &&
           MultiplyEmbeddedFromLeft(work.block.data(), L, first, V, work.product.data());
}

}  // namespace kocalvix::linalg
