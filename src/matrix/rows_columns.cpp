// SPDX-License-Identifier: MIT
// Runs of rows and columns: extraction, replacement and insertion.
//
// A run is given by two inclusive indices first .. last. Index arithmetic that involves the
// caller's values is done in 64 bits so that no input can overflow a signed int.
#include <algorithm>

#include "matrix/KoMatrixImplement.h"

namespace {

// True when first .. last is a run inside 0 .. size-1; the empty run first = last + 1 counts
// as inside when first lies in 0 .. size.
bool IsRunInside(int first, int last, int size) {
    return first >= 0 && last < size && static_cast<long long>(last) >= first - 1LL;
}

long long RunLength(int first, int last) {
    return static_cast<long long>(last) - first + 1;
}

}  // namespace

KoMatrixImplement KoMatrixImplement::GetRow(int first, int last) const {
    if (!IsRunInside(first, last, rows)) {
        return KoMatrixImplement(0, cols);
    }
    const int w = last - first + 1;
    return KoMatrixImplement(w, cols, data + cols * first);
}

KoMatrixImplement KoMatrixImplement::GetColumn(int first, int last) const {
    if (!IsRunInside(first, last, cols)) {
        return KoMatrixImplement(rows, 0);
    }
    const int w = last - first + 1;
    KoMatrixImplement result(rows, w);
    for (int i = 0; i < rows && w > 0; ++i) {
        const double* from = data + cols * i + first;
        std::copy(from, from + w, result.data + w * i);
    }
    return result;
}

KoMatrixError KoMatrixImplement::SetRow(int first, int last, const KoMatrixImplement& source) {
    if (RunLength(first, last) != source.rows || cols != source.cols || first > last ||
        last >= rows || first < 0) {
        return DimensionMismatch;
    }
    if (&source != this) {  // a matrix set from itself is already in place
        std::copy(source.data, source.data + source.count, data + cols * first);
    }
    return NoError;
}

KoMatrixError KoMatrixImplement::SetColumn(int first, int last, const KoMatrixImplement& source) {
    if (RunLength(first, last) != source.cols || rows != source.rows || first > last ||
        last >= cols || first < 0) {
        return DimensionMismatch;
    }
    if (&source == this) {
        return NoError;
    }
    const int w = source.cols;
    for (int i = 0; i < rows; ++i) {
        std::copy(source.data + w * i, source.data + w * (i + 1), data + cols * i + first);
    }
    return NoError;
}

KoMatrixError KoMatrixImplement::AddRow(int first, int last, const KoMatrixImplement& source) {
    if (external) {
        return ExternalBuffer;
    }
    if (RunLength(first, last) != source.rows || first > last || first < 0 ||
        last >= static_cast<long long>(rows) + source.rows || cols != source.cols) {
        return DimensionMismatch;
    }
    CheckShape(static_cast<long long>(rows) + source.rows, cols);
    // Old rows 0 .. first-1, then the rows of source, then the old rows first .. rows-1.
    KoMatrixImplement grown(rows + source.rows, cols);
    double* out = std::copy(data, data + cols * first, grown.data);
    out = std::copy(source.data, source.data + source.count, out);
    std::copy(data + cols * first, data + count, out);
    *this = grown;
    return NoError;
}

KoMatrixError KoMatrixImplement::AddColumn(int first, int last, const KoMatrixImplement& source) {
    if (external) {
        return ExternalBuffer;
    }
    if (RunLength(first, last) != source.cols || first > last || first < 0 ||
        last >= static_cast<long long>(cols) + source.cols || rows != source.rows) {
        return DimensionMismatch;
    }
    CheckShape(rows, static_cast<long long>(cols) + source.cols);
    // In every row: old columns 0 .. first-1, the row of source, old columns first .. cols-1.
    KoMatrixImplement grown(rows, cols + source.cols);
    double* out = grown.data;
    for (int i = 0; i < rows; ++i) {
        const double* row = data + cols * i;
        out = std::copy(row, row + first, out);
        out = std::copy(source.data + source.cols * i, source.data + source.cols * (i + 1), out);
        out = std::copy(row + first, row + cols, out);
    }
    *this = grown;
    return NoError;
}

// ---- KoMatrix forwarders ---------------------------------------------------------------------

const KoMatrix KoMatrix::GetRow(int first, int last) const {
    return KoMatrix(impl->GetRow(first, last));
}

const KoMatrix KoMatrix::GetColumn(int first, int last) const {
    return KoMatrix(impl->GetColumn(first, last));
}

KoMatrixError KoMatrix::SetRow(int first, int last, const KoMatrix& source) {
    return impl->SetRow(first, last, *source.impl);
}

KoMatrixError KoMatrix::SetColumn(int first, int last, const KoMatrix& source) {
    return impl->SetColumn(first, last, *source.impl);
}

KoMatrixError KoMatrix::AddRow(int first, int last, const KoMatrix& source) {
    return impl->AddRow(first, last, *source.impl);
}

KoMatrixError KoMatrix::AddColumn(int first, int last, const KoMatrix& source) {
    return impl->AddColumn(first, last, *source.impl);
}
