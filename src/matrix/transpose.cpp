// SPDX-License-Identifier: MIT
// The transpose of a KoMatrix.
#include "matrix/KoMatrixImplement.h"

KoMatrixImplement KoMatrixImplement::Transpose() const {
    KoMatrixImplement result(cols, rows);
    if (count == 0) {
        return result;  // no loop over an empty dimension
    }
    for (int j = 0; j < cols; ++j) {
        for (int i = 0; i < rows; ++i) {
            result.data[rows * j + i] = data[cols * i + j];
        }
    }
    return result;
}

const KoMatrix KoMatrix::Transpose() const {
    return KoMatrix(impl->Transpose());
}
