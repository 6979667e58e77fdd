// SPDX-License-Identifier: MIT
// Matrix3x3: the 3 x 3 matrix with closed formulas for the determinant (rule of Sarrus) and the
// inverse (adjugate over determinant), unrolled products with matrices and vectors, powers,
// element-wise arithmetic, RMSE and rounding. Every member reads its fixed-size operands
// through ReadElements, so an object reshaped through a KoMatrix reference reads as zeros and
// is never written past its end.
#include <kocalvix/fixed_matrix.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "fixed/fixed_elements.h"
#include "fixed/fixed_implement.h"
#include "fixed/rounding.h"
#include "matrix/KoMatrixImplement.h"
#include "matrix/power.h"

using kocalvix::fixed::FixedImplement;
using kocalvix::fixed::HasFixedShape;
using kocalvix::fixed::HasFixedSize;
using kocalvix::fixed::NewFixedImplement;
using kocalvix::fixed::NewMatrix;
using kocalvix::fixed::NewUninitialised;
using kocalvix::fixed::NewVector;
using kocalvix::fixed::ReadElements;

namespace {

// c = a * b for row-major 3 x 3 buffers, cij = (ai0 * b0j + ai1 * b1j) + ai2 * b2j. The
// product is formed in a local array first, so `c` may alias a or b, and the compiler need not
// reload the operands after every store.
void Multiply(const double* a, const double* b, double* c) {
    double product[9];
    for (int i = 0; i < 3; ++i) {
        const double* row = a + 3 * i;
        for (int j = 0; j < 3; ++j) {
            product[3 * i + j] = row[0] * b[j] + row[1] * b[3 + j] + row[2] * b[6 + j];
        }
    }
    std::memcpy(c, product, sizeof(product));
}

// Writes diag(d0, d1, d2) over all nine elements of `a`.
void WriteDiagonal(const double* d, double* a) {
    std::fill(a, a + 9, 0.0);
    a[0] = d[0];
    a[4] = d[1];
    a[8] = d[2];
}

// The extreme of the nine elements: element k replaces the running value only when
// beats(a[k], running) holds, so the first of equal extremes wins and a NaN never replaces.
// `index` receives its position.
template <typename Beats>
double FirstExtreme(const double* a, int& index, Beats beats) {
    double m = a[0];
    index = 0;
    for (int k = 1; k < 9; ++k) {
        if (beats(a[k], m)) {
            m = a[k];
            index = k;
        }
    }
    return m;
}

}  // namespace

// ---- Construction and assignment -------------------------------------------------------------

Matrix3x3::Matrix3x3() : KoMatrix(NewFixedImplement<3, 3>()) {}

Matrix3x3::Matrix3x3(const Matrix3x3& other)
    : KoMatrix(NewFixedImplement<3, 3>(ReadElements<9>(*other.impl))) {}

Matrix3x3::Matrix3x3(double* p)
    : KoMatrix(p != nullptr ? NewFixedImplement<3, 3>(p) : NewFixedImplement<3, 3>()) {}

Matrix3x3::Matrix3x3(const double& a0, const double& a1, const double& a2, const double& a3,
                     const double& a4, const double& a5, const double& a6, const double& a7,
                     const double& a8)
    : KoMatrix(NewUninitialised<3, 3>()) {
    double* a = impl->data;
    a[0] = a0;
    a[1] = a1;
    a[2] = a2;
    a[3] = a3;
    a[4] = a4;
    a[5] = a5;
    a[6] = a6;
    a[7] = a7;
    a[8] = a8;
}

Matrix3x3::Matrix3x3(std::vector<double>& v) : KoMatrix(NewFixedImplement<3, 3>()) {
    // A shorter vector leaves the missing elements at 0.0.
    const std::size_t n = std::min<std::size_t>(v.size(), 9);
    std::copy(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n), impl->data);
}

Matrix3x3::Matrix3x3(const Matrix3x1& d) : KoMatrix(NewUninitialised<3, 3>()) {
    WriteDiagonal(ReadElements<3>(*d.impl), impl->data);
}

