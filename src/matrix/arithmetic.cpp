// SPDX-License-Identifier: MIT
// Element-wise arithmetic, comparison and the element queries (trace, extremes) of KoMatrix.
// Every operation is one pass over the flat buffer in row-major order.
#include <cmath>
#include <limits>

#include "matrix/KoMatrixImplement.h"
#include "matrix/power.h"

namespace {

constexpr double kZeroBand = 1e-11;

// result[k] = op(a[k], b[k]) over the common shape; a copy of `a` when the shapes differ.
template <typename Op>
KoMatrixImplement ElementWise(const KoMatrixImplement& a, const KoMatrixImplement& b, Op op) {
    KoMatrixImplement result(a);
    if (a.IsSameDimension(b)) {
        for (int k = 0; k < a.count; ++k) {
            result.data[k] = op(a.data[k], b.data[k]);
        }
    }
    return result;
}

// result[k] = op(a[k]).
template <typename Op>
KoMatrixImplement ElementWise(const KoMatrixImplement& a, Op op) {
    KoMatrixImplement result(a.rows, a.cols);
    for (int k = 0; k < a.count; ++k) {
        result.data[k] = op(a.data[k]);
    }
    return result;
}

// a[k] = op(a[k]) in place.
template <typename Op>
void InPlace(KoMatrixImplement& a, Op op) {
    for (int k = 0; k < a.count; ++k) {
        a.data[k] = op(a.data[k]);
    }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

// ---- KoMatrixImplement ---------------------------------------------------------------------

void KoMatrixImplement::operator+=(const KoMatrixImplement& other) {
    if (IsSameDimension(other)) {
        for (int k = 0; k < count; ++k) {
            data[k] = data[k] + other.data[k];
        }
    }
}

void KoMatrixImplement::operator-=(const KoMatrixImplement& other) {
    if (IsSameDimension(other)) {
        for (int k = 0; k < count; ++k) {
            data[k] = data[k] - other.data[k];
        }
    }
}

void KoMatrixImplement::operator+=(const double& s) {
    const double v = s;
    InPlace(*this, [v](double x) { return x + v; });
}

void KoMatrixImplement::operator-=(const double& s) {
    const double v = s;
    InPlace(*this, [v](double x) { return x - v; });
}

void KoMatrixImplement::operator*=(const double& s) {
    const double v = s;
    InPlace(*this, [v](double x) { return x * v; });
}

void KoMatrixImplement::operator/=(const double& s) {
    const double v = s;
    InPlace(*this, [v](double x) { return x / v; });
}

void KoMatrixImplement::SmallElementToZero() {
    InPlace(*this, [](double x) { return (kZeroBand > x && x > -kZeroBand) ? 0.0 : x; });
}

KoMatrixImplement KoMatrixImplement::operator+(const KoMatrixImplement& other) const {
    return ElementWise(*this, other, [](double a, double b) { return b + a; });
}

KoMatrixImplement KoMatrixImplement::operator-(const KoMatrixImplement& other) const {
    return ElementWise(*this, other, [](double a, double b) { return a - b; });
}

KoMatrixImplement KoMatrixImplement::HadamardProduct(const KoMatrixImplement& other) const {
    return ElementWise(*this, other, [](double a, double b) { return a * b; });
}

KoMatrixImplement KoMatrixImplement::HadamardDivision(const KoMatrixImplement& other) const {
    return ElementWise(*this, other, [](double a, double b) { return a / b; });
}

KoMatrixImplement KoMatrixImplement::operator+(const double& s) const {
    const double v = s;
    return ElementWise(*this, [v](double x) { return x + v; });
}

KoMatrixImplement KoMatrixImplement::operator-(const double& s) const {
    const double v = s;
    return ElementWise(*this, [v](double x) { return x - v; });
}

KoMatrixImplement KoMatrixImplement::operator*(const double& s) const {
    const double v = s;
    return ElementWise(*this, [v](double x) { return x * v; });
}

KoMatrixImplement KoMatrixImplement::operator/(const double& s) const {
    const double v = s;
    return ElementWise(*this, [v](double x) { return x / v; });
}

KoMatrixImplement KoMatrixImplement::HadamardPower(const double& p) const {
    const double v = p;
    return ElementWise(*this, [v](double x) { return kocalvix::Power(x, v); });
}

bool KoMatrixImplement::operator==(const KoMatrixImplement& other) const {
    if (!IsSameDimension(other)) {
        return false;
    }
    for (int k = 0; k < count; ++k) {
        if (!(data[k] == other.data[k])) {
            return false;
        }
    }
    return true;
}

double KoMatrixImplement::Trace() const {
    double sum = 0.0;
    if (rows == cols) {
        for (int i = 0; i < rows; ++i) {
            sum += data[(rows + 1) * i];
        }
    }
    return sum;
}

double KoMatrixImplement::Max(int& index) const {
    if (count == 0) {
        index = -1;
        return kNaN;
    }
    index = 0;
    double best = data[0];
    for (int k = 1; k < count; ++k) {
        if (data[k] > best) {
            best = data[k];
            index = k;
        }
    }
    return best;
}

double KoMatrixImplement::Max() const {
    if (count == 0) {
        return kNaN;
    }
    double best = data[0];
    for (int k = 1; k < count; ++k) {
        if (!(best > data[k])) {
            best = data[k];
        }
    }
    return best;
}

double KoMatrixImplement::Min(int& index) const {
    if (count == 0) {
        index = -1;
        return kNaN;
    }
    index = 0;
    double best = data[0];
    for (int k = 1; k < count; ++k) {
        if (data[k] < best) {
            best = data[k];
            index = k;
        }
    }
    return best;
}

double KoMatrixImplement::Min() const {
    if (count == 0) {
        return kNaN;
    }
    double best = data[0];
    for (int k = 1; k < count; ++k) {
        if (!(data[k] > best)) {
            best = data[k];
        }
    }
    return best;
}

// ---- KoMatrix forwarders ---------------------------------------------------------------------

const KoMatrix& KoMatrix::operator+=(const KoMatrix& other) {
    *impl += *other.impl;
    return *this;
}

const KoMatrix& KoMatrix::operator-=(const KoMatrix& other) {
    *impl -= *other.impl;
    return *this;
}

const KoMatrix& KoMatrix::operator+=(const double& s) {
    *impl += s;
    return *this;
}

const KoMatrix& KoMatrix::operator-=(const double& s) {
    *impl -= s;
    return *this;
}

const KoMatrix& KoMatrix::operator*=(const double& s) {
    *impl *= s;
    return *this;
}

const KoMatrix& KoMatrix::operator/=(const double& s) {
    *impl /= s;
    return *this;
}

const KoMatrix& KoMatrix::SmallElementToZero() {
    impl->SmallElementToZero();
    return *this;
}

const KoMatrix KoMatrix::operator+(const KoMatrix& other) const {
    return KoMatrix(*impl + *other.impl);
}

const KoMatrix KoMatrix::operator-(const KoMatrix& other) const {
    return KoMatrix(*impl - *other.impl);
}

const KoMatrix KoMatrix::HadamardProduct(const KoMatrix& other) const {
    return KoMatrix(impl->HadamardProduct(*other.impl));
}

const KoMatrix KoMatrix::HadamardDivision(const KoMatrix& other) const {
    return KoMatrix(impl->HadamardDivision(*other.impl));
}

const KoMatrix KoMatrix::operator+(const double& s) const {
    return KoMatrix(*impl + s);
}

const KoMatrix KoMatrix::operator-(const double& s) const {
    return KoMatrix(*impl - s);
}

const KoMatrix KoMatrix::operator*(const double& s) const {
    return KoMatrix(*impl * s);
}

const KoMatrix KoMatrix::operator/(const double& s) const {
    return KoMatrix(*impl / s);
}

const KoMatrix KoMatrix::HadamardPower(const int& n) const {
    return KoMatrix(impl->HadamardPower(static_cast<double>(n)));
}

const KoMatrix KoMatrix::HadamardPower(const double& p) const {
    return KoMatrix(impl->HadamardPower(p));
}

bool KoMatrix::operator==(const KoMatrix& other) const {
    return *impl == *other.impl;
}

bool KoMatrix::operator!=(const KoMatrix& other) const {
    return !(*impl == *other.impl);
}

bool KoMatrix::IsSameDimension(const KoMatrix& other) const {
    return impl->IsSameDimension(*other.impl);
}

double KoMatrix::Trace() const {
    return impl->Trace();
}

double KoMatrix::Max(int& index) const {
    return impl->Max(index);
}

double KoMatrix::Max() const {
    return impl->Max();
}

double KoMatrix::Min(int& index) const {
    return impl->Min(index);
}

double KoMatrix::Min() const {
    return impl->Min();
}
