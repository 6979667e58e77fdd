// SPDX-License-Identifier: MIT
// Storage and lifecycle of KoMatrixImplement: allocation with the 32-bit size rule, deep
// copies, the wrapping state and the assignment rule.
#include "matrix/KoMatrixImplement.h"

#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace {

// The largest element count whose buffer (count * 8 bytes) fits a 32-bit address space.
constexpr long long kMaxElementCount = 0xFFFFFFFFLL / static_cast<long long>(sizeof(double));

// A fresh owning buffer of `count` doubles (null for zero elements), every element 0.0.
double* AllocateZeroed(int count) {
    return count > 0 ? new double[count]() : nullptr;
}

}  // namespace

void KoMatrixImplement::CheckShape(long long rows, long long cols) {
    constexpr long long maxInt = std::numeric_limits<int>::max();
    if (rows < 0 || cols < 0 || rows > maxInt || cols > maxInt ||
        (cols != 0 && rows > kMaxElementCount / cols)) {
        throw std::bad_array_new_length();
    }
}

KoMatrixImplement::KoMatrixImplement(int rows, int cols)
    : rows(rows), cols(cols), count(0), data(nullptr), external(false) {
    CheckShape(rows, cols);
    count = rows * cols;
    data = AllocateZeroed(count);
}

KoMatrixImplement::KoMatrixImplement(int rows, int cols, const double* values)
    : KoMatrixImplement(rows, cols) {
    if (values != nullptr && count > 0) {
        std::memcpy(data, values, sizeof(double) * static_cast<size_t>(count));
    }
}

KoMatrixImplement::KoMatrixImplement(int rows, int cols, double* buffer, WrapTag)
    : rows(rows), cols(cols), count(0), data(buffer), external(true) {
    CheckShape(rows, cols);
    count = rows * cols;
}

KoMatrixImplement::KoMatrixImplement(const KoMatrixImplement& other)
    : KoMatrixImplement(other.rows, other.cols, other.data) {}

KoMatrixImplement::KoMatrixImplement(KoMatrixImplement&& other)
    : rows(other.rows),
      cols(other.cols),
      count(other.count),
      data(other.data),
      external(other.external) {
    if (other.coallocated) {
        // The buffer belongs to other's allocation: copy it, and leave other as it is.
        data = new double[count];
        std::memcpy(data, other.data, sizeof(double) * static_cast<size_t>(count));
        return;
    }
    other.rows = other.cols = other.count = 0;
    other.data = nullptr;
    other.external = false;
}

KoMatrixImplement& KoMatrixImplement::operator=(const KoMatrixImplement& other) {
    if (this == &other) {
        return *this;
    }
    if (external) {
        // A wrapped buffer never changes size: it takes only a result of its own shape. Two
        // matrices may wrap overlapping caller buffers, hence memmove.
        if (IsSameDimension(other) && count > 0) {
            std::memmove(data, other.data, sizeof(double) * static_cast<size_t>(count));
        }
        return *this;
    }
    if (count == other.count && count > 0) {
        // Same element count: reuse the buffer (nothing can fail).
        std::memmove(data, other.data, sizeof(double) * static_cast<size_t>(count));
    } else {
        // Allocate before releasing, so a failed allocation leaves *this as it was.
        double* fresh = other.count > 0 ? new double[other.count] : nullptr;
        if (fresh != nullptr) {
            std::memcpy(fresh, other.data, sizeof(double) * static_cast<size_t>(other.count));
        }
        if (!coallocated) {
            delete[] data;
        }
        data = fresh;
        coallocated = false;
        count = other.count;
    }
    rows = other.rows;
    cols = other.cols;
    return *this;
}

KoMatrixImplement& KoMatrixImplement::operator=(KoMatrixImplement&& other) {
    if (this == &other || external || other.external || other.coallocated ||
        (coallocated && count == other.count)) {
        // A wrapped buffer is never taken over or given away, and a co-allocated one never
        // leaves its object; a co-allocated target also keeps its own elements when the count
        // stays the same: copy by the assignment rule.
        return *this = static_cast<const KoMatrixImplement&>(other);
    }
    if (!coallocated) {
        delete[] data;
    }
    coallocated = false;
    rows = other.rows;
    cols = other.cols;
    count = other.count;
    data = other.data;
    other.rows = other.cols = other.count = 0;
    other.data = nullptr;
    return *this;
}