Matrix3x3 Matrix3x3::Identity() {
    static const double ones[3] = {1.0, 1.0, 1.0};
    FixedImplement* identity = NewUninitialised<3, 3>();
    WriteDiagonal(ones, identity->values);
    return Matrix3x3(identity, Adopt{});
}

const Matrix3x3& Matrix3x3::DiagFrom(const Matrix3x1& d) {
    const double* v = ReadElements<3>(*d.impl);
    const double diagonal[3] = {v[0], v[1], v[2]};
    if (!HasFixedShape<3, 3>(*impl)) {
        // Reshaped through the base class: take the fixed shape back (never a wrapped buffer).
        *impl = KoMatrixImplement(3, 3);
    }
    WriteDiagonal(diagonal, impl->data);
    return *this;
}

Matrix3x3& Matrix3x3::operator=(const Matrix3x3& other) {
    const double* o = ReadElements<9>(*other.impl);
    if (HasFixedShape<3, 3>(*impl)) {
        if (o != impl->data) {  // self-assignment changes nothing
            std::memcpy(impl->data, o, 9 * sizeof(double));
        }
    } else {
        // Reshaped through the base class: take the fixed shape back (never a wrapped buffer).
        *impl = KoMatrixImplement(3, 3, o);
    }
    return *this;
}

// ---- Comparison --------------------------------------------------------------------------------

bool Matrix3x3::operator==(const Matrix3x3& other) const {
    return !(*this != other);
}

bool Matrix3x3::operator!=(const Matrix3x3& other) const {
    const double* a = ReadElements<9>(*impl);
    const double* b = ReadElements<9>(*other.impl);
    for (int k = 0; k < 9; ++k) {
        if (a[k] != b[k]) {
            return true;
        }
    }
    return false;
}

// ---- Extremes ----------------------------------------------------------------------------------

double Matrix3x3::Max(int& index) const {
    if (!HasFixedSize<9>(*impl)) {
        return KoMatrix::Max(index);
    }
    return FirstExtreme(impl->data, index, [](double a, double b) { return a > b; });
}

double Matrix3x3::Max() const {
    if (!HasFixedSize<9>(*impl)) {
        return KoMatrix::Max();
    }
    int index = 0;
    return FirstExtreme(impl->data, index, [](double a, double b) { return a > b; });
}

double Matrix3x3::Min(int& index) const {
    if (!HasFixedSize<9>(*impl)) {
        return KoMatrix::Min(index);
    }
    return FirstExtreme(impl->data, index, [](double a, double b) { return a < b; });
}

double Matrix3x3::Min() const {
    if (!HasFixedSize<9>(*impl)) {
        return KoMatrix::Min();
    }
    int index = 0;
    return FirstExtreme(impl->data, index, [](double a, double b) { return a < b; });
}

// ---- Determinant, inverse, transpose -----------------------------------------------------------

double Matrix3x3::Det() const {
    if (!HasFixedSize<9>(*impl)) {
        return KoMatrix::Det();
    }
    const double* a = ReadElements<9>(*impl);
    return ((a[0] * a[4] * a[8] + a[3] * a[7] * a[2]) + a[5] * a[6] * a[1]) - a[4] * a[2] * a[6] -
           a[1] * a[3] * a[8] - a[0] * a[7] * a[5];
}

Matrix3x3 Matrix3x3::Inv() const {
    const double d = Det();  // virtual: a derived determinant decides the path
    if (d == 0.0) {
        // Singular: the general (pseudo-)inverse, its first nine elements row by row.
        const KoMatrix general = KoMatrix::Inv();
        Matrix3x3 result;
        const int n = std::min(general.ElementNum(), 9);
        for (int k = 0; k < n; ++k) {
            result.impl->data[k] = general[k];
        }
        return result;
    }
    // The adjugate (transposed cofactors), each element divided by d: the same quotients as
    // adjugate / d, built in the one result buffer.
    const double* a = ReadElements<9>(*impl);
    const double adjugate[9] = {
        a[8] * a[4] - a[5] * a[7], a[2] * a[7] - a[8] * a[1], a[5] * a[1] - a[2] * a[4],
        a[5] * a[6] - a[8] * a[3], a[8] * a[0] - a[2] * a[6], a[2] * a[3] - a[5] * a[0],
        a[7] * a[3] - a[6] * a[4], a[6] * a[1] - a[7] * a[0], a[0] * a[4] - a[1] * a[3]};
    return Matrix3x3(NewMatrix([&](int k) { return adjugate[k] / d; }), Adopt{});
}

