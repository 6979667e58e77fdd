// SPDX-License-Identifier: MIT
// Matrix3x1: the three-element column vector with unrolled element-wise operators, extremes,
// RMSE and rounding. Every member reads its operands through ReadElements, so an object that
// was reshaped through a KoMatrix reference reads as zeros and is never written past its end.
#include <kocalvix/fixed_matrix.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "fixed/fixed_elements.h"
#include "fixed/fixed_implement.h"
#include "fixed/rounding.h"
#include "matrix/KoMatrixImplement.h"
#include "matrix/power.h"

using kocalvix::fixed::HasFixedShape;
using kocalvix::fixed::HasFixedSize;
using kocalvix::fixed::NewFixedImplement;
using kocalvix::fixed::NewVector;
using kocalvix::fixed::ReadElements;

// ---- Construction and assignment -------------------------------------------------------------

Matrix3x1::Matrix3x1() : KoMatrix(NewFixedImplement<3, 1>()) {}

Matrix3x1::Matrix3x1(const Matrix3x1& other)
    : KoMatrix(NewFixedImplement<3, 1>(ReadElements<3>(*other.impl))) {}

Matrix3x1::Matrix3x1(const double& a, const double& b, const double& c)
    : KoMatrix(NewVector(a, b, c)) {}

Matrix3x1::Matrix3x1(std::vector<double>& v) : KoMatrix(NewFixedImplement<3, 1>()) {
    // A shorter vector leaves the missing elements at 0.0.
    const std::size_t n = std::min<std::size_t>(v.size(), 3);
    std::copy(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n), impl->data);
}

Matrix3x1& Matrix3x1::operator=(const Matrix3x1& other) {
    const double* o = ReadElements<3>(*other.impl);
    if (HasFixedShape<3, 1>(*impl)) {
        double* e = impl->data;
        e[0] = o[0];
        e[1] = o[1];
        e[2] = o[2];
    } else {
        // Reshaped through the base class: take the fixed shape back. A Matrix3x1 never wraps
        // a caller's buffer, so the assignment always takes the new shape.
        *impl = KoMatrixImplement(3, 1, o);
    }
    return *this;
}

// ---- Comparison --------------------------------------------------------------------------------

bool Matrix3x1::operator==(const Matrix3x1& other) const {
    const double* e = ReadElements<3>(*impl);
    const double* o = ReadElements<3>(*other.impl);
    return e[0] == o[0] && e[1] == o[1] && e[2] == o[2];
}

bool Matrix3x1::operator!=(const Matrix3x1& other) const {
    const double* e = ReadElements<3>(*impl);
    const double* o = ReadElements<3>(*other.impl);
    return e[0] != o[0] || e[1] != o[1] || e[2] != o[2];
}

// ---- Extremes ----------------------------------------------------------------------------------

double Matrix3x1::Max(int& index) const {
    if (!HasFixedSize<3>(*impl)) {
        return KoMatrix::Max(index);
    }
    const double* e = impl->data;
    double m = e[0];
    index = 0;
    if (e[1] > m) {
        m = e[1];
        index = 1;
    }
    if (e[2] > m) {
        m = e[2];
        index = 2;
    }
    return m;
}

double Matrix3x1::Max() const {
    if (!HasFixedSize<3>(*impl)) {
        return KoMatrix::Max();
    }
    const double* e = impl->data;
    const double m = e[1] > e[0] ? e[1] : e[0];
    return e[2] > m ? e[2] : m;
}

double Matrix3x1::Min(int& index) const {
    if (!HasFixedSize<3>(*impl)) {
        return KoMatrix::Min(index);
    }
    const double* e = impl->data;
    double m = e[0];
    index = 0;
    if (e[1] < m) {
        m = e[1];
        index = 1;
    }
    if (e[2] < m) {
        m = e[2];
        index = 2;
    }
    return m;
}

double Matrix3x1::Min() const {
    if (!HasFixedSize<3>(*impl)) {
        return KoMatrix::Min();
    }
    const double* e = impl->data;
    const double m = e[1] < e[0] ? e[1] : e[0];
    return e[2] < m ? e[2] : m;
}

// ---- Element-wise arithmetic -------------------------------------------------------------------

Matrix3x1& Matrix3x1::operator+=(const Matrix3x1& other) {
    if (HasFixedSize<3>(*impl)) {
        const double* o = ReadElements<3>(*other.impl);
        double* e = impl->data;
        e[0] = e[0] + o[0];
        e[1] = e[1] + o[1];
        e[2] = e[2] + o[2];
    }
    return *this;
}

Matrix3x1& Matrix3x1::operator-=(const Matrix3x1& other) {
    if (HasFixedSize<3>(*impl)) {
        const double* o = ReadElements<3>(*other.impl);
        double* e = impl->data;
        e[0] = e[0] - o[0];
        e[1] = e[1] - o[1];
        e[2] = e[2] - o[2];
    }
    return *this;
}

