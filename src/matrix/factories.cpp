// SPDX-License-Identifier: MIT
// Square matrices built from nothing: the identity, diagonal matrices, and the identity with a
// block embedded in it (the full-size form of a reflection or rotation acting on a sub-block).
#include <algorithm>

#include "matrix/KoMatrixImplement.h"

KoMatrixImplement KoMatrixImplement::Identity(int n) {
    KoMatrixImplement result(std::max(n, 0), std::max(n, 0));
    for (int i = 0; i < result.rows; ++i) {
        result.data[(result.rows + 1) * i] = 1.0;
    }
    return result;
}

KoMatrixImplement KoMatrixImplement::DiagForm(int n, const double* values) {
    KoMatrixImplement result(std::max(n, 0), std::max(n, 0));
    if (values != nullptr) {
        for (int i = 0; i < result.rows; ++i) {
            result.data[(result.rows + 1) * i] = values[i];
        }
    }
    return result;
}

KoMatrixImplement KoMatrixImplement::EmbedInIdentity(int n, int offset,
                                                     const KoMatrixImplement& block) {
    assert(block.rows == block.cols && offset >= 0 && offset + block.rows <= n);
    KoMatrixImplement result = Identity(n);
    for (int i = 0; i < block.rows; ++i) {
        std::copy(block.data + block.cols * i, block.data + block.cols * (i + 1),
                  result.data + n * (offset + i) + offset);
    }
    return result;
}

const KoMatrix KoMatrix::Identity(int n) {
    return KoMatrix(KoMatrixImplement::Identity(n));
}

const KoMatrix KoMatrix::DiagForm(int n, double* values) {
    return KoMatrix(KoMatrixImplement::DiagForm(n, values));
}

const KoMatrix KoMatrix::DiagForm(std::vector<double> values) {
    KoMatrixImplement::CheckShape(static_cast<long long>(values.size()),
                                  static_cast<long long>(values.size()));
    return KoMatrix(KoMatrixImplement::DiagForm(static_cast<int>(values.size()), values.data()));
}