Matrix3x3 Matrix3x3::Transpose() const {
    static const int kTransposed[9] = {0, 3, 6, 1, 4, 7, 2, 5, 8};
    const double* a = ReadElements<9>(*impl);
    return Matrix3x3(NewMatrix([a](int k) { return a[kTransposed[k]]; }), Adopt{});
}

// ---- Products and powers -----------------------------------------------------------------------

Matrix3x3 Matrix3x3::operator*(const Matrix3x3& B) const {
    FixedImplement* product = NewUninitialised<3, 3>();
    Multiply(ReadElements<9>(*impl), ReadElements<9>(*B.impl), product->values);
    return Matrix3x3(product, Adopt{});
}

Matrix3x3& Matrix3x3::operator*=(const Matrix3x3& B) {
    if (HasFixedSize<9>(*impl)) {
        // Multiply reads both operands before it writes, so B may be *this itself.
        Multiply(impl->data, ReadElements<9>(*B.impl), impl->data);
    }
    return *this;
}

Matrix3x1 Matrix3x3::operator*(const Matrix3x1& x) const {
    const double* a = ReadElements<9>(*impl);
    const double* v = ReadElements<3>(*x.impl);
    return Matrix3x1(
        NewVector(a[0] * v[0] + a[1] * v[1] + a[2] * v[2], a[3] * v[0] + a[4] * v[1] + a[5] * v[2],
                  a[6] * v[0] + a[7] * v[1] + a[8] * v[2]),
        Adopt{});
}

KoMatrix Matrix3x3::operator*(const KoMatrix& M) const {
    // The general product does not modify its left operand, so *this serves as its own copy.
    return KoMatrix::operator*(M);
}

Matrix3x3& Matrix3x3::operator^=(const int& n) {
    if (n > 1) {
        const Matrix3x3 S(*this);
        for (int i = 1; i < n; ++i) {
            *this *= S;
        }
    }
    return *this;
}

Matrix3x3 Matrix3x3::operator^(const int& n) const {
    Matrix3x3 result(*this);
    result ^= n;
    return result;
}

// ---- Element-wise arithmetic -------------------------------------------------------------------

Matrix3x3& Matrix3x3::operator+=(const Matrix3x3& B) {
    if (HasFixedSize<9>(*impl)) {
        const double* b = ReadElements<9>(*B.impl);
        double* a = impl->data;
        for (int k = 0; k < 9; ++k) {
            a[k] = a[k] + b[k];
        }
    }
    return *this;
}

Matrix3x3& Matrix3x3::operator-=(const Matrix3x3& B) {
    if (HasFixedSize<9>(*impl)) {
        const double* b = ReadElements<9>(*B.impl);
        double* a = impl->data;
        for (int k = 0; k < 9; ++k) {
            a[k] = a[k] - b[k];
        }
    }
    return *this;
}

Matrix3x3 Matrix3x3::operator+(const Matrix3x3& B) const {
    const double* a = ReadElements<9>(*impl);
    const double* b = ReadElements<9>(*B.impl);
    return Matrix3x3(NewMatrix([a, b](int k) { return a[k] + b[k]; }), Adopt{});
}

Matrix3x3 Matrix3x3::operator-(const Matrix3x3& B) const {
    const double* a = ReadElements<9>(*impl);
    const double* b = ReadElements<9>(*B.impl);
    return Matrix3x3(NewMatrix([a, b](int k) { return a[k] - b[k]; }), Adopt{});
}

