// SPDX-License-Identifier: MIT
// The element buffer of KoMatrix as a contiguous range: data(), begin() and end().
#include "matrix/KoMatrixImplement.h"

double* KoMatrix::data() {
    return impl->data;
}

const double* KoMatrix::data() const {
    return impl->data;
}

double* KoMatrix::begin() {
    return impl->data;
}

const double* KoMatrix::begin() const {
    return impl->data;
}

// A matrix without elements has a null buffer; null + 0 is well defined in C++.
double* KoMatrix::end() {
    return impl->data + impl->count;
}

const double* KoMatrix::end() const {
    return impl->data + impl->count;
}
