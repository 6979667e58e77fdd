// SPDX-License-Identifier: MIT
// The free operators of Matrix3x1 and Matrix3x3: a scalar on the left and negation. The copies
// taken first always have the fixed shape (a reshaped operand copies as zeros).
#include <kocalvix/fixed_matrix.h>

namespace {

// Replaces every element x of the fixed-size copy `m` by f(x).
template <typename Fixed, typename Op>
Fixed Map(Fixed m, Op f) {
    for (double& x : m) {
        x = f(x);
    }
    return m;
}

}  // namespace

Matrix3x1 operator*(const double& s, const Matrix3x1& v) {
    return v * s;
}

Matrix3x1 operator+(const double& s, const Matrix3x1& v) {
    return v + s;
}

Matrix3x1 operator-(const double& s, const Matrix3x1& v) {
    return Map(v, [&s](double x) { return s - x; });
}

Matrix3x1 operator-(const Matrix3x1& v) {
    return Map(v, [](double x) { return -x; });
}

Matrix3x3 operator*(const double& s, const Matrix3x3& A) {
    return A * s;
}

Matrix3x3 operator+(const double& s, const Matrix3x3& A) {
    return A + s;
}

Matrix3x3 operator-(const double& s, const Matrix3x3& A) {
    return Map(A, [&s](double x) { return s - x; });
}

Matrix3x3 operator-(const Matrix3x3& A) {
    return Map(A, [](double x) { return -x; });
}