Matrix3x3& Matrix3x3::operator+=(const double& s) {
    if (HasFixedSize<9>(*impl)) {
        const double v = s;
        double* a = impl->data;
        for (int k = 0; k < 9; ++k) {
            a[k] = a[k] + v;
        }
    }
    return *this;
}

Matrix3x3& Matrix3x3::operator-=(const double& s) {
    if (HasFixedSize<9>(*impl)) {
        const double v = s;
        double* a = impl->data;
        for (int k = 0; k < 9; ++k) {
            a[k] = a[k] - v;
        }
    }
    return *this;
}

Matrix3x3& Matrix3x3::operator*=(const double& s) {
    if (HasFixedSize<9>(*impl)) {
        const double v = s;
        double* a = impl->data;
        for (int k = 0; k < 9; ++k) {
            a[k] = a[k] * v;
        }
    }
    return *this;
}

Matrix3x3& Matrix3x3::operator/=(const double& s) {
    if (HasFixedSize<9>(*impl)) {
        const double v = s;
        double* a = impl->data;
        for (int k = 0; k < 9; ++k) {
            a[k] = a[k] / v;
        }
    }
    return *this;
}

Matrix3x3 Matrix3x3::operator+(const double& s) const {
    const double* a = ReadElements<9>(*impl);
    return Matrix3x3(NewMatrix([a, s](int k) { return a[k] + s; }), Adopt{});
}

Matrix3x3 Matrix3x3::operator-(const double& s) const {
    const double* a = ReadElements<9>(*impl);
    return Matrix3x3(NewMatrix([a, s](int k) { return a[k] - s; }), Adopt{});
}

Matrix3x3 Matrix3x3::operator*(const double& s) const {
    const double* a = ReadElements<9>(*impl);
    return Matrix3x3(NewMatrix([a, s](int k) { return a[k] * s; }), Adopt{});
}

Matrix3x3 Matrix3x3::operator/(const double& s) const {
    const double* a = ReadElements<9>(*impl);
    return Matrix3x3(NewMatrix([a, s](int k) { return a[k] / s; }), Adopt{});
}

Matrix3x3 Matrix3x3::HadamardProduct(const Matrix3x3& B) {
    const double* a = ReadElements<9>(*impl);
    const double* b = ReadElements<9>(*B.impl);
    return Matrix3x3(NewMatrix([a, b](int k) { return a[k] * b[k]; }), Adopt{});
}

Matrix3x3 Matrix3x3::HadamardDivision(const Matrix3x3& B) {
    const double* a = ReadElements<9>(*impl);
    const double* b = ReadElements<9>(*B.impl);
    return Matrix3x3(NewMatrix([a, b](int k) { return a[k] / b[k]; }), Adopt{});
}

Matrix3x3 Matrix3x3::HadamardPower(const int& n) {
    return HadamardPower(static_cast<double>(n));
}

Matrix3x3 Matrix3x3::HadamardPower(const double& p) {
    const double* a = ReadElements<9>(*impl);
    return Matrix3x3(NewMatrix([a, p](int k) { return kocalvix::Power(a[k], p); }), Adopt{});
}

// ---- Statistics and rounding -------------------------------------------------------------------

double Matrix3x3::RMSE(const Matrix3x3& B) {
    const double* a = ReadElements<9>(*impl);
    const double* b = ReadElements<9>(*B.impl);
    double sum = kocalvix::Power(a[1] - b[1], 2.0) + kocalvix::Power(a[0] - b[0], 2.0);
    for (int k = 2; k < 9; ++k) {
        sum = sum + kocalvix::Power(a[k] - b[k], 2.0);
    }
    return std::sqrt(sum / 9.0);
}

Matrix3x3 Matrix3x3::Rounding(const int& digits) const {
    const double* a = ReadElements<9>(*impl);
    return Matrix3x3(
        NewMatrix([a, digits](int k) { return kocalvix::fixed::RoundToDecimals(a[k], digits); }),
        Adopt{});
}
