// SPDX-License-Identifier: MIT
// The KoMatrix handle: construction, copy, assignment, element access, sizes and ToVec.
#include "matrix/KoMatrixImplement.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include "fixed/fixed_implement.h"

KoMatrix::KoMatrix() : impl(new KoMatrixImplement()) {}

KoMatrix::KoMatrix(int rows, int cols) : impl(new KoMatrixImplement(rows, cols)) {}

KoMatrix::KoMatrix(int rows, int cols, double* data, CopyType type)
    : impl(type == ShallowCopy && (data != nullptr || rows == 0 || cols == 0)
               ? new KoMatrixImplement(rows, cols, data, KoMatrixImplement::WrapTag{})
               : new KoMatrixImplement(rows, cols, data)) {}

KoMatrix::KoMatrix(std::vector<std::vector<double>> values) : impl(nullptr) {
    const long long rows = static_cast<long long>(values.size());
    const long long cols = values.empty() ? 0 : static_cast<long long>(values.front().size());
    KoMatrixImplement::CheckShape(rows, cols);
    impl = new KoMatrixImplement(static_cast<int>(rows), static_cast<int>(cols));
    // Every row is read up to the first row's length; a shorter row leaves its tail at 0.0.
    double* out = impl->data;
    for (const std::vector<double>& row : values) {
        const size_t n = std::min(row.size(), static_cast<size_t>(cols));
        std::copy(row.begin(), row.begin() + static_cast<std::ptrdiff_t>(n), out);
        out += cols;
    }
}

KoMatrix::KoMatrix(std::initializer_list<std::initializer_list<double>> values)
    : KoMatrix(std::vector<std::vector<double>>(values.begin(), values.end())) {}

KoMatrix::KoMatrix(const KoMatrix& other) : impl(new KoMatrixImplement(*other.impl)) {}

KoMatrix::KoMatrix(const KoMatrixImplement& implement) : impl(new KoMatrixImplement(implement)) {}

KoMatrix::KoMatrix(KoMatrixImplement&& implement)
    : impl(implement.external ? new KoMatrixImplement(implement)
                              : new KoMatrixImplement(std::move(implement))) {}

KoMatrix::~KoMatrix() {
    kocalvix::fixed::DeleteImplement(impl);
}

const KoMatrix& KoMatrix::operator=(const KoMatrix& other) {
    *impl = *other.impl;
    return *this;
}

double& KoMatrix::at(int k) {
    assert(k >= 0 && k < impl->count);
    return impl->data[k];
}

const double& KoMatrix::at(int k) const {
    assert(k >= 0 && k < impl->count);
    return impl->data[k];
}

double& KoMatrix::operator[](int k) {
    assert(k >= 0 && k < impl->count);
    return impl->data[k];
}

const double& KoMatrix::operator[](int k) const {
    assert(k >= 0 && k < impl->count);
    return impl->data[k];
}

double& KoMatrix::at(int i, int j) {
    return (*impl)(i, j);
}

const double& KoMatrix::at(int i, int j) const {
    return static_cast<const KoMatrixImplement&>(*impl)(i, j);
}

double& KoMatrix::operator()(int i, int j) {
    return (*impl)(i, j);
}

const double& KoMatrix::operator()(int i, int j) const {
    return static_cast<const KoMatrixImplement&>(*impl)(i, j);
}

const int& KoMatrix::RowSize() const {
    return impl->rows;
}

const int& KoMatrix::ColumnSize() const {
    return impl->cols;
}

const int& KoMatrix::ElementNum() const {
    return impl->count;
}

std::vector<std::vector<double>> KoMatrix::ToVec() const {
    // Each row is built from its own elements, without a row template: a matrix without rows
    // allocates nothing, whatever its column count.
    const int rows = impl->rows;
    const int cols = impl->cols;
    std::vector<std::vector<double>> result;
    result.reserve(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        result.emplace_back(impl->data + cols * i, impl->data + cols * (i + 1));
    }
    return result;
}