Matrix3x1 Matrix3x1::operator+(const Matrix3x1& other) const {
    const double* e = ReadElements<3>(*impl);
    const double* o = ReadElements<3>(*other.impl);
    return Matrix3x1(NewVector(e[0] + o[0], e[1] + o[1], e[2] + o[2]), Adopt{});
}

Matrix3x1 Matrix3x1::operator-(const Matrix3x1& other) const {
    const double* e = ReadElements<3>(*impl);
    const double* o = ReadElements<3>(*other.impl);
    return Matrix3x1(NewVector(e[0] - o[0], e[1] - o[1], e[2] - o[2]), Adopt{});
}

Matrix3x1& Matrix3x1::operator+=(const double& s) {
    if (HasFixedSize<3>(*impl)) {
        const double v = s;
        double* e = impl->data;
        e[0] = e[0] + v;
        e[1] = e[1] + v;
        e[2] = e[2] + v;
    }
    return *this;
}

Matrix3x1& Matrix3x1::operator-=(const double& s) {
    if (HasFixedSize<3>(*impl)) {
        const double v = s;
        double* e = impl->data;
        e[0] = e[0] - v;
        e[1] = e[1] - v;
        e[2] = e[2] - v;
    }
    return *this;
}

Matrix3x1& Matrix3x1::operator*=(const double& s) {
    if (HasFixedSize<3>(*impl)) {
        const double v = s;
        double* e = impl->data;
        e[0] = e[0] * v;
        e[1] = e[1] * v;
        e[2] = e[2] * v;
    }
    return *this;
}

Matrix3x1& Matrix3x1::operator/=(const double& s) {
    if (HasFixedSize<3>(*impl)) {
        const double v = s;
        double* e = impl->data;
        e[0] = e[0] / v;
        e[1] = e[1] / v;
        e[2] = e[2] / v;
    }
    return *this;
}

Matrix3x1 Matrix3x1::operator+(const double& s) const {
    const double* e = ReadElements<3>(*impl);
    return Matrix3x1(NewVector(e[0] + s, e[1] + s, e[2] + s), Adopt{});
}

Matrix3x1 Matrix3x1::operator-(const double& s) const {
    const double* e = ReadElements<3>(*impl);
    return Matrix3x1(NewVector(e[0] - s, e[1] - s, e[2] - s), Adopt{});
}

Matrix3x1 Matrix3x1::operator*(const double& s) const {
    const double* e = ReadElements<3>(*impl);
    return Matrix3x1(NewVector(e[0] * s, e[1] * s, e[2] * s), Adopt{});
}

Matrix3x1 Matrix3x1::operator/(const double& s) const {
    const double* e = ReadElements<3>(*impl);
    return Matrix3x1(NewVector(e[0] / s, e[1] / s, e[2] / s), Adopt{});
}

Matrix3x1 Matrix3x1::HadamardProduct(const Matrix3x1& other) {
    const double* e = ReadElements<3>(*impl);
    const double* o = ReadElements<3>(*other.impl);
    return Matrix3x1(NewVector(e[0] * o[0], e[1] * o[1], e[2] * o[2]), Adopt{});
}

Matrix3x1 Matrix3x1::HadamardDivision(const Matrix3x1& other) {
    const double* e = ReadElements<3>(*impl);
    const double* o = ReadElements<3>(*other.impl);
    return Matrix3x1(NewVector(e[0] / o[0], e[1] / o[1], e[2] / o[2]), Adopt{});
}

Matrix3x1 Matrix3x1::HadamardPower(const int& n) {
    return HadamardPower(static_cast<double>(n));
}

Matrix3x1 Matrix3x1::HadamardPower(const double& p) {
    const double* e = ReadElements<3>(*impl);
    return Matrix3x1(
        NewVector(kocalvix::Power(e[0], p), kocalvix::Power(e[1], p), kocalvix::Power(e[2], p)),
        Adopt{});
}

// ---- Statistics and rounding -------------------------------------------------------------------

double Matrix3x1::RMSE(const Matrix3x1& other) {
    const double* e = ReadElements<3>(*impl);
    const double* o = ReadElements<3>(*other.impl);
    const double sum = (kocalvix::Power(e[1] - o[1], 2.0) + kocalvix::Power(e[0] - o[0], 2.0)) +
                       kocalvix::Power(e[2] - o[2], 2.0);
    return std::sqrt(sum / 3.0);
}

Matrix3x1 Matrix3x1::Rounding(const int& digits) const {
    using kocalvix::fixed::RoundToDecimals;
    const double* e = ReadElements<3>(*impl);
    return Matrix3x1(NewVector(RoundToDecimals(e[0], digits), RoundToDecimals(e[1], digits),
                               RoundToDecimals(e[2], digits)),
                     Adopt{});
}
